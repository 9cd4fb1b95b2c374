// Which members of an archive a word on extract's command line selects: the member of that exact
// name; the members below it, when it names a folder ("sub" or "sub/"); or, when it holds * or ?,
// the members whose whole name the wildcard matches (* also across folders, so "*.txt" finds
// every text file and "sub/*" everything below sub). A / in a word stands for the archive's \.
// Letter case is ignored, as the archive's lookup ignores it.
#pragma once

#include <string>
#include <vector>

#include "mix/mix_reader.h"

// Whether the word is a wildcard rather than a name.
bool IsWildcard(const std::string& word);

// Whether the wildcard (with \ between folders) matches the whole of name.
bool WildcardMatches(const char* wildcard, const char* name);

// Appends to chosen, in index order, the members the word selects that are not there yet.
// False when it selects none.
bool SelectMembers(const MixReaderClass& reader, const std::string& word, std::vector<int>& chosen);
