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

  std::string archive;
  mixtool::ListOptions listing;
  mixtool::ExtractOptions extraction;

  CLI::App* list = app.add_subcommand("list", "The member names, one a line in index order");
  list->add_option("ARCHIVE", archive, "Archive to read")->required();
  list->add_flag("-v,--verbose", listing.verbose, "A table of size, offset, CRC and name, and the total");
  list->add_flag("--slash", listing.slash, "Names with / between folders, as extract takes them");
  list->add_flag("--json", listing.json, "Name, size, CRC and offset of every member as one JSON object");

  CLI::App* extract = app.add_subcommand(
      "extract", "Write the members (or those selected) as files below the current folder or FOLDER");
  extract->add_option("ARCHIVE", archive, "Archive to read")->required();
  extract->add_option("MEMBER", extraction.words,
                      "Members: a name, a folder (sub/) or a wildcard ('*.txt', 'sub/*'), / or \\ between "
                      "folders. Without -C, a first word that selects none is the FOLDER to write into");
  extract
      ->add_option("-C,--directory", extraction.folder,
                   "Folder to write into (made when missing); - is standard output")
      ->type_name("FOLDER");
  extract->add_flag("-k,--keep", extraction.keep, "Leave files that are already there, and name them");

  CLI::App* verify = app.add_subcommand(
      "verify",
      "Check the archive's structure (the format holds no checksum of the data); exit 1 on a problem");
  verify->add_option("ARCHIVE", archive, "Archive to check")->required();

  if (int code = tool_cli::Parse(app, args.Count(), args.Values()); code >= 0) return code;
  if (list->parsed()) return mixtool::List(archive, listing, stdout);
  if (extract->parsed()) return mixtool::Extract(archive, extraction);
  return mixtool::Verify(archive, stdout);
}
