// Diagnostic lines to the debugger output.
#include "strandex/ui/win32/debug_output.h"

#include "strandex/ui/win32/win32_text.h"

namespace ui {

void DebugPrint(const char16_t* text) {
  // Formatting cuts at 511 characters, as the diagnostic buffer of 512 does.
  ::OutputDebugStringW(W(UnicodeStringClass::Formatted(u"%s", text).Chars()));
}

UnicodeStringClass SystemErrorLine(DWORD code) {
  wchar_t message[512] = {0};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0x0400, message,
                   512, nullptr);
  return UnicodeStringClass::Formatted(u"ERROR %d: %s", static_cast<int>(code), U(message));
}

void ReportSystemError() { DebugPrint(SystemErrorLine(::GetLastError())); }

}  // namespace ui
