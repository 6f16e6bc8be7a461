#pragma once

// Numbers of the program's resources, commands and standard buttons.

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_MIVLO_DIALOG = 102;
inline constexpr int IDD_CONFIGURA = 103;
inline constexpr int IDD_CORRIGE = 104;
inline constexpr int IDD_CARTESDUCIEL = 106;
inline constexpr int IDR_MENU = 129;
inline constexpr int IDR_MAINFRAME = 131;

inline constexpr int IDM_ABOUTBOX = 0x0010;
inline constexpr int ID_CONFIGURACION_TELESCOPIO = 32771;
inline constexpr int ID_HERRAMIENTAS_CORREGIR = 32772;
inline constexpr int ID_HERRAMIENTAS_CORREGIRALINEACION = 32773;
inline constexpr int ID_AYUDA_AYUDA = 32774;
inline constexpr int ID_AYUDA_ACERCADE = 32775;
inline constexpr int ID_HERRAMIENTAS_CARTESDUCIEL = 32776;

// The framework's validation prompts, kept in the string table.
inline constexpr int AFX_IDP_PARSE_INT = 0xF110;
inline constexpr int AFX_IDP_PARSE_INT_RANGE = 0xF111;

// System commands of the window menu.
inline constexpr int SC_MINIMIZE = 0xF020;
inline constexpr int SC_CLOSE = 0xF060;
