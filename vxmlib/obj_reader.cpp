// Wavefront OBJ reading for vxmtool.
#include "vxmlib/obj_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

// The most corners one face may have, so that what one line costs while it is read stays
// bounded (a few megabytes), however long the line.
constexpr size_t kMaxFaceCorners = 65536;

struct Section {
  std::string name;
  std::vector<int64_t> corners;  // vertex numbers, three per triangle, 0-based once resolved
  std::vector<int> lines;        // the line of each triangle, for messages
};

std::string_view Trim(std::string_view text) {
  size_t start = text.find_first_not_of(" \t\r");
  if (start == std::string_view::npos) return {};
  size_t end = text.find_last_not_of(" \t\r");
  return text.substr(start, end - start + 1);
}

// Splits at spaces and tabs, up to limit words.
std::vector<std::string> Words(std::string_view text, size_t limit) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size() && words.size() < limit) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) words.emplace_back(text.substr(start, i - start));
  }
  return words;
}

bool ParseFloat(const std::string& word, float* value) {
  char* end = nullptr;
  errno = 0;
  *value = strtof(word.c_str(), &end);
  return end != word.c_str() && *end == 0;
}

// The vertex number of a face corner ("i", "i/t", "i/t/n" or "i//n"), 1-based or negative.
bool ParseCorner(const std::string& word, int64_t* value) {
  char* end = nullptr;
  errno = 0;
  long long number = strtoll(word.c_str(), &end, 10);
  if (end == word.c_str() || (*end != 0 && *end != '/') || errno == ERANGE || number == 0) return false;
  *value = number;
  return true;
}

// The keywords of the OBJ format; those of curves, surfaces and materials are read past.
bool IsStatement(const std::string& keyword) {
  static const char* const kKeywords[] = {
      "v",     "vt",       "vn",       "vp",     "f",          "l",         "p",     "o",    "g",
      "s",     "mg",       "usemtl",   "mtllib", "cstype",     "deg",       "bmat",  "step", "curv",
      "curv2", "surf",     "parm",     "trim",   "hole",       "scrv",      "sp",    "end",  "con",
      "bevel", "c_interp", "d_interp", "lod",    "shadow_obj", "trace_obj", "ctech", "stech"};
  for (const char* k : kKeywords) {
    if (keyword == k) return true;
  }
  return false;
}

class ObjParser {
 public:
  explicit ObjParser(const ObjOptions& options) : options(options) {}

  bool Parse(std::string_view text, VXM& model, std::string* error) {
    size_t start = 0;
    while (start <= text.size() && ok) {
      // A line ends at a line feed, a carriage return and line feed, or a carriage return alone.
      size_t end = text.find_first_of("\r\n", start);
      if (end == std::string_view::npos) end = text.size();
      ++line;
      Statement(text.substr(start, end - start));
      start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
    }
    // Text that is no OBJ at all (another kind of file) gives no empty model.
    if (ok && statements == 0) {
      ok = false;
      message = first_stranger > 0 ? "line " + std::to_string(first_stranger) +
                                         ": not an OBJ statement, and the file holds none"
                                   : "the file holds no OBJ statement";
    }
    if (ok) Build(model);
    if (!ok) *error = message;
    return ok;
  }

 private:
  void Statement(std::string_view text) {
    // A zero byte makes the whole line malformed, a comment too.
    if (text.find('\0') != std::string_view::npos) return Fail("a zero byte inside the line");
    size_t hash = text.find('#');
    if (hash != std::string_view::npos) text = text.substr(0, hash);
    text = Trim(text);
    // A face's words are its corners; nothing else needs more than four.
    std::vector<std::string> words = Words(text, kMaxFaceCorners + 2);
    if (words.empty()) return;
    const std::string& keyword = words[0];
    if (IsStatement(keyword)) {
      ++statements;
    } else if (first_stranger == 0) {
      first_stranger = line;
    }
    if (keyword == "v") {
      Vertex(words);
    } else if (keyword == "f") {
      Face(words);
    } else if (keyword == "o" || keyword == "g") {
      std::string_view name = Trim(text.substr(1));
      sections.push_back(Section{name.empty() ? std::string("default") : std::string(name), {}, {}});
    }
  }

