// Whole reads and writes over a FileClass, for the model reader and writer.
#pragma once

#include <cstdint>

#include "common/file_class.h"

namespace vxm_io {

// Reads exactly size bytes, calling Read as often as it takes; false when the file ends first.
bool ReadAll(FileClass* file, void* buffer, uint32_t size);
// Writes exactly size bytes; false when the file takes fewer.
bool WriteAll(FileClass* file, const void* buffer, uint64_t size);
bool WriteWord(FileClass* file, uint32_t value);
// Chunk id and payload size; false when the size does not fit 32 bits or the write fell short.
bool WriteChunkHeader(FileClass* file, uint32_t id, uint64_t size);

}  // namespace vxm_io
