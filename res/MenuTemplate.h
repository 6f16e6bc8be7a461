#pragma once

#include <vector>

// A menu as plain data: its drop-down menus and their items.
struct MenuItemTemplate {
    const char* text = "";  // UTF-8, '&' marks the mnemonic; empty for a separator
    int command = 0;        // 0 for a separator
};

struct PopupTemplate {
    const char* text = "";
    std::vector<MenuItemTemplate> items;
};

struct MenuTemplate {
    int id = 0;
    std::vector<PopupTemplate> popups;
};

// The menu with that number, or nullptr.
const MenuTemplate* FindMenuTemplate(int id);
