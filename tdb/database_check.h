// Consistency checks over the database in memory: what `tdbtool check` lists, and the test a
// save makes before it writes anything.
#pragma once

#include "common/array.h"
#include "common/string_class.h"

// Adds one line per field that is too long to be saved (a symbolic ID, animation name or
// category name over 254 bytes) to problems (when given). Returns the number found.
int ListUnsaveableFields(DynamicArrayClass<NarrowStringClass>* problems);

// Adds one line per problem: symbolic IDs that occur twice (ignoring the case of A to Z),
// symbolic IDs that are not valid C identifiers, strings whose category does not exist,
// category IDs that are negative or occur twice, and fields too long to be saved. Returns the
// number found.
int ListDatabaseProblems(DynamicArrayClass<NarrowStringClass>* problems);

// Whether text is a C identifier: a letter or underscore, then letters, digits and underscores.
bool IsCIdentifier(const char* text);

class TDBStringClass;
// "string 1005 "IDS_X": ", the start of a problem line about obj.
NarrowStringClass StringProblemStart(TDBStringClass* obj);
