// The temporary files that a stop of the program deletes: a fixed table (up to 16 at once) that
// a signal or console handler reads without locks.
#pragma once

#include <atomic>

namespace platform {

class WatchedFiles {
 public:
  void Add(const char* path) {
    for (auto& slot : slots) {
      const char* empty = nullptr;
      if (slot.compare_exchange_strong(empty, path)) return;
    }
  }
  void Remove(const char* path) {
    for (auto& slot : slots) {
      const char* expected = path;
      if (slot.compare_exchange_strong(expected, nullptr)) return;
    }
  }
  // Calls remove with every watched path.
  template <typename RemoveFile>
  void RemoveAll(RemoveFile remove) {
    for (auto& slot : slots) {
      if (const char* path = slot.load()) remove(path);
    }
  }

 private:
  std::atomic<const char*> slots[16] = {};
};

}  // namespace platform
