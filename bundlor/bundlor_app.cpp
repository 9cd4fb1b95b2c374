// Command line, folder walk and archive writing of one bundlor run.
#include "bundlor/bundlor_app.h"

#include <cstring>
#include <vector>

#include "bundlor/diagnostics.h"
#include "bundlor/folder_walk.h"
#include "mix/mix_writer.h"
#include "common/platform/platform.h"
#include "common/progress_line.h"
#include "common/standard_stream.h"
#include "common/tool_report.h"
#include "common/version.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

const char* const kUsage[] = {
    "bundlor tool to generate a corvane mix file from a folder full of files",
    "usage:",
    "bundlor folder filename",
    "filename is the name of the mix file to create",
    "folder is the path to the folder containing the files to add",
    "The mix file will be created in the current folder unless filename is an absolute path",
    "bundlor will put every file in the specified folder into the mix file, including those in subfolders",
};

// An absolute path stays as it is; any other is taken from the starting directory, which is
// read the first time it is needed.
bool Resolve(const char* path, NarrowStringClass& start, NarrowStringClass& resolved,
             DiagnosticsClass& diagnostics) {
  if (platform::IsAbsolutePath(path)) {
    resolved = path;
    return true;
  }
  if (start.IsEmpty() && !platform::CurrentDirectory(start)) {
    diagnostics.Failure("cannot read the current folder", platform::ErrorText(platform::LastError()));
    return false;
  }
  resolved = platform::JoinPath(start, path);
  return true;
}

// The failures that can be told before anything is read or written.
bool CheckArguments(const char* folder, const char* archive, DiagnosticsClass& diagnostics,
                    platform::Folders& folders) {
  if (*folder == 0) diagnostics.Failure("the folder name is empty");
  if (*archive == 0) diagnostics.Failure("the archive name is empty");
  if (IsStandardStream(archive)) {
    // Binary bytes on a terminal help nobody and can garble it.
    if (platform::IsTerminal(platform::kStdout)) diagnostics.Failure("standard output is a terminal; redirect it or name an archive");
    return diagnostics.Failures() == 0;
  }
  platform::FileStatus status;
  if (*archive != 0 && folders.Status(archive, &status) && status.is_directory) {
    diagnostics.Failure(archive, "is a folder, not an archive name");
  }
  return diagnostics.Failures() == 0;
}

void PackList(const FileListClass& list, MixWriterClass& writer, DiagnosticsClass& diagnostics,
              ProgressLineClass& progress) {
  int64_t bytes = 0;
  for (int i = 0; i < list.Count(); ++i) bytes += list[i].Size;
  progress.SetTotal(list.Count(), bytes);
  for (int i = 0; i < list.Count(); ++i) {
    progress.Begin(list[i].Name);
    bool added = writer.AddFile(list[i].Name, list[i].Source);
    progress.Done(list[i].Size);
    if (added) continue;
    diagnostics.Failure(writer.ErrorMessage());
    if (!writer.IsOpen()) return;
  }
}

// The arguments without the options, which all start with "--" (the folder and the archive name
// are the first two of what is left, as ever); quiet is set by --quiet.
int Positional(int argc, const char* const* argv, const char** kept, bool* quiet) {
  int count = 0;
  for (int i = 0; i < argc; ++i) {
    if (i > 0 && strcmp(argv[i], "--quiet") == 0) {
      *quiet = true;
    } else {
      kept[count++] = argv[i];
    }
  }
  return count;
}

}  // namespace

int RunBundlor(int argc_in, const char* const* argv_in, std::FILE* out, std::FILE* err,
               platform::DiskInterface& disk) {
  bool quiet = false;
  std::vector<const char*> args(static_cast<size_t>(argc_in) + 1, nullptr);
  const int argc = Positional(argc_in, argv_in, args.data(), &quiet);
  const char* const* argv = args.data();
  if (argc == 2 && strcmp(argv[1], "--version") == 0) {
    std::fprintf(out, "%s\n", TX_VERSION_TEXT("bundlor"));
    return tool_cli::ReportClass("bundlor", err).FinishOutput(out, kExitDone, kExitFailed);
  }
  if (argc < 3) {
    for (const char* line : kUsage) std::fprintf(out, "%s\n", line);
    return kExitUsage;
  }
  DiagnosticsClass diagnostics(err);
  if (!CheckArguments(argv[1], argv[2], diagnostics, disk)) return kExitFailed;
  // "-" is standard output, as for the other programs.
  const bool to_standard_output = IsStandardStream(argv[2]);
  NarrowStringClass start, folder, archive("standard output");
  if (!Resolve(argv[1], start, folder, diagnostics) ||
      (!to_standard_output && !Resolve(argv[2], start, archive, diagnostics))) {
    return kExitFailed;
  }

  FileListClass list;
  WalkFolder(folder, list, diagnostics, disk);
  SortFileList(list);
  CheckNames(list, diagnostics);

  MixWriterClass writer(archive, to_standard_output, disk);
  if (!writer.IsOpen()) {
    diagnostics.Failure(writer.ErrorMessage());
    return kExitFailed;
  }
  // Progress goes to a terminal only, never into a file or pipe that collects the messages.
  ProgressLineClass progress(!quiet && err == stderr && platform::IsTerminal(platform::kStderr), err);
  diagnostics.SetProgress(&progress);
  PackList(list, writer, diagnostics, progress);
  progress.Erase();
  if (diagnostics.Failures() == 0) {
    if (writer.Finish()) return kExitDone;
    diagnostics.Failure(writer.ErrorMessage());
  }
  if (!writer.Abandon()) diagnostics.Failure(writer.LeftBehind());
  std::fprintf(err, "bundlor: %s: not written (%d failure%s)\n", archive.Chars(), diagnostics.Failures(),
               diagnostics.Failures() == 1 ? "" : "s");
  return kExitFailed;
}
