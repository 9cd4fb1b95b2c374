// vxmtool run as a program.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "common/testing/run_program.h"
#include "common/testing/temp_folder.h"

namespace {

const std::string kTool = VXMTOOL_PATH;

TEST(VxmTool, FromObjThenDump) {
  TempFolder dir;
  WriteBytes(dir / "in.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0.1 0 1\ng side\nf 1 2 3 4\n");
  ProgramResult made = RunProgram(
      kTool, {"from-obj", dir / "in.obj", dir / "out.vxm", "--format", "0x40002", "--qualifier", "q"});
  ASSERT_EQ(made.exit_code, 0) << made.err;
  ProgramResult dumped = RunProgram(kTool, {"dump", dir / "out.vxm"});
  ASSERT_EQ(dumped.exit_code, 0) << dumped.err;
  nlohmann::json json = nlohmann::json::parse(dumped.out);
  const nlohmann::json& mesh = json["objects"][0];
  EXPECT_EQ(mesh["kind"], 0);
  EXPECT_EQ(mesh["name"], "side");
  EXPECT_EQ(mesh["qualifier"], "q");
  EXPECT_EQ(mesh["format"], 0x40002);
  EXPECT_EQ(mesh["vertices"][3], nlohmann::json::parse("[0.1, 0, 1]"));
  EXPECT_EQ(mesh["triangles"].size(), 2u);

  ProgramResult plain = RunProgram(kTool, {"from-obj", dir / "in.obj", dir / "default.vxm"});
  ASSERT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_EQ(
      nlohmann::json::parse(RunProgram(kTool, {"dump", dir / "default.vxm"}).out)["objects"][0]["format"],
      0x50000);
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
       "vxmtool: " + (dir / "none.obj") + ": No such file or directory\n"},
      {{"dump", dir / "old.vxm"},
       "vxmtool: " + (dir / "old.vxm") + ": not a model file: 7 bytes is too short for the header\n"},
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
