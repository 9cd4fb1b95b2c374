// Tests of the chunk writer and reader: size words, skipping, and damaged input.
#include <gtest/gtest.h>

#include "tdb/testing/database_fixture.h"

namespace {

// The bytes a writer makes through write, which must succeed.
template <typename Write>
std::string Written(Write write) {
  MemoryFileClass f;
  ChunkWriterClass w(&f);
  EXPECT_TRUE(write(w));
  EXPECT_FALSE(w.ErrorCode());
  return std::string(reinterpret_cast<const char*>(f.Data()), static_cast<size_t>(f.Size()));
}

// A chunk reader over bytes that it keeps.
struct Reader {
  explicit Reader(std::string data) : bytes(std::move(data)) {}
  std::string bytes;
  MemoryFileClass file{bytes.data(), static_cast<int>(bytes.size())};
  ChunkReaderClass r{&file};
};

TEST(ChunkWriter, SizeWords) {
  EXPECT_EQ(Written([](ChunkWriterClass& w) { return w.BeginChunk(1) && w.EndChunk(); }), Chunk(1, ""));
  EXPECT_EQ(Written([](ChunkWriterClass& w) {
              return w.BeginChunk(2) && w.BeginChunk(3) && w.Write("abcd", 4) == 4 && w.EndChunk() &&
                     w.EndChunk();
            }),
            Word32(2) + Word32(0x8000000C) + Word32(3) + Word32(4) + "abcd");
  EXPECT_EQ(Written([](ChunkWriterClass& w) {
              return w.BeginChunk(4) && w.WriteMicroChunk(1, "1234", 4) &&
                     w.WriteMicroChunk(2, "123456", 6) && w.EndChunk();
            }),
            Chunk(4, Micro(1, "1234") + Micro(2, "123456")));
}

TEST(ChunkWriter, RefusesWhatCannotBeReadBack) {
  MemoryFileClass f;
  ChunkWriterClass w(&f);
  std::string big(256, 'x');
  ASSERT_TRUE(w.BeginChunk(1));
  EXPECT_TRUE(w.WriteMicroChunk(1, big.data(), 255));
  EXPECT_FALSE(w.ErrorCode());
  EXPECT_FALSE(w.WriteMicroChunk(2, big.data(), 256));
  EXPECT_TRUE(w.ErrorCode());

  // Payload written piece by piece into one micro chunk is held to 255 bytes too.
  ChunkWriterClass w2(&f);
  ASSERT_TRUE(w2.BeginChunk(1) && w2.BeginMicroChunk(1));
  EXPECT_EQ(w2.Write(big.data(), 200), 200u);
  EXPECT_EQ(w2.Write(big.data(), 56), 0u);
  EXPECT_TRUE(w2.ErrorCode());

  ChunkWriterClass w3(&f);
  EXPECT_FALSE(w3.EndChunk());
  EXPECT_EQ(w3.Write("a", 1), 0u);
  for (int i = 0; i < kMaxChunkDepth; ++i) ASSERT_TRUE(w3.BeginChunk(1));
  EXPECT_FALSE(w3.BeginChunk(1));
  EXPECT_TRUE(w3.ErrorCode());

  // A short write fails.
  char storage[10] = {};
  MemoryFileClass borrowed(storage, sizeof storage);
  ChunkWriterClass w4(&borrowed);
  EXPECT_FALSE(w4.BeginChunk(1));
  EXPECT_TRUE(w4.ErrorCode());
}

TEST(ChunkReader, SkipsWhatIsNotRead) {
  Reader reader(Chunk(9, Chunk(1, "0123456789") + Chunk(2, Micro(7, "xyz") + Micro(8, "ab")), true));
  ChunkReaderClass& r = reader.r;
  ASSERT_TRUE(r.OpenChunk());
  EXPECT_EQ(r.CurrentChunkID(), 9u);
  ASSERT_TRUE(r.OpenChunk());
  EXPECT_EQ(r.CurrentChunkLength(), 10u);
  char buf[8];
  EXPECT_EQ(r.Read(buf, 4), 4u);
  ASSERT_TRUE(r.CloseChunk());
  EXPECT_EQ(r.CurrentChunkRemaining(), static_cast<uint32_t>(reader.bytes.size() - 8 - 18));
  ASSERT_TRUE(r.OpenChunk());
  ASSERT_TRUE(r.OpenMicroChunk());
  EXPECT_EQ(r.CurrentMicroChunkID(), 7);
  ASSERT_TRUE(r.CloseMicroChunk());
  ASSERT_TRUE(r.OpenMicroChunk());
  EXPECT_EQ(r.CurrentMicroChunkID(), 8);
  EXPECT_EQ(r.Read(buf, 3), 0u);  // only 2 bytes in the micro chunk
  EXPECT_EQ(r.Read(buf, 2), 2u);
  EXPECT_EQ(std::string(buf, 2), "ab");
  ASSERT_TRUE(r.CloseMicroChunk());
  EXPECT_FALSE(r.OpenMicroChunk());
  ASSERT_TRUE(r.CloseChunk());
  EXPECT_FALSE(r.OpenChunk());
  ASSERT_TRUE(r.CloseChunk());
  EXPECT_FALSE(r.OpenChunk());
  EXPECT_FALSE(r.CloseChunk());
  EXPECT_FALSE(r.IsDamaged());
}

TEST(ChunkReader, ChildLongerThanParentIsCut) {
  // The inner chunk claims 100 bytes; its parent holds 12 after it, then a sibling follows.
  Reader reader(Chunk(1, Word32(2) + Word32(100) + "0123", true) + Chunk(3, "zz"));
  ChunkReaderClass& r = reader.r;
  ASSERT_TRUE(r.OpenChunk());
  ASSERT_TRUE(r.OpenChunk());
  EXPECT_TRUE(r.IsDamaged());
  EXPECT_EQ(r.Damage(), ChunkDamage::kChunkTooLong);
  EXPECT_EQ(r.DamageOffset(), 8);
  EXPECT_EQ(r.CurrentChunkLength(), 4u);
  char buf[8];
  EXPECT_EQ(r.Read(buf, 5), 0u);  // never past the chunk's end, and nothing is taken
  EXPECT_EQ(r.CurrentChunkRemaining(), 4u);
  ASSERT_TRUE(r.CloseChunk());
  ASSERT_TRUE(r.CloseChunk());
  ASSERT_TRUE(r.OpenChunk());
  EXPECT_EQ(r.CurrentChunkID(), 3u);
}

TEST(ChunkReader, DamageKinds) {
  Reader stray(Chunk(1, "ab") + "xyz");  // three stray bytes at the top level
  ASSERT_TRUE(stray.r.OpenChunk() && stray.r.CloseChunk());
  EXPECT_FALSE(stray.r.OpenChunk());
  EXPECT_EQ(stray.r.Damage(), ChunkDamage::kTruncatedHeader);

  Reader micro(Chunk(1, Micro(1, "ab").substr(0, 1) + std::string{'\x09'} + "abc"));
  ASSERT_TRUE(micro.r.OpenChunk() && micro.r.OpenMicroChunk());
  EXPECT_EQ(micro.r.Damage(), ChunkDamage::kMicroTooLong);
  EXPECT_EQ(micro.r.CurrentMicroChunkLength(), 3);
  ASSERT_TRUE(micro.r.CloseMicroChunk());
  EXPECT_EQ(micro.r.CurrentChunkRemaining(), 0u);

  std::string nested;
  for (int i = 0; i < 300; ++i) nested += Word32(7) + Word32(0x80000000u | (299 - i) * 8);
  Reader deep(nested);
  int depth = 0;
  while (deep.r.OpenChunk()) ++depth;
  EXPECT_EQ(depth, kMaxChunkDepth);
  EXPECT_EQ(deep.r.Damage(), ChunkDamage::kTooDeep);
  while (deep.r.CloseChunk()) {
  }
}

}  // namespace
