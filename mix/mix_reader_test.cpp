#include "mix/mix_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "mix/testing/mix_archive.h"
#include "common/memory_file.h"

namespace {

std::string LoadError(const std::string& bytes) {
  MemoryFileClass file(bytes.data(), static_cast<int>(bytes.size()));
  MixReaderClass reader;
  if (reader.Load(&file)) return "";
  EXPECT_EQ(reader.Count(), 0);
  return reader.ErrorMessage().Chars();
}

TEST(MixReader, ReadsAWellFormedArchive) {
  std::string bytes = OneMemberArchive();
  MemoryFileClass file(bytes.data(), static_cast<int>(bytes.size()));
  MixReaderClass reader;
  ASSERT_TRUE(reader.Load(&file)) << reader.ErrorMessage().Chars();
  ASSERT_EQ(reader.Count(), 1);
  EXPECT_EQ(reader.Find("A.TXT"), 0);
  EXPECT_EQ(reader.Find("b.txt"), -1);
  EXPECT_EQ(MemberBytes(reader, 0), "hello");
  EXPECT_FALSE(reader.ReadMember(1, [](const void*, int) { return true; }));
}

TEST(MixReader, RejectsBrokenStructure) {
  std::string good = OneMemberArchive();
  auto with = [&](size_t at, const std::string& bytes) {
    return good.substr(0, at) + bytes + good.substr(at + bytes.size());
  };
  EXPECT_EQ(LoadError(""), "too short for a mix archive");
  EXPECT_EQ(LoadError(with(0, "MIX2")), "not a mix archive (no MIX1 at the start)");
  EXPECT_EQ(LoadError(with(4, Word32(8))), "the index offset lies outside the archive");
  EXPECT_EQ(LoadError(with(4, Word32(28))), "the index offset lies outside the archive");
  EXPECT_EQ(LoadError(with(4, Word32(0xFFFFFFF8))), "the index offset lies outside the archive");
  EXPECT_EQ(LoadError(with(8, Word32(44))), "the header's name offset does not follow the index");
  EXPECT_EQ(LoadError(with(24, Word32(0x15555555))), "the member count is more than the archive can hold");
  EXPECT_EQ(LoadError(with(40, Word32(2))), "the name table's count differs from the index's");
  EXPECT_EQ(LoadError(with(32, Word32(20))), "a member lies outside the data area");
  EXPECT_EQ(LoadError(with(32, Word32(0xFFFFFFFF))), "a member lies outside the data area");
  EXPECT_EQ(LoadError(with(32, Word32(8))), "a member lies outside the data area");
  EXPECT_EQ(LoadError(with(44, "\7")), "a name record is malformed");
  EXPECT_EQ(LoadError(with(44, std::string(1, '\0'))), "a name record is malformed");
  EXPECT_EQ(LoadError(with(46, std::string(1, '\0'))), "a name record is malformed");
  EXPECT_EQ(LoadError(with(45, "b")), "a member's CRC does not match its name");
  EXPECT_EQ(LoadError(good.substr(0, 50)), "a name record is malformed");
}

// A sparse archive of 2^31 - 1 bytes that claims 178,956,967 members (12 bytes of index each
// would fit, their names would not) is refused before its tables are read into memory.
TEST(MixReader, ACountTheFileCannotHoldIsRefusedFirst) {
  struct HugeFile : MemoryFileClass {
    using MemoryFileClass::MemoryFileClass;
    int Size() override { return INT32_MAX; }
  };
  std::string bytes = MixHeader(16, 16 + 4 + 12 * 178956967) + Word32(178956967);
  HugeFile file(bytes.data(), static_cast<int>(bytes.size()));
  MixReaderClass reader;
  EXPECT_FALSE(reader.Load(&file));
  EXPECT_STREQ(reader.ErrorMessage().Chars(), "the member count is more than the archive can hold");
}

TEST(MixReader, RejectsAnIndexOutOfOrder) {
  // Two empty members, "B" (CRC 0x4AD0CF31) and "A" (CRC 0xD3D99E8B), in the given order.
  auto archive = [](const std::string& first, uint32_t first_crc, const std::string& second,
                    uint32_t second_crc) {
    return MixHeader(16, 44) + Word32(2) + Word32(first_crc) + Word32(16) + Word32(0) + Word32(second_crc) +
           Word32(16) + Word32(0) + Word32(2) + '\2' + first + '\0' + '\2' + second + '\0';
  };
  EXPECT_EQ(LoadError(archive("B", 0x4AD0CF31, "A", 0xD3D99E8B)), "");
  EXPECT_EQ(LoadError(archive("A", 0xD3D99E8B, "B", 0x4AD0CF31)), "the index is not in CRC order");
  EXPECT_EQ(LoadError(archive("a", 0xD3D99E8B, "A", 0xD3D99E8B)), "the index is not in CRC order");
}

}  // namespace
