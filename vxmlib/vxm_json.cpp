// JSON form of a model, written as it is made.
#include "vxmlib/vxm_json.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

namespace {

constexpr size_t kPieceBytes = 64 * 1024;

// Collects the text in a fixed buffer and hands it on whenever the buffer fills up.
class JsonOut {
 public:
  explicit JsonOut(const std::function<bool(const char*, size_t)>& write) : write(write) {}

  void Bytes(const char* text, size_t size) {
    while (ok && size > 0) {
      size_t n = std::min(size, kPieceBytes - used);
      memcpy(buffer + used, text, n);
      used += n;
      text += n;
      size -= n;
      if (used == kPieceBytes) Flush();
    }
  }
  void Text(const char* text) { Bytes(text, strlen(text)); }
  // printf-style text of up to 127 bytes.
  [[gnu::format(printf, 2, 3)]] void Format(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n > 0) Bytes(text, std::min(static_cast<size_t>(n), sizeof text - 1));
  }

  // The shortest decimal that reads back as the same float, in JSON's number form. JSON has no
  // NaN or infinity, so those become the strings "NaN", "Infinity" and "-Infinity".
  void Number(float value) {
    if (std::isnan(value)) return Text("\"NaN\"");
    if (std::isinf(value)) return Text(value > 0 ? "\"Infinity\"" : "\"-Infinity\"");
    char text[32];
    for (int digits = 1; digits <= 9; ++digits) {
      snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
      if (strtof(text, nullptr) == value) break;
    }
    char number[64];
    char* end = nlohmann::detail::to_chars(number, number + sizeof number, strtod(text, nullptr));
    Bytes(number, static_cast<size_t>(end - number));
  }

  void Vector(const VXMVector& v) {
    Text("[");
    Number(v.x);
    Text(",");
    Number(v.y);
    Text(",");
    Number(v.z);
    Text("]");
  }

  // Field bytes up to the terminator as a JSON string, each byte b as the character U+00bb.
  void Field(const char (&field)[16]) {
    Text("\"");
    for (int i = 0; i < 16 && field[i]; ++i) {
      unsigned char c = static_cast<unsigned char>(field[i]);
      char text[8];
      if (c >= 0x80) {
        text[0] = static_cast<char>(0xC0 | (c >> 6));
        text[1] = static_cast<char>(0x80 | (c & 0x3F));
        Bytes(text, 2);
      } else if (c == '"' || c == '\\') {
        text[0] = '\\';
        text[1] = static_cast<char>(c);
        Bytes(text, 2);
      } else if (c < 0x20) {
        static const char kNamed[] = "btn?fr";  // the escapes of 8 to 13 that JSON names
        if (c >= '\b' && c <= '\r' && c != '\v') {
          text[0] = '\\';
          text[1] = kNamed[c - '\b'];
          Bytes(text, 2);
        } else {
          Bytes(text, static_cast<size_t>(snprintf(text, sizeof text, "\\u%04x", c)));
        }
      } else {
        Bytes(field + i, 1);
      }
    }
    Text("\"");
  }

  bool Flush() {
    if (ok && used > 0) ok = write(buffer, used);
    used = 0;
    return ok;
  }

 private:
  const std::function<bool(const char*, size_t)>& write;
  char buffer[kPieceBytes];
  size_t used = 0;
  bool ok = true;
};

void Mesh(const VXMMeshClass& mesh, JsonOut& out) {
  out.Text("{\"kind\":0,\"name\":");
  out.Field(mesh.name);
  out.Text(",\"qualifier\":");
  out.Field(mesh.qualifier);
  out.Format(",\"format\":%u,\"vertices\":[", mesh.format);
  for (uint32_t v = 0; v < mesh.vertex_count; ++v) {
    if (v > 0) out.Text(",");
    out.Vector(mesh.vertices[v]);
  }
  out.Text("],\"triangles\":[");
  for (uint32_t t = 0; t < mesh.triangle_count; ++t) {
    const VXMTriangle& tri = mesh.triangles[t];
    out.Format("%s{\"v\":[%u,%u,%u],\"attr\":%u,\"normal\":", t > 0 ? "," : "", tri.vertex_index[0],
               tri.vertex_index[1], tri.vertex_index[2], tri.attribute);
    out.Vector(tri.normal);
    out.Text(",\"distance\":");
    out.Number(tri.distance);
    out.Text("}");
  }
  out.Text("]}");
}

}  // namespace

bool WriteModelJson(const VXM& model, const std::function<bool(const char*, size_t)>& write) {
  JsonOut out(write);
  out.Text("{\"objects\":[");
  for (int i = 0; i < model.objects.Count(); ++i) {
    const VXMObjectClass* object = model.objects[i];
    if (i > 0) out.Text(",");
    if (object->Kind() == 0) {
      Mesh(*static_cast<const VXMMeshClass*>(object), out);
    } else {
      out.Format("{\"kind\":%u,\"size\":%" PRIu64 "}", object->Kind(), object->BodySize());
    }
  }
  out.Text("]}\n");
  return out.Flush();
}
