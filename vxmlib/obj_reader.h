// Wavefront OBJ to model: "v" lines give vertices, "f" lines faces (any index form, negative
// indices counted back from the last vertex), "o" and "g" lines start a new mesh named after
// them. Faces of more than three corners are split into fans. Everything else is skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vxmlib/vxm.h"

struct ObjOptions {
  uint32_t format = 0x50000;
  std::string qualifier;
};

// Adds one mesh per object or group that has faces; each mesh holds the vertices its faces use,
// in file order. False with "line N: reason" in error when the text is not usable.
bool ReadObj(std::string_view text, const ObjOptions& options, VXM& model, std::string* error);
