// The process-wide provider of source file objects.
#include "mix/file_provider.h"

#include <new>

#include "common/platform/platform.h"

FileProviderClass& FileProviderClass::Instance() {
  static FileProviderClass provider;
  return provider;
}

ProvidedFileClass* FileProviderClass::GetFile(const char* name, platform::DiskInterface& disk) {
  ProvidedFileClass* file = new (std::nothrow) ProvidedFileClass(disk);
  if (!file) return nullptr;
  std::lock_guard<std::mutex> hold(lock);
  if (platform::IsAbsolutePath(name)) file->SetName(name);
  return file;
}

void FileProviderClass::ReturnFile(ProvidedFileClass* file) { delete file; }
