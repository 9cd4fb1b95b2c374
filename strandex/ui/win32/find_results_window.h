// The modeless Find results window (dialog 106): a virtual list over the editor's Find results,
// "Clear" and "Close". A double-click on a row shows its string. Its messages come through the
// main message loop without dialog routing.
#pragma once

#include <windows.h>

namespace ui {

class MainWindowClass;

// Creates the window, hidden, owned by the main window; null when it cannot be made.
HWND CreateFindResultsWindow(HINSTANCE instance, MainWindowClass& main);
// Places the window where the main window wants it, shows it and gives its list the focus.
void ShowFindResultsWindow(HWND dialog, MainWindowClass& main);

}  // namespace ui
