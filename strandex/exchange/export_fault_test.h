// Test helper: an export that replaces a file must fail cleanly on every kind of disk failure,
// leaving the old file as it was, no temporary file behind, and an error "path: reason".
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/string_class.h"
#include "common/testing/fault_disk.h"
#include "common/testing/temp_folder.h"

template <typename Export>
void ExpectFailedExportsKeepTheOldFile(const std::string& path, Export export_to) {
  WriteBytes(path, "old");
  for (int step = 0; step < 4; ++step) {
    platform::ScopedFaultDisk disk;
    if (step == 0) disk.fail_open = 1;
    if (step == 1) disk.max_write = 7;
    if (step == 2) disk.fail_sync = 1;
    if (step == 3) disk.fail_rename = 1;
    NarrowStringClass error;
    EXPECT_FALSE(export_to(path.c_str(), &error)) << step;
    EXPECT_EQ(std::string(error.Chars()).rfind(path + ": ", 0), 0u) << error.Chars();
    EXPECT_EQ(ReadBytes(path), "old") << step;
  }
  EXPECT_EQ(CountFiles(std::filesystem::path(path).parent_path().string()), 1);

  std::string missing = std::filesystem::path(path).parent_path().string() + "/no/such/folder/out";
  NarrowStringClass error;
  EXPECT_FALSE(export_to(missing.c_str(), &error));
  EXPECT_EQ(std::string(error.Chars()).rfind(missing + ": ", 0), 0u) << error.Chars();
}
