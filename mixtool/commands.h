// The commands of mixtool. Each returns the program's exit code: 0 success, 1 a failure (a
// message naming the file and the reason on standard error) or, for verify, a problem found.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace mixtool {

struct ListOptions {
  bool json = false;     // one JSON object with every member's name, size, CRC and offset
  bool verbose = false;  // a table of size, offset, CRC and name, and a total line
  bool slash = false;    // names with / between folders instead of the archive's backslash
};
// The member names one a line in index order, or what the options ask for.
int List(const std::string& archive, const ListOptions& options, std::FILE* output);

struct ExtractOptions {
  std::string folder;              // -C FOLDER: where to write; "-" is standard output
  std::vector<std::string> words;  // what follows ARCHIVE: [FOLDER] [MEMBER...]
  bool keep = false;               // leave files that are already there
};
// Writes the members selected (member_select.h; all when none is named) as files below the
// folder, or to standard output one after another when it is "-". Without -C, a first word that
// selects no member and is no wildcard is the folder; the folder is the current one otherwise.
int Extract(const std::string& archive, const ExtractOptions& options);
// Checks the structure of the whole archive; prints that it is sound, with the number of members,
// or the first problem.
int Verify(const std::string& archive, std::FILE* output);

}  // namespace mixtool
