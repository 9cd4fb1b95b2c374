// Fuzz target: the Wavefront OBJ reader over arbitrary text. Whatever it accepts must make a
// model that saves and loads back cleanly, and whose JSON form (as vxmtool dump writes it) is
// JSON that holds every object.
#include <cstdint>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "common/memory_file.h"
#include "vxmlib/obj_reader.h"
#include "vxmlib/vxm.h"
#include "vxmlib/vxm_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  VXM model;
  std::string error;
  if (!ReadObj(std::string_view(reinterpret_cast<const char*>(data), size), ObjOptions(), model, &error)) {
    if (error.empty()) abort();
    return 0;
  }
  MemoryFileClass out;
  model.Save(&out);
  if (*model.ErrorMessage() || out.ErrorCode()) abort();
  VXM again;
  MemoryFileClass in(out.Data(), out.Size());
  again.Load(&in);
  if (*again.ErrorMessage() || again.objects.Count() != model.objects.Count()) abort();
  std::string json;
  if (!WriteModelJson(model, [&](const char* bytes, size_t n) { return json.append(bytes, n), true; }))
    abort();
  nlohmann::json parsed = nlohmann::json::parse(json, nullptr, false);
  if (parsed.is_discarded() || parsed["objects"].size() != static_cast<size_t>(model.objects.Count()))
    abort();
  return 0;
}
