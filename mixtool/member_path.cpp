// Checking member names before they become paths.
#include "mixtool/member_path.h"

#include <cstdio>
#include <cstring>

namespace {

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

// Whether the component (count bytes) is a device name of Windows, with or without extension.
bool IsDeviceName(const char* component, size_t count) {
  const char* dot = static_cast<const char*>(memchr(component, '.', count));
  size_t stem = dot ? static_cast<size_t>(dot - component) : count;
  char upper[5] = {};
  if (stem < 3 || stem > 4) return false;
  for (size_t i = 0; i < stem; ++i) upper[i] = Upper(component[i]);
  if (stem == 3) {
    return strcmp(upper, "CON") == 0 || strcmp(upper, "PRN") == 0 || strcmp(upper, "AUX") == 0 ||
           strcmp(upper, "NUL") == 0;
  }
  return (memcmp(upper, "COM", 3) == 0 || memcmp(upper, "LPT", 3) == 0) && upper[3] >= '1' && upper[3] <= '9';
}

const char* CheckComponent(const char* component, size_t count, bool windows) {
  if (count == 0) return "an empty folder name (two separators in a row, or one at the end)";
  if ((count == 1 && component[0] == '.') || (count == 2 && component[0] == '.' && component[1] == '.'))
    return "a . or .. part would leave the folder";
  if (!windows) return nullptr;
  if (component[count - 1] == '.' || component[count - 1] == ' ')
    return "a part that ends in a dot or a space, which Windows drops";
  if (IsDeviceName(component, count)) return "a device name of Windows";
  return nullptr;
}

}  // namespace

const char* MemberPath(const char* name, char separator, bool windows, std::string* path) {
  path->clear();
  if (*name == 0) return "an empty name";
  if (*name == '\\' || *name == '/') return "a leading backslash would start at the top of the drive";
  for (const char* p = name; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == 0x7F) return "a control character";
    if (c == ':') return "a colon (a drive letter or a stream name)";
    if (windows && strchr("<>\"|?*", c)) return "a character that Windows does not allow in names";
  }
  for (const char* start = name;;) {
    size_t count = strcspn(start, "\\/");
    if (const char* reason = CheckComponent(start, count, windows)) {
      path->clear();
      return reason;
    }
    path->append(start, count);
    if (start[count] == 0) return nullptr;
    *path += separator;
    start += count + 1;
  }
}

std::string ShownName(const char* name) {
  std::string shown;
  for (const char* p = name; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\x%02X", c);
      shown += escaped;
    } else {
      shown += *p;
    }
  }
  return shown;
}
