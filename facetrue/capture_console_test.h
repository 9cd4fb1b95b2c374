// Test helper: a console that keeps what is printed instead of writing it out.
#pragma once

#include <string>

#include "facetrue/console.h"

class CaptureConsole : public ConsoleClass {
 public:
  explicit CaptureConsole(bool colour = false) : ConsoleClass(colour) {}
  std::string text;

 protected:
  void Write(const char* bytes, size_t length) override { text.append(bytes, length); }
};
