// Member names that extract could not all write: a member that is also a folder of another, two
// members on one path (the same name twice, or names that differ only in their separators) and,
// where letter case does not tell names apart (Windows), names that differ only in case.
#pragma once

#include <string>
#include <vector>

// Each clash among names (already checked one by one with MemberPath), as a text that names
// both members; empty when there is none. windows takes A to Z as a to z.
std::vector<std::string> MemberClashes(const std::vector<const char*>& names, bool windows);
