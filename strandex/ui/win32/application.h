// The Windows editor from start to end: prepares the database (category "Default"), initialises
// the common controls, registers TDB_WND, creates the main window, opens path when one is given,
// runs the message loop and unregisters the class. A window that cannot be made is reported
// with the system error line and a message box. Returns 0 in every case.
#pragma once

#include <windows.h>

namespace ui {

// path: UTF-8, or null.
int RunEditor(HINSTANCE instance, const char* path);

}  // namespace ui
