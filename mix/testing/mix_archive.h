// Test helpers for the archive: an archive file read back through MixReaderClass, a stream whose
// text a test can read, and archive bytes written by hand.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "common/memory_file.h"
#include "common/testing/temp_folder.h"
#include "common/testing/words.h"
#include "mix/mix_reader.h"

// Member i's bytes, read through the reader's stream of blocks.
inline std::string MemberBytes(MixReaderClass& reader, int i) {
  std::string data;
  EXPECT_TRUE(reader.ReadMember(i, [&](const void* bytes, int n) {
    data.append(static_cast<const char*>(bytes), static_cast<size_t>(n));
    return true;
  })) << reader.ErrorMessage().Chars();
  return data;
}

// The bytes of an archive file and the reader over them.
class ArchiveView {
 public:
  explicit ArchiveView(const std::string& path)
      : bytes(ReadBytes(path)), file(bytes.data(), static_cast<int>(bytes.size())) {
    loaded = reader.Load(&file);
  }
  ArchiveView(const ArchiveView&) = delete;
  ArchiveView& operator=(const ArchiveView&) = delete;

  std::string Member(int i) { return MemberBytes(reader, i); }
  std::string Name(int i) const { return reader.Entry(i).Name.Chars(); }

  std::string bytes;
  MemoryFileClass file;
  MixReaderClass reader;
  bool loaded = false;
};

// A stream backed by a temporary file (memory streams are not on every system); Text() returns
// what was written so far.
class CapturedStream {
 public:
  CapturedStream() : stream(std::tmpfile()) {}
  ~CapturedStream() { std::fclose(stream); }
  CapturedStream(const CapturedStream&) = delete;
  CapturedStream& operator=(const CapturedStream&) = delete;

  std::FILE* get() const { return stream; }
  std::string Text() const {
    std::fflush(stream);
    std::string text;
    std::rewind(stream);
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, stream)) > 0) text.append(buffer, n);
    std::fseek(stream, 0, SEEK_END);
    return text;
  }

 private:
  std::FILE* stream;
};

inline std::string MixHeader(uint32_t index_offset, uint32_t name_offset) {
  return "MIX1" + Word32(index_offset) + Word32(name_offset) + Word32(0);
}

// The 51-byte archive holding a.txt ("hello"), as the writer makes it.
inline std::string OneMemberArchive() {
  return MixHeader(24, 40) + "hello" + std::string(3, '\0') + Word32(1) + Word32(0x968D9A34) + Word32(16) +
         Word32(5) + Word32(1) + '\6' + std::string("a.txt", 6);
}
