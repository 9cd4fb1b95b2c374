// DatabaseSnapshot: a copy of the whole database as plain values, so that several databases can
// be compared or merged while the process holds only one (TranslateDBClass). Taken from the
// database after a load, and put back into it before a save.
#pragma once

#include <map>
#include <string>
#include <vector>

struct SnapshotString {
  std::string IDString;  // 8-bit bytes as stored
  int SoundID = -1;
  int CategoryID = 0;
  std::string Animation;              // 8-bit bytes as stored
  std::string English;                // 8-bit bytes as stored
  std::vector<std::u16string> Texts;  // one per language, 0 first

  bool operator==(const SnapshotString&) const = default;
};

struct SnapshotCategory {
  int ID = 0;
  std::string Name;  // 8-bit bytes as stored

  bool operator==(const SnapshotCategory&) const = default;
};

struct DatabaseSnapshot {
  int Version = 0;
  int Language = 0;
  std::vector<SnapshotCategory> Categories;  // in list (tab) order
  std::map<int, SnapshotString> Strings;     // by numeric ID
};

// Copies the database, which must hold its texts. False when memory runs out.
bool TakeSnapshot(DatabaseSnapshot& snapshot);
// Empties the database and fills it with the snapshot. False when memory runs out.
bool RestoreSnapshot(const DatabaseSnapshot& snapshot);
