// DiskFileClass over the platform layer.
#include "common/disk_file.h"

#include <cerrno>
#include <climits>

#include "common/dos_time.h"

using platform::kInvalidHandle;

DiskFileClass::DiskFileClass(const char* name_in, platform::DiskInterface& disk) : io(&disk), names(&disk) {
  SetName(name_in);
}

DiskFileClass::~DiskFileClass() { DiskFileClass::Close(); }

const char* DiskFileClass::FileName() { return name.Chars(); }

const char* DiskFileClass::SetName(const char* name_in) {
  Close();
  name.Release();
  name_lost = false;
  if (name_in) {
    Bias(0, -1);
    // Without memory for the name, opening fails as out of memory rather than as "no name".
    name_lost = !name.TryAssign(name_in);
  }
  return nullptr;
}

bool DiskFileClass::Create() {
  Close();
  if (!Open(2)) return false;
  if (IsBiased()) Seek(0, 0);
  Close();
  return true;
}

bool DiskFileClass::Delete() {
  Close();
  if (name.IsEmpty()) Error(platform::ErrorNoName(), 0, nullptr);
  if (!IsAvailable(0)) return false;
  if (!names->Delete(name)) {
    Report();
    return false;
  }
  return true;
}

bool DiskFileClass::IsAvailable(int forced) {
  if (name.IsEmpty()) return false;
  if (IsOpen()) return true;
  if (forced) {
    // Reports whether the file could really be opened.
    bool opened = Open(1) != 0;
    Close();
    return opened;
  }
  platform::Handle probe = io->Open(name, platform::kRead);
  if (probe == kInvalidHandle) return false;
  if (!io->Close(probe)) Report();
  return true;
}

bool DiskFileClass::IsOpen() { return handle != kInvalidHandle; }

int DiskFileClass::Open(int rights_in) {
  Close();
  if (name_lost) {
    platform::SetLastError(platform::ErrorNoMemory());
    return 0;
  }
  if (name.IsEmpty()) Error(platform::ErrorNoName(), 0, nullptr);
  rights = rights_in;
  if (rights_in < 0 || rights_in > 2) {
    errno = EINVAL;
    platform::SetLastError(platform::ErrorInvalid());
    return 0;
  }
  handle = io->Open(name, rights_in);
  if (handle != kInvalidHandle && bias_start != 0 && bias_length != -1) Seek(0, 0);
  return handle != kInvalidHandle ? 1 : 0;
}

int DiskFileClass::Open(const char* name_in, int rights_in) {
  SetName(name_in);
  return Open(rights_in);
}

int DiskFileClass::Read(void* buffer, int size) {
  if (!IsOpen()) {
    if (!Open(1)) return 0;
    int n = Read(buffer, size);
    Close();
    return n;
  }
  if (IsBiased()) {
    int left = bias_length - Tell();
    if (size > left) size = left;
  }
  if (size <= 0) return 0;
  int n = io->Read(handle, buffer, size);
  if (n < 0) {
    Report(1);
    return 0;
  }
  return n;
}

int DiskFileClass::Seek(int offset, int origin) {
  if (!IsBiased()) {
    if (!IsOpen()) {
      Error(platform::ErrorBadHandle(), 0, name);
      return -1;
    }
    int64_t r = io->Seek(handle, offset, origin);
    if (r < 0) return Report();
    if (r > INT_MAX) {
      Error(platform::ErrorTooLarge(), 0, name);
      return -1;
    }
    return static_cast<int>(r);
  }
  int64_t target = offset;
  if (origin == 1) {
    if (!IsOpen()) {
      Error(platform::ErrorBadHandle(), 0, name);
      return -1;
    }
    int64_t raw = io->Seek(handle, 0, platform::kCurrent);
    if (raw < 0) return Report();
    target += raw - bias_start;
  } else if (origin == 2) {
    target += bias_length;
  }
  if (target < 0) target = 0;
  if (target > bias_length) target = bias_length;
  if (!IsOpen()) {
    Error(platform::ErrorBadHandle(), 0, name);
    return -1;
  }
  int64_t r = io->Seek(handle, bias_start + target, platform::kBegin);
  if (r < 0) return Report();
  return static_cast<int>(r - bias_start);
}

int DiskFileClass::Size() {
  if (IsBiased()) return bias_length;
  if (!IsOpen()) {
    if (!Open(1)) return -1;
    int n = Size();
    Close();
    return n;
  }
  int64_t n = io->Size(handle);
  if (n < 0) return Report();
  if (n > INT_MAX) {
    Error(platform::ErrorTooLarge(), 0, name);
    return -1;
  }
  return static_cast<int>(n);
}

int DiskFileClass::Write(const void* buffer, int size) {
  if (!IsOpen()) {
    if (!Open(2)) return 0;
    int n = Write(buffer, size);
    Close();
    return n;
  }
  if (size <= 0) return 0;
  int n = io->Write(handle, buffer, size);
  if (n < 0) {
    Report();
    return 0;
  }
  if (write_back) io->StartWriteBack(handle, n);
  if (n < size) {
    // The system took only part: say why (the platform left its reason).
    int code = platform::LastError();
    Error(code ? code : platform::ErrorShortWrite(), 0, name);
  }
  if (IsBiased()) {
    int64_t raw = io->Seek(handle, 0, platform::kCurrent);
    if (raw > static_cast<int64_t>(bias_start) + bias_length)
      bias_length = static_cast<int>(raw - bias_start);
  }
  return n;
}

void DiskFileClass::Close() {
  if (!IsOpen()) return;
  if (!io->Close(handle)) Report();
  handle = kInvalidHandle;
}

uint32_t DiskFileClass::GetDateTime() {
  int64_t seconds;
  if (!IsOpen() || !platform::GetModified(handle, &seconds)) return 0;
  return DosDateTimeFromUnix(seconds);
}

bool DiskFileClass::SetDateTime(uint32_t value) {
  if (!IsOpen()) return false;
  int64_t seconds;
  if (!UnixFromDosDateTime(value, &seconds)) return false;
  return platform::SetModified(handle, seconds);
}

void DiskFileClass::Error(int, int, const char*) {}

platform::Handle DiskFileClass::GetHandle() { return handle; }

void DiskFileClass::Bias(int start, int length) {
  if (start == 0) {
    bias_start = 0;
    bias_length = -1;
    return;
  }
  int s = Size();
  bias_start += start;
  bias_length = s;
  if (length != -1 && length < s) bias_length = length < 0 ? 0 : length;
}

bool DiskFileClass::IsBiased() { return bias_length != -1; }

void DiskFileClass::Attach(platform::Handle handle_in) {
  Close();
  name.Release();
  rights = 1;
  bias_start = 0;
  bias_length = -1;
  handle = handle_in;
}

bool DiskFileClass::Sync() {
  if (!IsOpen()) return false;
  if (!io->Sync(handle)) {
    Report();
    return false;
  }
  return true;
}

int DiskFileClass::Report(int can_retry) {
  Error(platform::LastError(), can_retry, name);
  return -1;
}
