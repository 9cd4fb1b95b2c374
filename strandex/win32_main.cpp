// strandex for Windows: the string database editor in plain Win32. An argument names a database
// to open at start, as File, Open would with that file chosen.
#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include "common/platform/process.h"
#include "common/string_class.h"
#include "common/utf8.h"
#include "strandex/ui/win32/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  platform::OpenClosedStandardStreams();
  NarrowStringClass path;
  int count = 0;
  if (wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
    if (count > 1) WideToUtf8(reinterpret_cast<const char16_t*>(arguments[1]), path);
    ::LocalFree(arguments);
  }
  return ui::RunEditor(instance, path.IsEmpty() ? nullptr : path.Chars());
}
