// VXM: loading, saving and the failure text.
#include "vxmlib/vxm.h"

#include <climits>
#include <cstdarg>
#include <cstdio>

#include "vxmlib/vxm_format.h"
#include "vxmlib/vxm_io.h"
#include "vxmlib/vxm_reader.h"

using namespace vxm_format;

namespace {

// Shown when the failure text itself could not be stored.
constexpr const char* kNoMemoryText = "out of memory";

}  // namespace

VXM::VXM() = default;

VXM::~VXM() { Clear(); }

void VXM::Clear() {
  for (int i = 0; i < objects.Count(); ++i) delete objects[i];
  objects.Clear();
  kept.DeleteChunks();
  delete[] storage;
  storage = nullptr;
}

void VXM::Load(FileClass* file) {
  Clear();
  error.Release();
  failed = false;
  VXMReaderClass reader(*this, file);
  if (!file) {
    Fail("no file");
  } else if (!reader.ReadModel()) {
    Clear();
  }
}

void VXM::Save(FileClass* file) {
  error.Release();
  failed = false;
  if (!file) {
    Fail("no file");
    return;
  }
  int count = objects.Count();
  uint64_t total = kFileHeaderSize;
  for (int i = 0; i <= count; ++i) {
    total += kept.BytesAt(i, 0, count);
    if (i < count) total += kChunkHeaderSize + 4 + objects[i]->BodySize();
  }
  if (total > INT_MAX) {
    Fail("the model needs %llu bytes, more than a file can hold", static_cast<unsigned long long>(total));
    return;
  }
  bool ok = vxm_io::WriteWord(file, kMagic) && vxm_io::WriteWord(file, kVersion);
  for (int i = 0; ok && i <= count; ++i) {
    ok = kept.WriteAt(i, 0, count, file);
    if (ok && i < count) {
      const VXMObjectClass* object = objects[i];
      ok = vxm_io::WriteChunkHeader(file, kObjectChunk, 4 + object->BodySize()) &&
           vxm_io::WriteWord(file, object->Kind()) && object->WriteBody(file);
    }
  }
  if (!ok) Fail("writing the model failed");
}

const char* VXM::ErrorMessage() const {
  if (failed && error.IsEmpty()) return kNoMemoryText;
  return error.Chars();
}

void VXM::Fail(const char* format, ...) {
  if (failed) return;
  failed = true;
  char text[512];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  error.TryAssign(text);
}
