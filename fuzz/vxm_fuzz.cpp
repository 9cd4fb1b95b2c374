// Fuzz target: VXM::Load over arbitrary bytes, read in place through MemoryFileClass. The bytes
// are also tried behind a valid file header and inside a mesh object, so that random input
// reaches the chunk and mesh checks. Whatever loads must save to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/memory_file.h"
#include "common/testing/words.h"
#include "vxmlib/vxm.h"

namespace {

void LoadAndCheck(const std::string& bytes) {
  VXM model;
  MemoryFileClass in(bytes.data(), static_cast<int>(bytes.size()));
  model.Load(&in);
  if (*model.ErrorMessage()) {
    if (model.objects.Count() != 0 || model.kept.Count() != 0) abort();
    return;
  }
  MemoryFileClass out;
  model.Save(&out);
  if (*model.ErrorMessage() || out.Size() < 0) abort();
  // A loaded file saves back unchanged unless its mesh sub-chunks were out of order, so check
  // that a second round trip is stable.
  VXM again;
  MemoryFileClass reread(out.Data(), out.Size());
  again.Load(&reread);
  if (*again.ErrorMessage()) abort();
  MemoryFileClass out_again;
  again.Save(&out_again);
  if (out_again.Size() != out.Size() ||
      memcmp(out_again.Data(), out.Data(), static_cast<size_t>(out.Size())) != 0) {
    abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  LoadAndCheck(bytes);
  std::string header = "VXMF" + Word32(1);
  LoadAndCheck(header + bytes);
  // A mesh header short of its two counts: the input supplies them, then the sub-chunks.
  std::string mesh_header = "MHDR" + Word32(44) + std::string(32, '\0') + Word32(0x50000);
  std::string object_body = Word32(0) + mesh_header + bytes;
  LoadAndCheck(header + "OBJC" + Word32(static_cast<uint32_t>(object_body.size())) + object_body);
  return 0;
}
