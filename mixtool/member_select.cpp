// Selecting members by name, folder or wildcard.
#include "mixtool/member_select.h"

#include <algorithm>

namespace {

char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithNoCase(const char* name, const std::string& prefix) {
  for (char c : prefix) {
    if (Folded(*name++) != Folded(c)) return false;
  }
  return true;
}

void Choose(int i, std::vector<int>& chosen, bool& any) {
  any = true;
  if (std::find(chosen.begin(), chosen.end(), i) == chosen.end()) chosen.push_back(i);
}

}  // namespace

bool IsWildcard(const std::string& word) { return word.find_first_of("*?") != std::string::npos; }

bool WildcardMatches(const char* wildcard, const char* name) {
  // The last * seen and the name position it stands at: on a mismatch it takes one more byte.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*wildcard == '*') {
      star = wildcard++;
      resume = name;
    } else if (*wildcard == '?' || (*wildcard && Folded(*wildcard) == Folded(*name))) {
      ++wildcard;
      ++name;
    } else if (star) {
      wildcard = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*wildcard == '*') ++wildcard;
  return *wildcard == 0;
}

bool SelectMembers(const MixReaderClass& reader, const std::string& word, std::vector<int>& chosen) {
  std::string name = word;
  std::replace(name.begin(), name.end(), '/', '\\');
  bool any = false;
  if (IsWildcard(name)) {
    for (int i = 0; i < reader.Count(); ++i) {
      if (WildcardMatches(name.c_str(), reader.Entry(i).Name)) Choose(i, chosen, any);
    }
    return any;
  }
  if (int i = reader.Find(name.c_str()); i >= 0) {
    Choose(i, chosen, any);
    return true;
  }
  if (name.empty()) return false;
  if (name.back() != '\\') name += '\\';
  for (int i = 0; i < reader.Count(); ++i) {
    if (StartsWithNoCase(reader.Entry(i).Name, name)) Choose(i, chosen, any);
  }
  return any;
}
