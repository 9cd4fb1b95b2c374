// Checking an archive's layout and names in full.
#include "mixtool/archive_check.h"

#include <algorithm>
#include <vector>

#include "common/coding.h"
#include "common/platform/platform.h"
#include "mixtool/member_clash.h"
#include "mixtool/member_path.h"

namespace {

std::string Member(const MixIndexEntry& entry) { return "member \"" + ShownName(entry.Name) + "\""; }

int64_t Aligned(int64_t position) { return position + MixPadding(position); }

}  // namespace

bool CheckArchive(ArchiveClass& archive, std::string* problem) {
  MixReaderClass& reader = archive.Reader();
  unsigned char header[kMixHeaderSize];
  FileClass* file = archive.File();
  if (file->Seek(0, 0) != 0 || file->Read(header, kMixHeaderSize) != kMixHeaderSize) {
    *problem = "cannot read the header";
    return false;
  }
  if (DecodeFixed32(header + 12) != 0) {
    *problem = "the reserved header word at offset 12 is not 0";
    return false;
  }

  // The data blocks, in the order of their offsets, each starting where the one before ends
  // (padded to 8), and the index right after the last one.
  std::vector<int> order(static_cast<size_t>(reader.Count()));
  for (int i = 0; i < reader.Count(); ++i) order[static_cast<size_t>(i)] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return reader.Entry(a).Offset < reader.Entry(b).Offset; });
  int64_t expected = kMixHeaderSize;
  for (int i : order) {
    const MixIndexEntry& entry = reader.Entry(i);
    if (entry.Offset != expected) {
      *problem = Member(entry) + " starts at offset " + std::to_string(entry.Offset) + ", where " +
                 std::to_string(expected) + " was expected (the data blocks overlap or leave a gap)";
      return false;
    }
    expected = Aligned(static_cast<int64_t>(entry.Offset) + entry.Size);
  }
  if (reader.IndexOffset() != expected) {
    *problem = "the index starts at offset " + std::to_string(reader.IndexOffset()) + ", where " +
               std::to_string(expected) + " was expected after the last data block";
    return false;
  }

  int64_t end = reader.NameOffset() + 4;
  for (int i = 0; i < reader.Count(); ++i) end += 1 + reader.Entry(i).Name.Length() + 1;
  if (end != archive.Size()) {
    *problem = std::to_string(archive.Size() - end) + " bytes follow the name table";
    return false;
  }

  std::string path;
  std::vector<const char*> names;
  for (int i = 0; i < reader.Count(); ++i) {
    const MixIndexEntry& entry = reader.Entry(i);
    if (const char* reason = MemberPath(entry.Name, platform::PathSeparator(), true, &path)) {
      *problem = Member(entry) + " cannot be extracted: " + reason;
      return false;
    }
    names.push_back(entry.Name);
  }
  std::vector<std::string> clashes = MemberClashes(names, true);
  if (clashes.empty()) return true;
  *problem = clashes[0];
  return false;
}
