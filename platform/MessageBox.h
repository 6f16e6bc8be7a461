#pragma once

#include <QString>

// Kinds of message box, as combined flags.
inline constexpr unsigned MB_OK = 0x0000;
inline constexpr unsigned MB_ICONSTOP = 0x0010;
inline constexpr unsigned MB_ICONERROR = MB_ICONSTOP;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
inline constexpr unsigned MB_ICONINFORMATION = 0x0040;

// The caption of the program's own boxes.
inline constexpr const char* kApplicationTitle = "MIVLO";

// Shows a modal box under the program's caption with an "Aceptar" button and
// returns when the user closes it. A box asked for with no icon gets the
// exclamation icon, as every OK-only box of the program does.
int AfxMessageBox(const QString& text, unsigned type = MB_OK);

// The serial driver's error box: caption "Application Error", error icon,
// no owner window.
void ShowApplicationErrorBox(const QString& text);

// An invalid-argument error that ended a handler (a reply too short to read):
// a stop-icon box with the program's text for it.
void ReportInvalidArgument();
