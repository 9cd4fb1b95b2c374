// ConsoleClass: facetrue's output. Plain lines go to standard output in the current colour;
// error lines to standard error, after the program's name, in bright red when standard error is
// a terminal (escape sequences, or the console's text attributes on Windows). Both kinds of line
// set the pause flag that makes the program wait for a key before it ends; error lines also mark
// the run as failed.
#pragma once

#include <cstdarg>
#include <cstddef>

#include "common/progress_line.h"

class ConsoleClass {
 public:
  // colour: error lines get the error colour.
  explicit ConsoleClass(bool colour) : colour(colour) {}
  virtual ~ConsoleClass() = default;

  void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Prints "facetrue: " and the text to standard error in the error colour; sets the pause and
  // failure flags.
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

  // A progress line on the same terminal, erased before each line is written.
  void SetProgress(ProgressLineClass* line) { progress = line; }

  void SetPause() { pause = true; }
  bool Paused() const { return pause; }
  bool Failed() const { return failed; }

 protected:
  // Sends text to standard output (error false) or standard error (error true).
  virtual void Write(bool error, const char* text, size_t length);

 private:
  void PrintArgs(bool error, const char* format, va_list args);
  void WriteText(bool error, const char* text);
  void ReleaseOwed();

  bool colour;
  bool pause = false;
  bool failed = false;
  OwedLines* owed = nullptr;
  ProgressLineClass* progress = nullptr;
};
