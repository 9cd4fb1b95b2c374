// The checks of "mixtool verify" beyond those that loading the tables makes (MixReaderClass
// checks the header's offsets, the tables, that every member lies inside the data area, the
// name CRCs and the order of the index): the reserved header word, data blocks that follow one
// another at multiples of 8 up to the index, nothing after the name table, and names that
// extract can write on any system, one by one and together (member_clash.h).
#pragma once

#include <string>

#include "mixtool/archive.h"

// False with the first problem found in problem.
bool CheckArchive(ArchiveClass& archive, std::string* problem);
