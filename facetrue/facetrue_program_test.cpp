// facetrue run as a program.
#include <gtest/gtest.h>

#include <string>

#include "common/testing/model_builder.h"
#include "common/testing/run_program.h"
#include "common/testing/temp_folder.h"
#include "facetrue/plane.h"

namespace {

using namespace vxm_test;

const std::string kFacetrue = FACETRUE_PATH;

TEST(FacetrueProgram, AFolderWithASubfolder) {
  TempFolder dir;
  std::string old_model = ModelBytes({SmallMesh("a", kOldMeshFormat)});
  for (const char* name : {"one.vxm", "two.vxm", "sub/three.vxm"}) WriteBytes(dir / name, old_model);
  // Standard input is an open pipe, not a terminal: the program must end without waiting.
  ProgramResult result = RunProgram(kFacetrue, {dir.path()});
  EXPECT_EQ(result.exit_code, 0);
  std::string first = "Processed '" + (dir / "one.vxm") + "'\n",
              second = "Processed '" + (dir / "two.vxm") + "'\n";
  std::string last = "Processed '" + (dir / "sub/three.vxm") + "'\n";
  EXPECT_TRUE(result.out == first + second + last || result.out == second + first + last) << result.out;
  EXPECT_EQ(result.err, "");

  // Everything is up to date now: no output at all.
  ProgramResult again = RunProgram(kFacetrue, {dir.path(), dir / "missing"});
  EXPECT_EQ(again.exit_code, 0);
  EXPECT_EQ(again.out, "");
}

TEST(FacetrueProgram, NoPathEndsWith42AndErrorsAreNotColouredOffATerminal) {
  ProgramResult none = RunProgram(kFacetrue, {});
  EXPECT_EQ(none.exit_code, 42);
  EXPECT_EQ(none.out + none.err, "");

  TempFolder dir;
  WriteBytes(dir / "bad.vxm", "junk");
  ProgramResult result = RunProgram(kFacetrue, {dir / "bad.vxm"});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(result.out, "Unable to load '" + (dir / "bad.vxm") +
                            "': not a model file: 4 bytes is too short for the header\n");
}

}  // namespace
