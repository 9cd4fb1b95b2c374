// strandex for Windows: the string database editor in plain Win32. An argument names a database
// to open at start, as File, Open would with that file chosen; --help and --version (or /?) print
// and end.
#include <windows.h>
// Needs the types of windows.h.
#include <shellapi.h>

#include <cwchar>

#include "common/platform/process.h"
#include "common/string_class.h"
#include "common/utf8.h"
#include "strandex/start_options.h"
#include "strandex/ui/win32/application.h"

namespace {

// Writes text (ASCII, "\n" line ends) where a console program would: to standard output when
// the program was started with one (a pipe, a file), else to the console of the program that
// started it (a command prompt), else in a message box, since a program started from the
// desktop has no console at all. Line ends become CR LF as on the other programs' output.
bool Print(const char* text) {
  static char buffer[1024];
  int size = 0;
  for (const char* c = text; *c && size < static_cast<int>(sizeof(buffer)) - 2; ++c) {
    if (*c == '\n') buffer[size++] = '\r';
    buffer[size++] = *c;
  }
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  bool own_console = false;
  if ((out == nullptr || out == INVALID_HANDLE_VALUE) && ::AttachConsole(ATTACH_PARENT_PROCESS)) {
    out = ::CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                        0, nullptr);
    own_console = out != INVALID_HANDLE_VALUE;
  }
  if (out != nullptr && out != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    const bool ok = ::WriteFile(out, buffer, static_cast<DWORD>(size), &written, nullptr) &&
                    written == static_cast<DWORD>(size);
    if (own_console) ::CloseHandle(out);
    return ok;
  }
  wchar_t wide[1024];
  int length = 0;
  for (const char* c = text; *c && length < 1023; ++c) wide[length++] = static_cast<unsigned char>(*c);
  wide[length] = L'\0';
  ::MessageBoxW(nullptr, wide, L"strandex", MB_OK | MB_ICONINFORMATION);
  return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  NarrowStringClass path;
  int count = 0;
  const char* text = nullptr;  // what --help or --version prints
  if (wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count)) {
    if (count > 1) {
      const wchar_t* first = arguments[1];
      if (!std::wcscmp(first, L"--help") || !std::wcscmp(first, L"-h") || !std::wcscmp(first, L"/?")) {
        text = strandex::HelpText();
      } else if (!std::wcscmp(first, L"--version")) {
        text = strandex::VersionText();
      } else {
        WideToUtf8(reinterpret_cast<const char16_t*>(first), path);
      }
    }
    ::LocalFree(arguments);
  }
  // Before the closed streams are given the null device: where there is no standard output the
  // text goes to the parent's console or a message box instead.
  if (text) return Print(text) ? 0 : 1;
  platform::OpenClosedStandardStreams();
  return ui::RunEditor(instance, path.IsEmpty() ? nullptr : path.Chars());
}
