// The process-wide provider of source file objects.
#include "mix/file_provider.h"

#include <new>

#include "common/platform/platform.h"

FileProviderClass& FileProviderClass::Instance() {
  static FileProviderClass provider;
  return provider;
}

ProvidedFileClass* FileProviderClass::GetFile(const char* name) {
  ProvidedFileClass* file = new (std::nothrow) ProvidedFileClass();
  if (!file) return nullptr;
  if (platform::IsAbsolutePath(name)) file->SetName(name);
  std::lock_guard<std::mutex> hold(lock);
  ++outstanding;
  return file;
}

void FileProviderClass::ReturnFile(ProvidedFileClass* file) {
  if (!file) return;
  delete file;
  std::lock_guard<std::mutex> hold(lock);
  --outstanding;
}

int FileProviderClass::Outstanding() {
  std::lock_guard<std::mutex> hold(lock);
  return outstanding;
}
