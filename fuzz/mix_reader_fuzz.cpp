// Feeds any bytes to MixReaderClass as an archive, as mixtool reads it. A load that succeeds must
// give members that lie inside the input and that Find locates by their names; mixtool's full
// check and its name checks then run over them (where case tells names apart, no more clash).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/memory_file.h"
#include "mix/mix_reader.h"
#include "mixtool/archive_check.h"
#include "mixtool/member_clash.h"
#include "mixtool/member_path.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 24)) return 0;
  MemoryFileClass file(data, static_cast<int>(size));
  MixReaderClass reader;
  if (!reader.Load(&file)) return 0;
  std::vector<unsigned char> member;
  std::vector<const char*> names;
  for (int i = 0; i < reader.Count(); ++i) {
    const MixIndexEntry& entry = reader.Entry(i);
    if (entry.Offset < 16 || static_cast<size_t>(entry.Offset) + static_cast<size_t>(entry.Size) > size)
      abort();
    member.clear();
    if (!reader.ReadMember(i, [&](const void* bytes, int n) {
          member.insert(member.end(), static_cast<const unsigned char*>(bytes),
                        static_cast<const unsigned char*>(bytes) + n);
          return true;
        }))
      abort();
    if (member.size() != static_cast<size_t>(entry.Size)) abort();
    if (entry.Size > 0 && memcmp(member.data(), data + entry.Offset, member.size()) != 0) abort();
    int found = reader.Find(entry.Name);
    if (found < 0 || reader.Entry(found).CRC != entry.CRC) abort();
    std::string path;
    if (!MemberPath(entry.Name, '/', true, &path) &&
        (path.empty() || path[0] == '/' || ("/" + path + "/").find("/../") != std::string::npos))
      abort();
    names.push_back(entry.Name);
  }
  if (MemberClashes(names, false).size() > MemberClashes(names, true).size()) abort();
  ArchiveClass archive;
  if (!archive.Load(&file, "fuzz.mix", nullptr)) abort();
  std::string problem;
  CheckArchive(archive, &problem);
  return 0;
}
