// Drawing the progress line.
#include "common/progress_line.h"

#include "common/platform/platform.h"

namespace {

constexpr auto kRedrawEvery = std::chrono::milliseconds(100);

// bytes as "512 B", "12.3 KiB", "4.0 MiB", "1.2 GiB".
std::string Bytes(double bytes) {
  static const char* const kUnits[] = {"B", "KiB", "MiB", "GiB", "TiB"};
  int unit = 0;
  while (bytes >= 1024 && unit < 4) {
    bytes /= 1024;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, unit == 0 ? "%.0f %s" : "%.1f %s", bytes, kUnits[unit]);
  return text;
}

}  // namespace

ProgressLineClass::ProgressLineClass(bool shown, std::FILE* stream) : shown(shown), stream(stream) {
  if (shown) columns = platform::TerminalColumns(platform::kStderr);
  start = std::chrono::steady_clock::now();
}

void ProgressLineClass::SetTotal(int64_t files, int64_t bytes) {
  files_total = files;
  bytes_total = bytes;
}

void ProgressLineClass::Begin(const char* file) {
  if (!shown) return;
  auto now = std::chrono::steady_clock::now();
  if (drawn_once && now - drawn_at < kRedrawEvery) return;
  name = file;
  drawn_at = now;
  drawn_once = true;
  Draw();
}

void ProgressLineClass::Done(int64_t bytes) {
  ++files_done;
  bytes_done += bytes;
}

void ProgressLineClass::Draw() {
  std::string line = std::to_string(files_done) + "/" + std::to_string(files_total) + " files  " +
                     Bytes(static_cast<double>(bytes_done)) + " of " +
                     Bytes(static_cast<double>(bytes_total));
  double seconds = std::chrono::duration<double>(drawn_at - start).count();
  if (seconds >= 0.5) line += "  " + Bytes(static_cast<double>(bytes_done) / seconds) + "/s";
  line += "  ";
  // The end of the name tells the file best; a multi-byte character is not cut.
  size_t room = static_cast<size_t>(columns > 1 ? columns - 1 : 1);
  if (line.size() + name.size() <= room) {
    line += name;
  } else if (line.size() + 3 < room) {
    size_t from = name.size() - (room - line.size() - 3);
    while (from < name.size() && (static_cast<unsigned char>(name[from]) & 0xC0) == 0x80) ++from;
    line += "..." + name.substr(from);
  }
  if (line.size() > room) line.resize(room);
  size_t width = line.size();
  if (width < on_screen) line.append(on_screen - width, ' ');
  std::fputc('\r', stream);
  std::fputs(line.c_str(), stream);
  std::fflush(stream);
  on_screen = width < on_screen ? on_screen : width;
}

void ProgressLineClass::Erase() {
  if (on_screen == 0) return;
  std::fprintf(stream, "\r%*s\r", static_cast<int>(on_screen), "");
  std::fflush(stream);
  on_screen = 0;
}
