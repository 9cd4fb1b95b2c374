// window_title CLASS SECONDS ENDING: waits up to SECONDS for a top-level window of the window
// class CLASS whose title ends with ENDING, writes the title to standard output in UTF-8 and
// asks the window to close (WM_CLOSE). Exits with 1, naming the last title seen, when none came.
// The installer's test uses it to see that the editor opened the file the association gave it.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

bool EndsWith(const wchar_t* text, const wchar_t* ending) {
  const size_t length = std::wcslen(text), tail = std::wcslen(ending);
  return length >= tail && std::wcscmp(text + length - tail, ending) == 0;
}

void PrintUtf8(FILE* stream, const wchar_t* text) {
  char narrow[2048] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  std::fprintf(stream, "%s\n", narrow);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fputs("usage: window_title CLASS SECONDS ENDING\n", stderr);
    return 2;
  }
  const DWORD wait = static_cast<DWORD>(std::wcstoul(argv[2], nullptr, 10)) * 1000;
  const DWORD start = ::GetTickCount();
  wchar_t title[512] = {};
  for (;;) {
    if (HWND window = ::FindWindowW(argv[1], nullptr)) {
      ::GetWindowTextW(window, title, 512);
      if (EndsWith(title, argv[3])) {
        PrintUtf8(stdout, title);
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
      }
    }
    if (::GetTickCount() - start >= wait) break;
    ::Sleep(100);
  }
  std::fputs("window_title: no such window; last title seen: ", stderr);
  PrintUtf8(stderr, title);
  return 1;
}
