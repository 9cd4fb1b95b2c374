// facetrue's console output.
#include "facetrue/console.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "common/platform/platform.h"

void ConsoleClass::Print(const char* format, ...) {
  ReleaseOwed();
  va_list args;
  va_start(args, format);
  PrintArgs(format, args);
  va_end(args);
}

void ConsoleClass::ErrorPrint(const char* format, ...) {
  ReleaseOwed();
  if (colour) WriteText(platform::BeginErrorColour());
  va_list args;
  va_start(args, format);
  PrintArgs(format, args);
  va_end(args);
  if (colour) WriteText(platform::EndErrorColour());
  pause = true;
}

void ConsoleClass::ReleaseOwed() {
  OwedLines* lines = owed;
  owed = nullptr;
  if (lines) lines->Release();
}

void ConsoleClass::Write(const char* text, size_t length) { fwrite(text, 1, length, stdout); }

void ConsoleClass::WriteText(const char* text) {
  if (*text) Write(text, strlen(text));
}

void ConsoleClass::PrintArgs(const char* format, va_list args) {
  char local[1024];
  va_list again;
  va_copy(again, args);
  int length = vsnprintf(local, sizeof local, format, args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (static_cast<size_t>(length) < sizeof local) {
    Write(local, static_cast<size_t>(length));
  } else {
    // A long path: format again into a buffer of the right size, or cut the line if there is none.
    char* text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (text) {
      vsnprintf(text, static_cast<size_t>(length) + 1, format, again);
      Write(text, static_cast<size_t>(length));
      delete[] text;
    } else {
      Write(local, sizeof local - 1);
    }
  }
  va_end(again);
}
