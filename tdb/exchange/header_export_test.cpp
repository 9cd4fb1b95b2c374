#include "tdb/exchange/header_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "common/testing/fault_sweep.h"
#include "common/testing/temp_folder.h"
#include "tdb/translate_db.h"

namespace {

class HeaderExport : public ::testing::Test {
 protected:
  void SetUp() override {
    TranslateDBClass::ClearDatabase();
    TranslateDBClass::SetVersion(0);
    TranslateDBClass::AddCategoryNamed("Default");
  }
  void TearDown() override { TranslateDBClass::ClearDatabase(); }

  static void Add(int id, const char* id_string) {
    auto* s = new TDBStringClass;
    s->SetID(id);
    s->SetIDString(id_string);
    ASSERT_TRUE(TranslateDBClass::AddObject(s));
  }

  std::string Export() {
    NarrowStringClass error;
    EXPECT_TRUE(ExportCHeader(path.c_str(), &error)) << error.Chars();
    return ReadBytes(path);
  }

  static std::string Expected(int version, const std::string& defines) {
    return "#if defined(_MSC_VER)\r\n#pragma once\r\n#endif\r\n\r\n#ifndef __STRING_IDS_H\r\n"
           "#define __STRING_IDS_H\r\n\r\n#define STRINGS_VER\t\t" +
           std::to_string(version) + "\r\n\r\n// TRANSLATEDB: Begin ID Block\r\n" + defines +
           "// TRANSLATEDB: End ID Block\r\n\r\n#endif //__STRING_IDS_H\r\n";
  }

  TempFolder dir;
  std::string path = dir / "string_ids.h";
};

TEST_F(HeaderExport, DefinesFollowSlotOrderAndReplaceTheWholeFile) {
  // Symbolic IDs are written as stored and long lines whole; empty slots are skipped.
  WriteBytes(path, std::string(5000, 'z'));
  std::string name(600, 'X');
  Add(1002, "IDS_B");
  Add(1000, "has space");
  Add(1003, "");
  Add(1005, "lower_Case");
  Add(1006, name.c_str());
  TranslateDBClass::SetVersion(-7);
  EXPECT_EQ(Export(), Expected(-7,
                               "#define has space\t\t1000\r\n#define IDS_B\t\t1002\r\n#define \t\t1003\r\n"
                               "#define lower_Case\t\t1005\r\n#define " +
                                   name + "\t\t1006\r\n"));
  EXPECT_EQ(TranslateDBClass::GetVersion(), -7);
  // The empty database gives thirteen lines, and a shorter export leaves nothing of the longer.
  TranslateDBClass::ClearObjects();
  TranslateDBClass::SetVersion(0);
  std::string header = Export();
  EXPECT_EQ(header, Expected(0, ""));
  EXPECT_EQ(std::count(header.begin(), header.end(), '\n'), 13);
}

TEST_F(HeaderExport, SurvivesEveryDiskAndMemoryFailure) {
  Add(1000, "IDS_A");
  Add(1001, "IDS_B");
  fault_sweep::ExpectSafeReplacement(path, ExportCHeader);
}

#ifdef TX_C_COMPILER
TEST_F(HeaderExport, CompilesAsC) {
  Add(1000, "IDS_OK");
  Add(1001, "IDS_CANCEL");
  Add(1234, "IDS_LAST");
  TranslateDBClass::SetVersion(3);
  Export();
  std::string source = dir / "use.c";
  WriteBytes(source,
             "#include \"string_ids.h\"\n"
             "#include \"string_ids.h\"\n"  // the include guard must hold
             "typedef char ok[IDS_OK == 1000 ? 1 : -1];\n"
             "typedef char cancel[IDS_CANCEL == 1001 ? 1 : -1];\n"
             "typedef char last[IDS_LAST == 1234 ? 1 : -1];\n"
             "typedef char ver[STRINGS_VER == 3 ? 1 : -1];\n");
  std::string command = std::string("\"") + TX_C_COMPILER + "\" -fsyntax-only -Wall -Werror -I\"" +
                        dir.path() + "\" \"" + source + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
}
#endif

}  // namespace
