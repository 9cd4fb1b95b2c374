#include "common/crc.h"

#include <gtest/gtest.h>

namespace {

TEST(Crc, CheckValues) {
  EXPECT_EQ(CrcTextNoCase(0, "123456789"), 0xCBF43926u);
  EXPECT_EQ(CrcTextNoCase(0, "A.TXT"), 0x968D9A34u);
  EXPECT_EQ(CrcTextNoCase(0, "a.txt"), 0x968D9A34u);
  EXPECT_EQ(CrcTextNoCase(0, "abc"), 0xA3830348u);
  EXPECT_EQ(CrcTextNoCase(0, ""), 0u);
  EXPECT_EQ(CrcTextNoCase(1234, ""), 1234u);
}

TEST(Crc, HighBytesAreNotFoldedAndSeedsChain) {
  EXPECT_EQ(CrcTextNoCase(0, "caf\xe9"), CrcTextNoCase(0, "CAF\xe9"));
  EXPECT_NE(CrcTextNoCase(0, "caf\xe9"), CrcTextNoCase(0, "caf\xc9"));
  EXPECT_EQ(CrcTextNoCase(CrcTextNoCase(0, "12345"), "6789"), 0xCBF43926u);
}

}  // namespace
