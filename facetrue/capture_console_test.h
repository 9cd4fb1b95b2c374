// Test helper: a console that keeps what is printed instead of writing it out, both streams in
// the order printed.
#pragma once

#include <string>

#include "facetrue/console.h"

class CaptureConsole : public ConsoleClass {
 public:
  // Room for every message of a test up front, so that capturing them allocates nothing while
  // a memory sweep runs.
  explicit CaptureConsole(bool colour = false) : ConsoleClass(colour) { text.reserve(4096); }
  std::string text;

 protected:
  void Write(bool, const char* bytes, size_t length) override { text.append(bytes, length); }
};
