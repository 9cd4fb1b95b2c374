// list, extract and verify over an archive.
#include "mixtool/commands.h"

#include <algorithm>
#include <cstdint>
#include <nlohmann/json.hpp>

#include "common/path_error.h"
#include "common/platform/platform.h"
#include "common/safe_replace.h"
#include "common/standard_stream.h"
#include "common/tool_report.h"
#include "mixtool/archive.h"
#include "mixtool/archive_check.h"
#include "mixtool/member_clash.h"
#include "mixtool/member_path.h"
#include "mixtool/member_select.h"

namespace mixtool {

namespace {

using tool_cli::kFailure;
using tool_cli::kSuccess;

constexpr tool_cli::ReportClass kReport("mixtool");

// Writes text to output and ends the command.
int Print(std::FILE* output, const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), output);
  return kReport.FinishOutput(output, kSuccess);
}

// Makes folder and the folders above it that are missing.
bool MakeFolders(const std::string& folder, NarrowStringClass* error) {
  for (size_t at = 0; at <= folder.size(); ++at) {
    bool separator = at < folder.size() && (folder[at] == '/' || folder[at] == platform::PathSeparator());
    if (at < folder.size() && !separator) continue;
    std::string prefix = folder.substr(0, at);
    // The root, and a drive on Windows, are there.
    if (prefix.empty() || prefix.back() == ':' || prefix.back() == '/' || prefix.back() == '\\') continue;
    platform::FileStatus status;
    if (platform::SystemDisk().Status(prefix.c_str(), &status)) {
      if (status.is_directory) continue;
      return FailPath(error, prefix.c_str(), "not a folder");
    }
    if (!platform::MakeFolder(prefix.c_str())) return FailPath(error, prefix.c_str(), platform::LastError());
  }
  return true;
}

// The path of a member below folder, relative, with the folders on its way made where they are
// missing. Below folder no symbolic link (on Windows, no reparse point) is followed, neither a
// folder on the way nor the member's own name: one there, even one to nothing, is refused by
// name. False with the reason in error.
bool PathBelow(const std::string& folder, const std::string& relative, std::string* target,
               NarrowStringClass* error) {
  NarrowStringClass path(folder.c_str());
  for (size_t start = 0;;) {
    size_t end = relative.find(platform::PathSeparator(), start);
    path = platform::JoinPath(path, relative.substr(start, end - start).c_str());
    platform::FileStatus status;
    bool exists = platform::SystemDisk().LinkStatus(path, &status);
    if (exists && status.is_link)
      return FailPath(error, path, "a symbolic link, which extract does not follow");
    if (end == std::string::npos) {
      *target = path.Chars();
      return true;
    }
    if (exists && !status.is_directory) return FailPath(error, path, "not a folder");
    if (!exists && !platform::MakeFolder(path)) return FailPath(error, path, platform::LastError());
    start = end + 1;
  }
}

// Writes member i as the file at path, replacing it in one step.
bool ExtractTo(ArchiveClass& archive, int i, const std::string& path, NarrowStringClass* error) {
  SafeReplaceClass replace(path.c_str());
  // Many files are written: each is complete or absent, but not flushed to disk one by one.
  replace.SetDurable(false);
  if (!replace.Begin()) return replace.Finish(false, 0, error);
  // A member that cannot be copied has said why; the replacement then ends undone.
  bool copied = archive.ReadMember(
      i, [&](const void* bytes, int n) { return replace.File().Write(bytes, n) == n; }, error);
  return copied && replace.Finish(true, 0, error);
}

}  // namespace

