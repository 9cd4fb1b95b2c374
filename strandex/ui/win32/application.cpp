// Start-up, message loop and shutdown of the Windows editor.
#include "strandex/ui/win32/application.h"

#include <commctrl.h>

#include "tdb/translate_db.h"
#include "strandex/ui/win32/debug_output.h"
#include "strandex/ui/win32/main_window.h"

namespace ui {

int RunEditor(HINSTANCE instance, const char* path) {
  TranslateDBClass::Initialize();
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0x2F};
  ::InitCommonControlsEx(&controls);
  MainWindowClass::RegisterWindowClass(instance);
  {
    MainWindowClass main(instance);
    if (main.Create()) {
      if (path && *path) main.Editor().OpenPath(path);
      // The Find results window gets its messages here too, without dialog routing.
      MSG message;
      while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
    } else {
      ReportSystemError();
      ::MessageBoxW(nullptr, L"Error creating window.", L"Error", MB_ICONWARNING);
    }
  }
  MainWindowClass::UnregisterWindowClass(instance);
  return 0;
}

}  // namespace ui
