// The recursive folder walk that builds bundlor's file list.
#include "bundlor/folder_walk.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/crc.h"
#include "common/platform/platform.h"
#include "mix/mix_format.h"

namespace {

constexpr int kListGrowthStep = 1024;

NarrowStringClass JoinMember(const char* prefix, const char* name) {
  NarrowStringClass member(prefix);
  if (!member.IsEmpty()) member.Append('\\');
  member.Append(name);
  return member;
}

void AddFile(FileListClass& list, NarrowStringClass&& name, NarrowStringClass&& source, int64_t size,
             DiagnosticsClass& diagnostics) {
  FileListRecord record;
  record.Size = size;
  record.CRC = CrcTextNoCase(0, name);
  record.Name = std::move(name);
  record.Source = std::move(source);
  if (!list.Add(record)) diagnostics.Failure(record.Source, platform::ErrorText(platform::ErrorNoMemory()));
}

void WalkLevel(const char* folder, const char* prefix, FileListClass& list, DiagnosticsClass& diagnostics,
               platform::Folders& folders) {
  DynamicArrayClass<platform::DirEntry> entries;
  if (!folders.ListDirectory(folder, entries)) {
    diagnostics.Failure(folder, platform::ErrorText(platform::LastError()));
    return;
  }
  for (int i = 0; i < entries.Count(); ++i) {
    const platform::DirEntry& entry = entries[i];
    NarrowStringClass source = platform::JoinPath(folder, entry.name);
    NarrowStringClass member = JoinMember(prefix, entry.name);
    if (entry.is_directory) {
      WalkLevel(source, member, list, diagnostics, folders);
      continue;
    }
    // What the entry names, links followed: pipes, sockets and devices are not packed (opening
    // a pipe for reading would wait for a writer forever).
    platform::FileStatus status;
    if (!folders.Status(source, &status)) {
      diagnostics.Failure(source, platform::ErrorText(platform::LastError()));
    } else if (status.is_regular) {
      AddFile(list, std::move(member), std::move(source), status.size, diagnostics);
    } else if (!status.is_directory) {
      diagnostics.Warning(source, "not a regular file, not packed");
    } else if (entry.is_link) {
      diagnostics.Warning(source, "symbolic link to a folder, not followed");
    } else {
      WalkLevel(source, member, list, diagnostics, folders);
    }
  }
}

}  // namespace

void WalkFolder(const char* folder, FileListClass& list, DiagnosticsClass& diagnostics,
                platform::Folders& folders) {
  list.SetGrowthStep(kListGrowthStep);
  WalkLevel(folder, "", list, diagnostics, folders);
}

void SortFileList(FileListClass& list) {
  if (list.Count() < 2) return;
  std::sort(&list[0], &list[0] + list.Count(), [](const FileListRecord& a, const FileListRecord& b) {
    if (a.CRC == b.CRC && strcmp(a.Name, b.Name) == 0) return strcmp(a.Source, b.Source) < 0;
    return MixOrderBefore(a.CRC, a.Name, b.CRC, b.Name);
  });
}

void CheckNames(const FileListClass& list, DiagnosticsClass& diagnostics) {
  for (int first = 0; first < list.Count(); ++first) {
    for (int second = first + 1; second < list.Count() && list[second].CRC == list[first].CRC; ++second) {
      NarrowStringClass reason;
      if (strcmp(list[first].Name, list[second].Name) == 0) {
        reason.Format("maps to the same member name as %s (", list[second].Source.Chars());
        reason.Append(list[first].Name);
        reason.Append("); the archive could not tell them apart");
        diagnostics.Failure(list[first].Source, reason);
        continue;
      }
      reason.Format("has the same name CRC (%08X) as ", list[first].CRC);
      reason.Append(list[second].Name);
      reason.Append("; a reader finds only one of them");
      diagnostics.Warning(list[first].Name, reason);
    }
  }
}
