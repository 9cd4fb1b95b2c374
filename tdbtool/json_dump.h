// The database as one JSON object, written piece by piece so that memory stays close to the
// size of the database itself:
//   {"version": N, "language": N,
//    "categories": [{"id": N, "name": S}, ...],            in list order
//    "strings": [{"id": N, "idString": S, "soundId": N, "categoryId": N, "animation": S,
//                 "english": S, "texts": [S, ...]}, ...]}   in ascending ID order
// Narrow fields are widened byte by byte (byte b is U+00bb); texts are UTF-16, with a lone
// surrogate written as U+FFFD.
#pragma once

#include <cstdio>
#include <string>

#include "common/string_class.h"

namespace tdbtool {

// A narrow field as UTF-8, each byte b as U+00bb.
std::string WidenBytes(const char* text);
// A text as UTF-8 in out, a lone surrogate as U+FFFD. False when memory runs out.
bool Utf8(const UnicodeStringClass& text, std::string& out);

// False when the output could not be written or memory ran out.
bool WriteDatabaseJson(std::FILE* output);

}  // namespace tdbtool