int List(const std::string& path, const ListOptions& options, std::FILE* output) {
  ArchiveClass archive;
  NarrowStringClass error;
  if (!archive.Open(path.c_str(), &error)) return kReport.Fail(error.Chars());
  MixReaderClass& reader = archive.Reader();
  auto name = [&](const MixIndexEntry& entry) {
    std::string shown = ShownName(entry.Name);
    if (options.slash) std::replace(shown.begin(), shown.end(), '\\', '/');
    return shown;
  };
  std::string text;
  if (options.json) {
    nlohmann::ordered_json members = nlohmann::ordered_json::array();
    for (int i = 0; i < reader.Count(); ++i) {
      const MixIndexEntry& entry = reader.Entry(i);
      std::string shown = options.slash ? name(entry) : std::string(entry.Name.Chars());
      members.push_back(
          {{"name", shown}, {"size", entry.Size}, {"crc", entry.CRC}, {"offset", entry.Offset}});
    }
    nlohmann::ordered_json whole = {{"members", std::move(members)}};
    // Names are bytes: what is not UTF-8 shows as U+FFFD.
    return Print(output, whole.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n");
  }
  char line[64];
  if (options.verbose) {
    std::snprintf(line, sizeof line, "%10s  %10s  %-8s  %s\n", "Size", "Offset", "CRC", "Name");
    text += line;
  }
  int64_t total = 0;
  for (int i = 0; i < reader.Count(); ++i) {
    const MixIndexEntry& entry = reader.Entry(i);
    if (options.verbose) {
      std::snprintf(line, sizeof line, "%10d  %10d  %08X  ", entry.Size, entry.Offset, entry.CRC);
      text += line;
    }
    text += name(entry) + "\n";
    total += entry.Size;
  }
  if (options.verbose) {
    std::snprintf(line, sizeof line, "%10lld  %10s  %-8s  %d member%s\n", static_cast<long long>(total), "",
                  "", reader.Count(), reader.Count() == 1 ? "" : "s");
    text += line;
  }
  return Print(output, text);
}

int Extract(const std::string& path, const ExtractOptions& options) {
  ArchiveClass archive;
  NarrowStringClass error;
  if (!archive.Open(path.c_str(), &error)) return kReport.Fail(error.Chars());
  MixReaderClass& reader = archive.Reader();
  std::string folder = options.folder;
  size_t first = 0;
  std::vector<int> chosen;
  if (folder.empty() && !options.words.empty()) {
    const std::string& word = options.words[0];
    std::vector<int> selected;
    if (IsStandardStream(word.c_str()) || (!IsWildcard(word) && !SelectMembers(reader, word, selected))) {
      folder = word;
      first = 1;
    }
  }
  if (folder.empty()) folder = ".";
  int code = kSuccess;
  for (size_t w = first; w < options.words.size(); ++w) {
    const std::string& word = options.words[w];
    if (!SelectMembers(reader, word, chosen))
      code = kReport.Fail(path + ": no member \"" + ShownName(word.c_str()) + "\"");
  }
  if (first == options.words.size()) {
    for (int i = 0; i < reader.Count(); ++i) chosen.push_back(i);
  }

  if (IsStandardStream(folder.c_str())) {
    for (int i : chosen) {
      bool written = true;
      bool read = archive.ReadMember(
          i, [&](const void* bytes, int n) { return written = WriteStandardOutput(bytes, n, &error); },
          &error);
      if (!read || !written) return kReport.Fail(error.Chars());
    }
    return code;
  }

  // Every name is checked, alone and against the others, before anything is written.
  const bool windows = platform::PathSeparator() == '\\';
  std::vector<std::pair<int, std::string>> planned;  // member index and path below the folder
  std::vector<const char*> names;
  for (int i : chosen) {
    const char* name = reader.Entry(i).Name;
    std::string relative;
    if (const char* reason = MemberPath(name, platform::PathSeparator(), windows, &relative)) {
      code = kReport.Fail(path + ": member \"" + ShownName(name) + "\" is not written: " + reason);
      continue;
    }
    planned.emplace_back(i, std::move(relative));
    names.push_back(name);
  }
  std::vector<std::string> clashes = MemberClashes(names, windows);
  for (const std::string& clash : clashes) kReport.Fail(path + ": " + clash + "; nothing is written");
  if (!clashes.empty()) return kFailure;

  if (!MakeFolders(folder, &error)) return kReport.Fail(error.Chars());
  for (const auto& [i, relative] : planned) {
    std::string target;
    platform::FileStatus status;
    if (!PathBelow(folder, relative, &target, &error)) {
      code = kReport.Fail(path + ": member \"" + ShownName(reader.Entry(i).Name) +
                          "\" is not written: " + error.Chars());
      continue;
    }
    if (options.keep && platform::SystemDisk().LinkStatus(target.c_str(), &status)) {
      kReport.Warn(target, "already there; kept");
      continue;
    }
    if (!ExtractTo(archive, i, target, &error)) code = kReport.Fail(error.Chars());
  }
  return code;
}

int Verify(const std::string& path, std::FILE* output) {
  ArchiveClass archive;
  NarrowStringClass error;
  std::string problem;
  if (!archive.Open(path.c_str(), &error)) {
    // A file that cannot be read is a failure; one that is not a sound archive, the answer.
    if (archive.SystemFailed()) return kReport.Fail(error.Chars());
    problem = error.Chars();
  } else if (!CheckArchive(archive, &problem)) {
    problem = path + ": " + problem;
  }
  std::string line = problem.empty()
                         ? path + ": structure sound, " + std::to_string(archive.Reader().Count()) +
                               " members; the format holds no checksum, so their data is not checked"
                         : problem;
  if (Print(output, line + "\n") != kSuccess) return kFailure;
  return problem.empty() ? kSuccess : kFailure;
}

}  // namespace mixtool
