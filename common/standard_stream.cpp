// Standard input and output through the platform layer.
#include "common/standard_stream.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "common/path_error.h"
#include "common/platform/platform.h"

namespace {

constexpr int kBlockBytes = 1 << 16;

}  // namespace

bool IsStandardStream(const char* name) { return name && strcmp(name, "-") == 0; }

bool WriteStandardOutput(const void* data, size_t size, NarrowStringClass* error) {
  constexpr const char* kName = "standard output";
  if (std::fflush(stdout) != 0) return FailPath(error, kName, platform::ErrorShortWrite());
  platform::Handle out = platform::StandardHandle(platform::kStdout);
  const char* bytes = static_cast<const char*>(data);
  while (size > 0) {
    int block = size > kBlockBytes ? kBlockBytes : static_cast<int>(size);
    int n = platform::SystemDisk().Write(out, bytes, block);
    if (n < 0) return FailPath(error, kName, platform::LastError());
    if (n < block) return FailPath(error, kName, platform::ErrorShortWrite());
    bytes += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadStandardInput(std::string& bytes, NarrowStringClass* error) {
  constexpr const char* kName = "standard input";
  platform::Handle in = platform::StandardHandle(platform::kStdin);
  char* block = new (std::nothrow) char[kBlockBytes];
  if (!block) return FailPath(error, kName, platform::ErrorNoMemory());
  bool ok = true;
  for (;;) {
    int n = platform::SystemDisk().Read(in, block, kBlockBytes);
    if (n < 0) {
      ok = FailPath(error, kName, platform::LastError());
      break;
    }
    if (n == 0) break;
    // The standard library's string throws when memory runs out.
    try {
      bytes.append(block, static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
      ok = FailPath(error, kName, platform::ErrorNoMemory());
      break;
    }
  }
  delete[] block;
  return ok;
}
