// JSON form of a model.
#include "vxmlib/vxm_json.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::ordered_json;

// The shortest decimal that reads back as the same float. JSON has no NaN or infinity, so
// those become the strings "NaN", "Infinity" and "-Infinity".
json Number(float value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  char text[32];
  for (int digits = 1; digits <= 9; ++digits) {
    snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
    if (strtof(text, nullptr) == value) break;
  }
  return strtod(text, nullptr);
}

json Vector(const VXMVector& v) { return json::array({Number(v.x), Number(v.y), Number(v.z)}); }

// Field bytes up to the terminator, each byte b as the character U+00bb.
std::string Text(const char (&field)[16]) {
  std::string out;
  for (int i = 0; i < 16 && field[i]; ++i) {
    unsigned char c = static_cast<unsigned char>(field[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

json Mesh(const VXMMeshClass& mesh) {
  json vertices = json::array();
  for (uint32_t v = 0; v < mesh.vertex_count; ++v) vertices.push_back(Vector(mesh.vertices[v]));
  json triangles = json::array();
  for (uint32_t t = 0; t < mesh.triangle_count; ++t) {
    const VXMTriangle& tri = mesh.triangles[t];
    triangles.push_back({{"v", {tri.vertex_index[0], tri.vertex_index[1], tri.vertex_index[2]}},
                         {"attr", tri.attribute},
                         {"normal", Vector(tri.normal)},
                         {"distance", Number(tri.distance)}});
  }
  return {{"kind", 0},
          {"name", Text(mesh.name)},
          {"qualifier", Text(mesh.qualifier)},
          {"format", mesh.format},
          {"vertices", std::move(vertices)},
          {"triangles", std::move(triangles)}};
}

}  // namespace

std::string ModelToJson(const VXM& model) {
  json objects = json::array();
  for (int i = 0; i < model.objects.Count(); ++i) {
    const VXMObjectClass* object = model.objects[i];
    if (object->Kind() == 0) {
      objects.push_back(Mesh(*static_cast<const VXMMeshClass*>(object)));
    } else {
      objects.push_back({{"kind", object->Kind()}, {"size", object->BodySize()}});
    }
  }
  return json{{"objects", std::move(objects)}}.dump() + "\n";
}
