// The part of XmlReaderClass that does not depend on the system's parser.
#include "tdb/exchange/xml_reader.h"

#include <cstring>

namespace {

bool StartsWith(const char* p, const char* end, const char* text) {
  size_t n = strlen(text);
  return static_cast<size_t>(end - p) >= n && memcmp(p, text, n) == 0;
}

// Whether XML 1.0 allows the character c.
bool IsXmlChar(unsigned long c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
         (c >= 0x10000 && c <= 0x10FFFF);
}

// Whether the reference at p ('&') is one of the five entities or a character reference to a
// character XML allows.
bool IsValidReference(const char* p, const char* end) {
  static const char* const kEntities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};
  for (const char* entity : kEntities) {
    if (StartsWith(p, end, entity)) return true;
  }
  if (!StartsWith(p, end, "&#")) return false;
  p += 2;
  bool hex = p < end && *p == 'x';
  if (hex) ++p;
  unsigned long value = 0;
  const char* digits = p;
  for (; p < end && p - digits < 8; ++p) {
    int d = *p >= '0' && *p <= '9'          ? *p - '0'
            : hex && *p >= 'a' && *p <= 'f' ? *p - 'a' + 10
            : hex && *p >= 'A' && *p <= 'F' ? *p - 'A' + 10
                                            : -1;
    if (d < 0) break;
    value = value * (hex ? 16 : 10) + static_cast<unsigned long>(d);
  }
  return p > digits && p < end && *p == ';' && IsXmlChar(value);
}

}  // namespace

bool XmlReaderClass::Prescan(const char* bytes, size_t size) {
  // UTF-16 is left to the parser.
  if (size >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
    return true;
  const char* end = bytes + size;
  int line = 1;
  // Inside a comment, a CDATA section or a processing instruction, the text up to its end is taken
  // as it is.
  const char* until = nullptr;
  for (const char* p = bytes; p < end; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c == '\n') ++line;
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      Fail("a control character that XML does not allow", line);
      return false;
    }
    if (until) {
      if (StartsWith(p, end, until)) {
        p += strlen(until) - 1;
        until = nullptr;
      }
    } else if (c == '<') {
      until = StartsWith(p, end, "<!--")        ? "-->"
              : StartsWith(p, end, "<![CDATA[") ? "]]>"
              : StartsWith(p, end, "<?")        ? "?>"
                                                : nullptr;
      if (StartsWith(p, end, "<!DOCTYPE")) {
        Fail("a DOCTYPE: this reader takes no DTD, and so no entities from one", line);
        return false;
      }
    } else if (c == '&' && !IsValidReference(p, end)) {
      Fail("a reference to an undeclared entity, or to a character XML does not allow", line);
      return false;
    }
  }
  return true;
}

XmlReaderClass::Node XmlReaderClass::Next() {
  if (failed) return Node::kError;
  if (pending_end) {
    pending_end = false;
    Attributes.clear();
    return Node::kEnd;
  }
  return Step();
}

XmlReaderClass::Node XmlReaderClass::Fail(const std::string& reason, int line) {
  failed = true;
  Error = reason;
  Line = line > 0 ? line : 1;
  return Node::kError;
}
