#include "mix/mix_writer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "mix/testing/mix_archive.h"
#include "common/testing/fault_disk.h"
#include "common/testing/fault_sweep.h"
#include "common/testing/system.h"

namespace {

// Reads through a disk that reports the end of every file at once.
class EndOfFileDisk : public platform::FaultDisk {
 public:
  int Read(platform::Handle, void*, int) override { return 0; }
};

// Reports every open file as size bytes long.
class SizedDisk : public platform::FaultDisk {
 public:
  int64_t Size(platform::Handle) override { return size; }
  int64_t size = 0;
};

TEST(MixWriter, EmptyAndOneMemberArchivesByteForByte) {
  TempFolder dir;
  MixWriterClass empty((dir / "e.mix").c_str());
  ASSERT_TRUE(empty.IsOpen());
  ASSERT_TRUE(empty.Finish());
  EXPECT_EQ(ReadBytes(dir / "e.mix"), MixHeader(16, 20) + Word32(0) + Word32(0));

  WriteBytes(dir / "a.txt", "hello");
  {
    MixWriterClass writer((dir / "one.mix").c_str());
    ASSERT_TRUE(writer.AddFile("a.txt", (dir / "a.txt").c_str()));
    MixWriterClass unnamed((dir / "n.mix").c_str());
    ASSERT_TRUE(unnamed.AddFile(nullptr, (dir / "a.txt").c_str()));
  }  // destruction finishes the archives
  EXPECT_EQ(ReadBytes(dir / "one.mix"), OneMemberArchive());
  ArchiveView view(dir / "n.mix");  // a null member name stores the source path
  ASSERT_TRUE(view.loaded);
  EXPECT_EQ(view.Name(0), dir / "a.txt");
}

TEST(MixWriter, LaysOutDataInAddedOrderAndTablesInCrcOrder) {
  TempFolder dir;
  // name, content: an empty member, one of exactly 8 bytes, odd sizes, and one larger than
  // two copy blocks.
  std::vector<std::pair<std::string, std::string>> members = {
      {"zero", ""},
      {"eight.bin", "12345678"},
      {"sub\\thirteen", "thirteen byte"},
      {"one", "1"},
      {"big.dat", std::string(2 * MixWriterClass::kCopyBlockSize + 3, 'x')},
      {"A.TXT", "upper"},
      {"a.txt", "lower"},  // same CRC as A.TXT: the name decides the order
  };
  members[4].second.back() = 'y';  // the last copy block differs from the ones before
  std::string archive = dir / "m.mix";
  {
    MixWriterClass writer(archive.c_str());
    for (size_t i = 0; i < members.size(); ++i) {
      std::string source = dir / ("src" + std::to_string(i));
      WriteBytes(source, members[i].second);
      ASSERT_TRUE(writer.AddFile(members[i].first.c_str(), source.c_str())) << writer.ErrorMessage().Chars();
    }
    ASSERT_TRUE(writer.Finish());
  }
  ArchiveView view(archive);
  ASSERT_TRUE(view.loaded) << view.reader.ErrorMessage().Chars();
  const std::string& bytes = view.bytes;
  EXPECT_EQ(bytes.substr(12, 4), Word32(0));

  // Data blocks follow one another from offset 16 in the order added, each padded with zeros to
  // a multiple of 8; the index starts where the last block ends.
  uint32_t expected_offset = 16;
  for (auto& [name, content] : members) {
    int i = view.reader.Find(name.c_str());
    ASSERT_GE(i, 0) << name;
    EXPECT_EQ(static_cast<uint32_t>(view.reader.Entry(i).Offset), expected_offset) << name;
    EXPECT_EQ(view.Member(i), content) << name;
    uint32_t end = expected_offset + static_cast<uint32_t>(content.size());
    expected_offset = (end + 7) / 8 * 8;
    EXPECT_EQ(bytes.substr(end, expected_offset - end), std::string(expected_offset - end, '\0')) << name;
  }
  EXPECT_EQ(static_cast<uint32_t>(view.reader.IndexOffset()), expected_offset);
  EXPECT_EQ(view.reader.NameOffset(), view.reader.IndexOffset() + 4 + 12 * static_cast<int>(members.size()));

  // Index and names in ascending CRC order (the CRC-32 of the upper-cased name), ties by name,
  // read straight from the bytes.
  const std::pair<const char*, uint32_t> order[] = {
      {"big.dat", 0x3E66726B}, {"eight.bin", 0x68C638A5},     {"A.TXT", 0x968D9A34}, {"a.txt", 0x968D9A34},
      {"zero", 0x9D4B1C26},    {"sub\\thirteen", 0xD5A85B2E}, {"one", 0xECCBC47B}};
  size_t index = static_cast<size_t>(view.reader.IndexOffset()) + 4;
  size_t at = static_cast<size_t>(view.reader.NameOffset()) + 4;
  for (auto [name, crc] : order) {
    EXPECT_EQ(bytes.substr(index, 4), Word32(crc)) << name;
    index += 12;
    size_t length = strlen(name) + 1;
    EXPECT_EQ(static_cast<unsigned char>(bytes[at]), length);
    EXPECT_EQ(bytes.substr(at + 1, length), std::string(name, length));
    at += length + 1;
  }
  EXPECT_EQ(at, bytes.size());
}

TEST(MixWriter, RefusedMembersFailTheArchive) {
  TempFolder dir;
  WriteBytes(dir / "f", "data");
  std::string archive = dir / "r.mix";
  WriteBytes(archive, "old");
  std::string longest(kMixMaxNameLength, 'n');
  struct Case {
    std::string name, source, reason;
  } cases[] = {
      {longest + "n", dir / "f", "member name of 255 bytes is too long"},
      {"rel", "f", "not an absolute path"},
      {"missing", dir / "missing", sys::MissingFile()},
      // A folder opens like a file and fails when read on POSIX systems; Windows refuses the open.
      {"folder", dir.path(), sys::Text(sys::kWindows ? sys::kAccessDenied : EISDIR)},
  };
  for (const Case& c : cases) {
    MixWriterClass writer(archive.c_str());
    ASSERT_TRUE(writer.AddFile(longest.c_str(), (dir / "f").c_str()));  // 254 bytes still fit
    EXPECT_FALSE(writer.AddFile(c.name.c_str(), c.source.c_str())) << c.name;
    EXPECT_EQ(std::string(writer.ErrorMessage()).rfind(c.source + ": " + c.reason, 0), 0u)
        << writer.ErrorMessage().Chars();
    EXPECT_TRUE(writer.IsOpen());  // the archive itself is fine and takes further members
    EXPECT_TRUE(writer.AddFile("later", (dir / "f").c_str()));
    EXPECT_FALSE(writer.Finish());
    EXPECT_EQ(ReadBytes(archive), "old");
    EXPECT_EQ(CountFiles(dir.path()), 2);
  }
}

TEST(MixWriter, SourceReadFailuresAreReported) {
  TempFolder dir;
  std::string source = dir / "s", archive = dir / "s.mix";
  WriteBytes(source, std::string(100000, 's'));
  {
    EndOfFileDisk disk;
    MixWriterClass writer(archive.c_str(), false, disk);
    EXPECT_FALSE(writer.AddFile("s", source.c_str()));
    EXPECT_EQ(std::string(writer.ErrorMessage()), source + ": the file ended after 0 of its 100000 bytes");
  }
  EXPECT_FALSE(std::filesystem::exists(archive));
  {
    platform::FaultDisk disk;
    disk.max_read = 3000;  // short reads are only slow, not a failure
    MixWriterClass writer(archive.c_str(), false, disk);
    EXPECT_TRUE(writer.AddFile("s", source.c_str()));
  }
  ArchiveView view(archive);
  ASSERT_TRUE(view.loaded);
  EXPECT_EQ(view.Member(0), std::string(100000, 's'));
}

TEST(MixWriter, SizesBeyond32BitPositionsAreRefused) {
  TempFolder dir;
  WriteBytes(dir / "s", "small");
  std::string archive = dir / "big.mix";
  SizedDisk disk;
  disk.size = int64_t{1} << 31;  // a source too large for a 32-bit size
  MixWriterClass writer(archive.c_str(), false, disk);
  EXPECT_FALSE(writer.AddFile("s", (dir / "s").c_str()));
  EXPECT_EQ(std::string(writer.ErrorMessage()), (dir / "s") + ": " + sys::Text(platform::ErrorTooLarge()));
  disk.size = INT32_MAX - 8;  // fits alone, but not after the header
  EXPECT_FALSE(writer.AddFile("s", (dir / "s").c_str()));
  EXPECT_EQ(std::string(writer.ErrorMessage()), archive + ": the archive would grow beyond 2147483647 bytes");
  EXPECT_FALSE(writer.IsOpen());
  EXPECT_FALSE(std::filesystem::exists(archive));
}

TEST(MixWriter, SurvivesEveryDiskAndMemoryFailure) {
  TempFolder dir;
  WriteBytes(dir / "s", "content");
  WriteBytes(dir / "t", std::string(5000, 't'));
  const std::string s = dir / "s", t = dir / "t";
  auto write = [&](const char* archive, NarrowStringClass* error, platform::DiskInterface& disk) {
    MixWriterClass writer(archive, false, disk);
    bool ok = writer.AddFile("s", s.c_str());
    ok = writer.AddFile("t", t.c_str()) && ok;
    ok = writer.Finish() && ok;
    if (!ok) error->TryAssign(writer.ErrorMessage());
    return ok;
  };
  // Reads of the members fail too: each is reported, and no archive is written. The archive is
  // not synced (bundlor does not promise durability).
  fault_sweep::Replacement sweep;
  sweep.disk_faults =
      (fault_sweep::kWriting & ~fault_sweep::kSync) | fault_sweep::kRead | fault_sweep::kCutRead;
  fault_sweep::ExpectSafeReplacement(dir / "a.mix", write, sweep);
}

}  // namespace
