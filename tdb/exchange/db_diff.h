// What changed between two databases, record by record: the variables, the categories by ID
// (added, removed, renamed) and the strings by numeric ID (added, removed, and each field and
// text that changed, per language). Each change reads as one line for a terminal; tools may
// also take its parts (a JSON form, for example).
#pragma once

#include <string>
#include <vector>

#include "tdb/exchange/db_snapshot.h"

struct DbChange {
  enum Kind { kAdded, kRemoved, kChanged };
  // "version", "language", "category" or "string".
  std::string Subject;
  int ID = 0;        // of the category or string
  std::string Name;  // its symbolic ID or name, UTF-8 (the newer one)
  // For a string's field: "idString", "soundId", "category", "animation", "english" or "text";
  // "name" for a renamed category; empty for a record added or removed, and for the variables.
  std::string Field;
  int Language = -1;  // of a text
  Kind What = kChanged;
  // UTF-8 values; numbers written in decimal (Numeric). Added records and texts have no old
  // value, removed ones no new value.
  bool Numeric = false;
  std::string Old, New;
};

std::vector<DbChange> DiffDatabases(const DatabaseSnapshot& a, const DatabaseSnapshot& b);

// One line, without line end: `string 1000 "IDS_OK" text 1: "Hallo" -> "Servus"`.
std::string ChangeLine(const DbChange& change);

// Display helpers shared with the merge: 8-bit bytes (each byte b as U+00bb) and UTF-16 texts
// as UTF-8, and a value in double quotes with \\ \" \n \r \t and other control characters
// (\xNN) escaped.
std::string BytesUtf8(const std::string& bytes);
std::string TextUtf8(const std::u16string& text);
std::string Quoted(const std::string& utf8);
// `string 1000 "IDS_OK"`, `category 2 "Menus"`.
std::string StringLabel(int id, const std::string& idString);
std::string CategoryLabel(int id, const std::string& name);
