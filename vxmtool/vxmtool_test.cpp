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

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VXMTOOL_TEST_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(VXMTOOL_TEST_SANITIZED)
constexpr bool kSanitized = true;  // the sanitizer reserves more address space than any limit
#else
constexpr bool kSanitized = false;
#endif

// Reading OBJ and writing JSON have their own tests; here the options reach them, and "-" writes
// the model to standard output. Usage errors end with 2.
TEST(VxmTool, OptionsReachTheModelAndUsage) {
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
  EXPECT_EQ(
      RunProgram(kTool, {"from-obj", dir / "in.obj", "-", "--format", "0x40002", "--qualifier", "q"}).out,
      ReadBytes(dir / "out.vxm"));
  EXPECT_EQ(RunProgram(kTool, {"--version"}).out.rfind("vxmtool ", 0), 0u);
  for (auto [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{}, "vxmtool: no command given\n"},
           {{"to-obj"}, "vxmtool: unknown command \"to-obj\"\n"},
           {{"dump"}, "vxmtool: dump: IN.vxm is required\n"}}) {
    ProgramResult result = RunProgram(kTool, args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.err.substr(0, message.size()), message);
  }
}

TEST(VxmTool, FailuresGoToStandardError) {
  TempFolder dir;
  WriteBytes(dir / "in.obj", "v 0 0 0\nf 1 1 2\n");
  WriteBytes(dir / "old.vxm", "keep me");
  WriteBytes(dir / "keep.obj", "v 0 0 0\n");
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
      // Arguments swapped: a model is no OBJ; and an output that is the input is refused.
      {{"from-obj", dir / "old.vxm", dir / "keep.obj"},
       "vxmtool: " + (dir / "old.vxm") + ": line 1: not an OBJ statement, and the file holds none\n"},
      {{"from-obj", dir / "keep.obj", dir / "keep.obj"},
       "vxmtool: " + (dir / "keep.obj") + ": the same file as the input " + (dir / "keep.obj") +
           "; nothing was written\n"},
  };
  for (const Case& c : cases) {
    ProgramResult result = RunProgram(kTool, c.args);
    EXPECT_EQ(result.exit_code, 1) << c.error;
    EXPECT_EQ(result.err, c.error);
    EXPECT_EQ(result.out, "");
  }
  EXPECT_EQ(ReadBytes(dir / "old.vxm"), "keep me");
  EXPECT_EQ(ReadBytes(dir / "keep.obj"), "v 0 0 0\n");
}

// Dump writes its JSON as it goes: a model of 22 MB (50 MB of JSON) needs little more memory than
// itself, and a limit below that is reported as running out of memory.
TEST(VxmTool, DumpStreamsAndRunningOutOfMemoryIsAFailure) {
  if (sys::kWindows || kSanitized) GTEST_SKIP() << "needs ulimit and an uninstrumented program";
  TempFolder dir;
  std::string obj;
  for (int i = 0; i < 300000; ++i) obj += "v " + std::to_string(i) + " 0 0\n";
  for (int i = 1; i < 2 * 299998; ++i) {
    int v = (i - 1) % 299998 + 1;
    obj += "f " + std::to_string(v) + " " + std::to_string(v + 1) + " " + std::to_string(v + 2) + "\n";
  }
  WriteBytes(dir / "big.obj", obj);
  ASSERT_EQ(RunProgram(kTool, {"from-obj", dir / "big.obj", dir / "big.vxm"}).exit_code, 0);
  auto dump = [&](const char* limit) {
    return RunProgram("/bin/sh",
                      {"-c", std::string("ulimit -v ") + limit + "; exec \"$0\" dump big.vxm", kTool},
                      dir.path());
  };
  ProgramResult result = dump("60000");
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.out.size(), 50521980u);
  EXPECT_EQ(result.out.substr(result.out.size() - 20), "\"distance\":0.0}]}]}\n");
  result = dump("20000");
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "vxmtool: big.vxm: object 0: out of memory\n");
  // An endless OBJ on standard input.
  result = RunProgram("/bin/sh",
                      {"-c", "yes 'v 1 2 3' | (ulimit -v 100000; exec \"$0\" from-obj - out.vxm)", kTool},
                      dir.path());
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "vxmtool: standard input: " + sys::Text(ENOMEM) + "\n");
}

}  // namespace
