#pragma once

#include <cstdint>
#include <vector>

// Dialog templates as plain data: what each window holds, in template order
// (which is also the tab order). Positions and sizes are in dialog units.

enum class ControlKind { Edit, Static, GroupBox, PushButton, CheckBox, ComboBox, Animation };

// Styles of a control; several may be combined.
enum ControlStyle : std::uint32_t {
    kNoStyle = 0,
    kTabStop = 1u << 0,
    kBorder = 1u << 1,
    kReadOnly = 1u << 2,
    kRightAlign = 1u << 3,
    kCentre = 1u << 4,
    kDigitsOnly = 1u << 5,
    kDefaultButton = 1u << 6,
    kAutoHScroll = 1u << 7,
    kFlat = 1u << 8,      // a group box drawn as a plain frame
    kNoPrefix = 1u << 9,  // a static text shows '&' as it is
    kVerticalScroll = 1u << 10,
    kSignedDigits = 1u << 11,  // digits with one leading minus sign
};

struct ControlTemplate {
    int id = -1;  // -1: a control nobody addresses (labels, group boxes)
    ControlKind kind = ControlKind::Static;
    const char* text = "";  // UTF-8
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::uint32_t styles = kNoStyle;
    std::vector<const char*> items;  // a combo box's initial entries
};

// Frame styles of a dialog window.
enum DialogStyle : std::uint32_t {
    kDialogNoStyle = 0,
    kMinimizeBox = 1u << 0,
    kToolWindow = 1u << 1,
    kSystemModal = 1u << 2,  // kept above every other window
};

struct DialogTemplate {
    int id = 0;
    const char* caption = "";
    int width = 0;
    int height = 0;
    const char* font = "MS Sans Serif";
    int pointSize = 8;
    std::uint32_t styles = kDialogNoStyle;
    int menu = 0;  // 0: no menu
    std::vector<ControlTemplate> controls;
};

// The template with that number, or nullptr.
const DialogTemplate* FindDialogTemplate(int id);
