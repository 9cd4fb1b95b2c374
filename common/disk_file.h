// DiskFileClass: FileClass over a platform file handle. Most operations open the file on
// demand for the length of the call; failures go to the virtual Error hook and show in the
// result. An optional window (Bias) makes a stretch of a larger file look like a whole file.
// Every call goes through the disk the object was made with (by default the system's): its
// FileIO for the file, its FileNames for Delete.
#pragma once

#include "common/file_class.h"
#include "common/string_class.h"

class DiskFileClass : public FileClass {
 public:
  explicit DiskFileClass(platform::DiskInterface& disk = platform::SystemDisk()) : io(&disk), names(&disk) {}
  explicit DiskFileClass(const char* name, platform::DiskInterface& disk = platform::SystemDisk());
  ~DiskFileClass() override;
  DiskFileClass(const DiskFileClass&) = delete;
  DiskFileClass& operator=(const DiskFileClass&) = delete;

  const char* FileName() override;
  const char* SetName(const char* name) override;
  bool Create() override;
  bool Delete() override;
  bool IsAvailable(int forced = 0) override;
  bool IsOpen() override;
  int Open(int rights = 1) override;
  int Open(const char* name, int rights = 1) override;
  int Read(void* buffer, int size) override;
  int Seek(int offset, int origin = 1) override;
  int Size() override;
  int Write(const void* buffer, int size) override;
  void Close() override;
  uint32_t GetDateTime() override;
  bool SetDateTime(uint32_t value) override;
  void Error(int code, int can_retry = 0, const char* name = nullptr) override;
  platform::Handle GetHandle() override;
  void Bias(int start, int length = -1) override;
  bool IsBiased() override;

  // Adopts a handle opened elsewhere; the object then uses and closes it as its own.
  void Attach(platform::Handle handle);
  // Makes what was written durable; false when closed or the system fails.
  bool Sync();
  // For a file that will be synced: each large write starts going to disk at once.
  void SetWriteBack(bool on) { write_back = on; }

 protected:
  platform::FileIO* io;
  platform::FileNames* names;
  int rights = 0;
  int bias_start = 0;
  int bias_length = -1;
  platform::Handle handle = platform::kInvalidHandle;
  bool write_back = false;
  NarrowStringClass name;
  bool name_lost = false;  // SetName ran out of memory

 private:
  // Reports the platform's last error through Error and returns -1.
  int Report(int can_retry = 0);
};

// A disk file class that remembers the first failure passed to Error, so that a program can say
// which file failed and why.
template <typename Base>
class ErrorKeepingFile : public Base {
 public:
  using Base::Base;
  void Error(int code, int can_retry = 0, const char* name = nullptr) override {
    if (error_code == 0) error_code = code;
    Base::Error(code, can_retry, name);
  }
  int ErrorCode() const { return error_code; }
  void ClearError() { error_code = 0; }

 private:
  int error_code = 0;
};
