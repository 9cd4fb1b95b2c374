// The editor's diagnostic lines on Windows: they go to the debugger output
// (OutputDebugStringW), at most 511 characters each. A system error is written as
// "ERROR code: message" with the system's message text for the calling thread's last error.
#pragma once

#include <windows.h>

#include "common/string_class.h"

namespace ui {

void DebugPrint(const char16_t* text);
// "ERROR code: message" for a system error code.
UnicodeStringClass SystemErrorLine(DWORD code);
// Writes the line of the calling thread's last error.
void ReportSystemError();

}  // namespace ui
