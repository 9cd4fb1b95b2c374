// Reading and checking a mix archive's header and tables.
#include "mix/mix_reader.h"

#include <algorithm>
#include <memory>
#include <new>

#include "common/coding.h"
#include "common/crc.h"
#include "common/platform/errors.h"

namespace {

constexpr int kBlockBytes = 1 << 16;

bool SameNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'a' && x <= 'z') x -= 'a' - 'A';
    if (y >= 'a' && y <= 'z') y -= 'a' - 'A';
    if (x != y) return false;
    if (x == 0) return true;
  }
}

// Reads exactly size bytes at offset.
bool ReadAt(FileClass* file, int offset, void* buffer, int size) {
  if (file->Seek(offset, 0) != offset) return false;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    int n = file->Read(out, size);
    if (n <= 0) return false;
    out += n;
    size -= n;
  }
  return true;
}

}  // namespace

bool MixReaderClass::Load(FileClass* file_in) {
  file = file_in;
  entries.Clear();
  error.Release();
  index_offset = name_offset = 0;
  int size = file->Size();
  if (size < 0) return Fail("cannot read the archive's size");
  if (size < kMixHeaderSize + 8) return Fail("too short for a mix archive");
  unsigned char header[kMixHeaderSize];
  if (!ReadAt(file, 0, header, kMixHeaderSize)) return Fail("cannot read the header");
  if (memcmp(header, kMixMagic, sizeof kMixMagic) != 0)
    return Fail("not a mix archive (no MIX1 at the start)");
  uint32_t index = DecodeFixed32(header + 4);
  if (index < kMixHeaderSize || index % kMixAlignment != 0 || index > static_cast<uint32_t>(size) - 8) {
    return Fail("the index offset lies outside the archive");
  }
  index_offset = static_cast<int32_t>(index);
  int length = size - index_offset;
  // Every member takes at least its 12-byte index record and a 2-byte name record: a count
  // the file cannot hold is refused before memory is taken for the tables.
  unsigned char count[4];
  if (!ReadAt(file, index_offset, count, 4)) return Fail("cannot read the tables");
  if (8 + (kMixIndexRecordSize + 2) * static_cast<int64_t>(DecodeFixed32(count)) > length) {
    return Fail("the member count is more than the archive can hold");
  }
  unsigned char* tables = new (std::nothrow) unsigned char[length];
  if (!tables) return Fail("out of memory");
  bool ok = ReadAt(file, index_offset, tables, length) ? ParseTables(tables, length)
                                                       : Fail("cannot read the tables");
  delete[] tables;
  if (ok && DecodeFixed32(header + 8) != static_cast<uint32_t>(name_offset)) {
    ok = Fail("the header's name offset does not follow the index");
  }
  if (!ok) entries.Clear();
  return ok;
}

bool MixReaderClass::ParseTables(const unsigned char* tables, int64_t length) {
  uint32_t count = DecodeFixed32(tables);
  int64_t names = 4 + static_cast<int64_t>(kMixIndexRecordSize) * count;
  if (names + 4 > length) return Fail("the index runs past the end of the archive");
  name_offset = static_cast<int32_t>(index_offset + names);
  if (DecodeFixed32(tables + names) != count) return Fail("the name table's count differs from the index's");
  if (!entries.Resize(static_cast<int>(count))) return Fail("out of memory");
  int64_t at = names + 4;
  for (uint32_t i = 0; i < count; ++i) {
    const unsigned char* record = tables + 4 + kMixIndexRecordSize * static_cast<int64_t>(i);
    MixIndexEntry entry;
    entry.CRC = DecodeFixed32(record);
    uint32_t offset = DecodeFixed32(record + 4), size = DecodeFixed32(record + 8);
    if (offset < kMixHeaderSize || offset > static_cast<uint32_t>(index_offset) ||
        size > static_cast<uint32_t>(index_offset) - offset) {
      return Fail("a member lies outside the data area");
    }
    entry.Offset = static_cast<int32_t>(offset);
    entry.Size = static_cast<int32_t>(size);
    if (at >= length) return Fail("the name table runs past the end of the archive");
    int n = tables[at];
    const char* name = reinterpret_cast<const char*>(tables + at + 1);
    if (n == 0 || at + 1 + n > length || name[n - 1] != 0 || static_cast<int>(strlen(name)) != n - 1) {
      return Fail("a name record is malformed");
    }
    at += 1 + n;
    if (CrcTextNoCase(0, name) != entry.CRC) return Fail("a member's CRC does not match its name");
    if (i > 0 && MixOrderBefore(entry.CRC, name, entries[i - 1].CRC, entries[i - 1].Name)) {
      return Fail("the index is not in CRC order");
    }
    if (!entry.Name.TryAssign(name) || !entries.Add(entry)) return Fail("out of memory");
  }
  return true;
}

int MixReaderClass::Find(const char* name) const {
  uint32_t crc = CrcTextNoCase(0, name);
  if (entries.Count() == 0) return -1;
  const auto* first = &entries[0];
  const int low = static_cast<int>(
      std::partition_point(first, first + entries.Count(), [&](const auto& e) { return e.CRC < crc; }) -
      first);
  int found = -1;
  for (int i = low; i < entries.Count() && entries[i].CRC == crc; ++i) {
    if (entries[i].Name == name) return i;
    if (found < 0 && SameNoCase(entries[i].Name, name)) found = i;
  }
  return found;
}

bool MixReaderClass::ReadMember(int i, const std::function<bool(const void* bytes, int size)>& sink) {
  if (i < 0 || i >= entries.Count()) return Fail("no such member");
  const MixIndexEntry& entry = entries[i];
  if (entry.Size == 0) return true;
  if (file->Seek(entry.Offset, 0) != entry.Offset) return Fail(platform::ErrorText(platform::LastError()));
  std::unique_ptr<char[]> block(new (std::nothrow) char[kBlockBytes]);
  if (!block) return Fail(platform::ErrorText(platform::ErrorNoMemory()));
  for (int left = entry.Size; left > 0;) {
    int n = file->Read(block.get(), left < kBlockBytes ? left : kBlockBytes);
    if (n < 0) return Fail(platform::ErrorText(platform::LastError()));
    if (n == 0) return Fail("the archive ends inside a member");
    if (!sink(block.get(), n)) return true;
    left -= n;
  }
  return true;
}

bool MixReaderClass::Fail(const char* reason) {
  error = reason;
  return false;
}
