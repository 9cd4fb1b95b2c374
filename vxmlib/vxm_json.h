// The model as JSON for "vxmtool dump": {"objects": [{"kind": N, ...}, ...]}. A mesh adds its
// name, qualifier, format, vertices and triangles; floats are written so that they read back
// to the same 32-bit value. The text is made and handed on in pieces, so that a model of any
// size costs only a small buffer on top of its own memory.
#pragma once

#include <cstddef>
#include <functional>

#include "vxmlib/vxm.h"

// Hands the JSON form of model, one line ending in a line break, to write in pieces of up to
// 64 KiB. False as soon as write returns false.
bool WriteModelJson(const VXM& model, const std::function<bool(const char*, size_t)>& write);
