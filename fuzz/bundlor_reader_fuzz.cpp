// Feeds any bytes to MixReaderClass as an archive. A load that succeeds must give members that
// lie inside the input and that Find locates by their names.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bundlor/mix_reader.h"
#include "common/memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  MemoryFileClass file(data, static_cast<int>(size));
  MixReaderClass reader;
  if (!reader.Load(&file)) return 0;
  std::vector<unsigned char> member;
  for (int i = 0; i < reader.Count(); ++i) {
    const MixIndexEntry& entry = reader.Entry(i);
    if (entry.Offset < 16 || static_cast<size_t>(entry.Offset) + static_cast<size_t>(entry.Size) > size)
      abort();
    member.resize(static_cast<size_t>(entry.Size));
    if (!reader.ReadMember(i, member.data())) abort();
    if (entry.Size > 0 && memcmp(member.data(), data + entry.Offset, member.size()) != 0) abort();
    int found = reader.Find(entry.Name);
    if (found < 0 || reader.Entry(found).CRC != entry.CRC) abort();
  }
  return 0;
}
