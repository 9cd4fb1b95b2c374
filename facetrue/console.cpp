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
  PrintArgs(false, format, args);
  va_end(args);
}

void ConsoleClass::ErrorPrint(const char* format, ...) {
  ReleaseOwed();
  if (colour) WriteText(true, platform::BeginErrorColour());
  WriteText(true, "facetrue: ");
  va_list args;
  va_start(args, format);
  PrintArgs(true, format, args);
  va_end(args);
  if (colour) WriteText(true, platform::EndErrorColour());
  pause = true;
  failed = true;
}

void ConsoleClass::ReleaseOwed() {
  OwedLines* lines = owed;
  owed = nullptr;
  if (lines) lines->Release();
}

void ConsoleClass::Write(bool error, const char* text, size_t length) {
  if (error) {
    // Both streams may end on one terminal or file: the lines keep the order they were printed in.
    fflush(stdout);
    fwrite(text, 1, length, stderr);
  } else {
    fwrite(text, 1, length, stdout);
  }
}

void ConsoleClass::WriteText(bool error, const char* text) {
  if (progress) progress->Erase();
  if (*text) Write(error, text, strlen(text));
}

void ConsoleClass::PrintArgs(bool error, const char* format, va_list args) {
  char local[1024];
  va_list again;
  va_copy(again, args);
  int length = vsnprintf(local, sizeof local, format, args);
  if (length < 0) {
    va_end(again);
    return;
  }
  if (progress) progress->Erase();
  if (static_cast<size_t>(length) < sizeof local) {
    Write(error, local, static_cast<size_t>(length));
  } else {
    // A long path: format again into a buffer of the right size, or cut the line if there is none.
    char* text = new (std::nothrow) char[static_cast<size_t>(length) + 1];
    if (text) {
      vsnprintf(text, static_cast<size_t>(length) + 1, format, again);
      Write(error, text, static_cast<size_t>(length));
      delete[] text;
    } else {
      Write(error, local, sizeof local - 1);
    }
  }
  va_end(again);
}
