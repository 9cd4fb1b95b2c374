// mixtool: the command-line companion of bundlor. It lists, extracts and verifies mix archives.
#include <cstdio>
#include <string>
#include <vector>

#include "common/platform/platform.h"
#include "common/tool_cli.h"
#include "mixtool/commands.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  CLI::App app{"Lists, extracts and verifies mix archives (what bundlor packs).", "mixtool"};
  tool_cli::Prepare(app);
  app.require_subcommand(1);

  std::string archive, folder;
  std::vector<std::string> members;
  bool json = false;

  CLI::App* list = app.add_subcommand("list", "One member a line in index order: name, size, CRC");
  list->add_option("ARCHIVE", archive, "Archive to read")->required();
  list->add_flag("--json", json, "The same as one JSON object");

  CLI::App* extract = app.add_subcommand(
      "extract",
      "Write the members (or those named) as files below FOLDER; - writes them to standard output");
  extract->add_option("ARCHIVE", archive, "Archive to read")->required();
  extract->add_option("FOLDER", folder, "Folder to write into (made when missing), or -")->required();
  extract->add_option("MEMBER", members, "Members to write, as listed (\\ or / between folders)");

  CLI::App* verify =
      app.add_subcommand("verify", "Check the whole archive; print the first problem and exit 1, or ok");
  verify->add_option("ARCHIVE", archive, "Archive to check")->required();

  if (int code = tool_cli::Parse(app, args.Count(), args.Values()); code >= 0) return code;
  if (list->parsed()) return mixtool::List(archive, json, stdout);
  if (extract->parsed()) return mixtool::Extract(archive, folder, members);
  return mixtool::Verify(archive, stdout);
}
