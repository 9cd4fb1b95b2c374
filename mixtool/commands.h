// The commands of mixtool. Each returns the program's exit code: 0 success, 1 a failure (a
// message naming the file and the reason on standard error) or, for verify, a problem found.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace mixtool {

// One member a line in index order, "NAME<TAB>SIZE<TAB>CRC" (CRC as 8 hexadecimal digits), or
// with json the same as one JSON object.
int List(const std::string& archive, bool json, std::FILE* output);
// Writes the members named (all when none is) as files below folder, or to standard output one
// after another when folder is "-".
int Extract(const std::string& archive, const std::string& folder, const std::vector<std::string>& members);
// Checks the whole archive; prints "ARCHIVE: ok, N members" or the first problem.
int Verify(const std::string& archive, std::FILE* output);

}  // namespace mixtool
