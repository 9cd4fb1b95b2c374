// vxmtool run as a program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <tuple>
#include <vector>

#include "common/testing/run_program.h"
#include "common/testing/system.h"
#include "common/testing/temp_folder.h"

namespace {

const std::string kTool = VXMTOOL_PATH;

// Reading OBJ and writing JSON have their own tests; here the options reach them.
TEST(VxmTool, OptionsReachTheModel) {
  TempFolder dir;
  WriteBytes(dir / "in.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
  for (auto [options, format, qualifier] :
       {std::tuple{std::vector<std::string>{}, 0x50000, ""},
        {std::vector<std::string>{"--format", "0x40002", "--qualifier", "q"}, 0x40002, "q"}}) {
    std::vector<std::string> args{"from-obj", dir / "in.obj", dir / "out.vxm"};
    args.insert(args.end(), options.begin(), options.end());
    ASSERT_EQ(RunProgram(kTool, args).exit_code, 0);
    ProgramResult dumped = RunProgram(kTool, {"dump", dir / "out.vxm"});
    ASSERT_EQ(dumped.exit_code, 0) << dumped.err;
    nlohmann::json mesh = nlohmann::json::parse(dumped.out)["objects"][0];
    EXPECT_EQ(mesh["format"], format);
    EXPECT_EQ(mesh["qualifier"], qualifier);
  }
}

TEST(VxmTool, FailuresGoToStandardError) {
  TempFolder dir;
  WriteBytes(dir / "in.obj", "v 0 0 0\nf 1 1 2\n");
  WriteBytes(dir / "old.vxm", "keep me");
  struct Case {
    std::vector<std::string> args;
    std::string error;
  } cases[] = {
      {{"from-obj", dir / "in.obj", dir / "old.vxm"},
       "vxmtool: " + (dir / "in.obj") + ": line 2: vertex 2 does not exist (there are 1)\n"},
      {{"from-obj", dir / "in.obj", dir / "old.vxm", "--format", "5g"},
       "vxmtool: --format: \"5g\" is not a hexadecimal word\n"},
      {{"from-obj", dir / "none.obj", dir / "old.vxm"},
       "vxmtool: " + (dir / "none.obj") + ": " + sys::MissingFile() + "\n"},
      {{"dump", dir / "old.vxm"},
       "vxmtool: " + (dir / "old.vxm") + ": not a model file: 7 bytes is too short for the header\n"},
      {{"dump", dir.path()}, "vxmtool: " + dir.path() + ": not a regular file\n"},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(kTool, c.args);
    EXPECT_EQ(result.exit_code, 1) << c.error;
    EXPECT_EQ(result.err, c.error);
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(ReadBytes(dir / "old.vxm"), "keep me");
  EXPECT_NE(RunProgram(kTool, {}).exit_code, 0);
}

}  // namespace
