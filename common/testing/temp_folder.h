// Test helpers: a fresh folder under the system's temporary folder, removed with everything in it
// when the object goes away, whole-file reads and writes, and what a folder holds. Paths are UTF-8;
// a name joined with / uses the system's folder separator (a backslash on Windows).
#pragma once

#include <string>
#include <vector>

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const;

 private:
  std::string path_;
};

// Writes the bytes to path, making its folders first.
void WriteBytes(const std::string& path, const std::string& bytes);
// The bytes of the file at path; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
// Names of the entries in folder (files, folders and links), sorted.
std::vector<std::string> FilesIn(const std::string& folder);
// Number of regular files in folder.
int CountFiles(const std::string& folder);
