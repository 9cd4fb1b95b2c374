// ProgressLineClass: one line of progress on a terminal, redrawn in place, as long work goes on:
// files and bytes done of the total, the rate, and the file being worked on. It is drawn at the
// first file and then at most ten times a second, so that it costs nothing beside the work, and
// cut to the terminal's width so that it never wraps. It is erased when the work ends and before
// any other line is written to the terminal (Erase); the next update draws it again.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

class ProgressLineClass {
 public:
  // Draws on stream only when shown: the caller passes whether the stream is a terminal that
  // the user did not silence (--quiet).
  ProgressLineClass(bool shown, std::FILE* stream);
  ~ProgressLineClass() { Erase(); }
  ProgressLineClass(const ProgressLineClass&) = delete;
  ProgressLineClass& operator=(const ProgressLineClass&) = delete;

  bool Shown() const { return shown; }
  void SetTotal(int64_t files, int64_t bytes);
  // Work on the file named name begins.
  void Begin(const char* name);
  // The current file is done, with bytes more of the total.
  void Done(int64_t bytes);
  void Erase();

 private:
  void Draw();

  bool shown;
  std::FILE* stream;
  int columns = 80;
  int64_t files_total = 0, bytes_total = 0, files_done = 0, bytes_done = 0;
  std::string name;
  std::chrono::steady_clock::time_point start, drawn_at;
  bool drawn_once = false;
  size_t on_screen = 0;  // characters of the line now on the terminal
};
