// The model as JSON for "vxmtool dump": {"objects": [{"kind": N, ...}, ...]}. A mesh adds its
// name, qualifier, format, vertices and triangles; floats are written so that they read back
// to the same 32-bit value.
#pragma once

#include <string>

#include "vxmlib/vxm.h"

std::string ModelToJson(const VXM& model);
