// Plane recomputation: every mesh in the old format 0x50000 is marked 0x40002 and gets a new
// unit normal and distance for each triangle, from the triangle's three vertices.
#pragma once

#include <cstdint>

#include "facetrue/console.h"
#include "vxmlib/vxm.h"

constexpr uint32_t kOldMeshFormat = 0x50000;
constexpr uint32_t kNewMeshFormat = 0x40002;

// Sets the triangle's normal and distance from v0, v1 and v2; nothing else of it changes.
void ComputeTrianglePlane(const VXMVector& v0, const VXMVector& v1, const VXMVector& v2,
                          VXMTriangle& triangle);

// Upgrades the old-format meshes of the model and returns how many it changed. A mesh with a
// format word it does not know is reported on the console and left alone.
int RecomputePlanes(VXM& model, ConsoleClass& console);
