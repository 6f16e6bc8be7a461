#pragma once

// The application: runs the main window modally and ends when it closes.
class CMIVLOApp {
  public:
    // Returns false, so that the program ends as soon as the window has
    // closed.
    bool InitInstance();
};