  void Vertex(const std::vector<std::string>& words) {
    VXMVector v;
    if (words.size() < 4 || !ParseFloat(words[1], &v.x) || !ParseFloat(words[2], &v.y) ||
        !ParseFloat(words[3], &v.z)) {
      return Fail("a vertex needs three numbers");
    }
    vertices.push_back(v);
  }

  void Face(const std::vector<std::string>& words) {
    if (words.size() < 4) return Fail("a face needs at least three corners");
    if (words.size() > kMaxFaceCorners + 1) {
      return Fail("a face of more than " + std::to_string(kMaxFaceCorners) + " corners");
    }
    std::vector<int64_t> corners;
    for (size_t i = 1; i < words.size(); ++i) {
      int64_t number;
      if (!ParseCorner(words[i], &number)) return Fail("\"" + words[i] + "\" is not a vertex number");
      // Negative numbers count back from the last vertex so far; positive ones may look ahead.
      int64_t index = number < 0 ? static_cast<int64_t>(vertices.size()) + number : number - 1;
      if (index < 0) return Fail("vertex " + words[i] + " lies before the first vertex");
      corners.push_back(index);
    }
    if (sections.empty()) sections.push_back(Section{"default", {}, {}});
    Section& section = sections.back();
    for (size_t i = 1; i + 1 < corners.size(); ++i) {
      section.corners.insert(section.corners.end(), {corners[0], corners[i], corners[i + 1]});
      section.lines.push_back(line);
    }
  }

  void Build(VXM& model) {
    for (const Section& section : sections) {
      if (section.corners.empty()) continue;
      size_t triangles = section.corners.size() / 3;
      for (size_t c = 0; c < section.corners.size(); ++c) {
        if (section.corners[c] >= static_cast<int64_t>(vertices.size())) {
          line = section.lines[c / 3];
          return Fail("vertex " + std::to_string(section.corners[c] + 1) + " does not exist (there are " +
                      std::to_string(vertices.size()) + ")");
        }
      }
      // The mesh's own vertices: those its faces use, in file order.
      std::vector<int64_t> used(section.corners);
      std::sort(used.begin(), used.end());
      used.erase(std::unique(used.begin(), used.end()), used.end());
      if (triangles > UINT32_MAX) return Fail("too many triangles");
      VXMMeshClass* mesh = new (std::nothrow) VXMMeshClass;
      if (!mesh || !mesh->Allocate(static_cast<uint32_t>(used.size()), static_cast<uint32_t>(triangles)) ||
          !model.objects.Add(mesh)) {
        delete mesh;
        return Fail("out of memory");
      }
      mesh->format = options.format;
      VXMMeshClass::SetText(mesh->name, section.name.c_str());
      VXMMeshClass::SetText(mesh->qualifier, options.qualifier.c_str());
      for (size_t v = 0; v < used.size(); ++v) mesh->vertices[v] = vertices[used[v]];
      for (size_t c = 0; c < section.corners.size(); ++c) {
        size_t local = std::lower_bound(used.begin(), used.end(), section.corners[c]) - used.begin();
        mesh->triangles[c / 3].vertex_index[c % 3] = static_cast<uint32_t>(local);
      }
    }
  }

  void Fail(const std::string& reason) {
    if (!ok) return;
    ok = false;
    message = "line " + std::to_string(line) + ": " + reason;
  }

  const ObjOptions& options;
  int statements = 0;      // lines that start with an OBJ keyword, used or not
  int first_stranger = 0;  // the first line that does not, or 0
  std::vector<VXMVector> vertices;
  std::vector<Section> sections;
  int line = 0;
  bool ok = true;
  std::string message;
};

}  // namespace

bool ReadObj(std::string_view text, const ObjOptions& options, VXM& model, std::string* error) {
  // The parser keeps its lists in standard containers, which throw when memory runs out; that
  // ends the read as a failure like any other.
  try {
    ObjParser parser(options);
    return parser.Parse(text, model, error);
  } catch (const std::bad_alloc&) {
    *error = "out of memory";
    return false;
  }
}
