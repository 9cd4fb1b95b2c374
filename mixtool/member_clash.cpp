// Finding member names that would take one path, or a file's path as a folder.
#include "mixtool/member_clash.h"

#include <cstring>
#include <unordered_map>

#include "mixtool/member_path.h"

namespace {

// The path a name becomes, its components joined by backslashes, in lower case for windows.
std::string PathKey(const char* name, bool windows) {
  std::string key;
  for (const char* p = name; *p; ++p) {
    char c = *p == '/' ? '\\' : *p;
    if (windows && c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    key += c;
  }
  return key;
}

std::string Quoted(const char* name) { return "\"" + ShownName(name) + "\""; }

}  // namespace

std::vector<std::string> MemberClashes(const std::vector<const char*>& names, bool windows) {
  std::vector<std::string> clashes;
  std::unordered_map<std::string, size_t> paths;
  for (size_t i = 0; i < names.size(); ++i) {
    auto [at, added] = paths.emplace(PathKey(names[i], windows), i);
    if (added) continue;
    const char* first = names[at->second];
    if (strcmp(first, names[i]) == 0) {
      clashes.push_back("member " + Quoted(first) + " occurs twice");
    } else if (PathKey(first, false) == PathKey(names[i], false)) {
      clashes.push_back("members " + Quoted(first) + " and " + Quoted(names[i]) + " are one path");
    } else {
      clashes.push_back("members " + Quoted(first) + " and " + Quoted(names[i]) +
                        " differ only in letter case, which makes them one file on Windows");
    }
  }
  for (const char* name : names) {
    std::string key = PathKey(name, windows);
    for (size_t end = key.find('\\'); end != std::string::npos; end = key.find('\\', end + 1)) {
      auto folder = paths.find(key.substr(0, end));
      if (folder != paths.end()) {
        clashes.push_back("member " + Quoted(names[folder->second]) + " is also a folder of member " +
                          Quoted(name));
      }
    }
  }
  return clashes;
}
