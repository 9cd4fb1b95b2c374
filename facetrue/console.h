// ConsoleClass: facetrue's output. Plain lines go out in the current colour; error lines in
// bright red when standard output is a terminal (escape sequences, or the console's text
// attributes on Windows). Both kinds of line set the pause flag that
// makes the program wait for a key before it ends.
#pragma once

#include <cstdarg>
#include <cstddef>

class ConsoleClass {
 public:
  explicit ConsoleClass(bool colour) : colour(colour) {}
  virtual ~ConsoleClass() = default;

  void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Prints in the error colour and sets the pause flag.
  void ErrorPrint(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // Lines that are owed before any other: their holder registers with Owe, and the next print
  // first calls Release (once; the holder registers again when it owes more).
  class OwedLines {
   public:
    virtual void Release() = 0;

   protected:
    ~OwedLines() = default;
  };
  void Owe(OwedLines* lines) { owed = lines; }

  void SetPause() { pause = true; }
  bool Paused() const { return pause; }

 protected:
  // Sends text to standard output.
  virtual void Write(const char* text, size_t length);

 private:
  void PrintArgs(const char* format, va_list args);
  void WriteText(const char* text);
  void ReleaseOwed();

  bool colour;
  bool pause = false;
  OwedLines* owed = nullptr;
};
