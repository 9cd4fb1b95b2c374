// The three-way merge of database snapshots.
#include "tdb/exchange/db_merge.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "tdb/exchange/db_diff.h"

namespace {

// The merge of one value: the side that changed it, or ours when both changed it differently
// (conflict set).
template <typename T>
T Merge3(const T& base, const T& ours, const T& theirs, bool* conflict) {
  *conflict = false;
  if (ours == theirs || theirs == base) return ours;
  if (ours == base) return theirs;
  *conflict = true;
  return ours;
}

std::string Ours(const std::string& ours, const std::string& theirs) {
  return ": ours " + ours + ", theirs " + theirs + "; ours kept";
}

const SnapshotCategory* FindCategory(const DatabaseSnapshot& db, int id) {
  for (const SnapshotCategory& c : db.Categories)
    if (c.ID == id) return &c;
  return nullptr;
}

std::string Label(const SnapshotCategory& c) { return CategoryLabel(c.ID, BytesUtf8(c.Name)); }
std::string Label(int id, const SnapshotString& s) { return StringLabel(id, BytesUtf8(s.IDString)); }

void MergeCategories(const DatabaseSnapshot& base, const DatabaseSnapshot& ours,
                     const DatabaseSnapshot& theirs, MergeOutcome& out) {
  for (const SnapshotCategory& o : ours.Categories) {
    const SnapshotCategory* b = FindCategory(base, o.ID);
    const SnapshotCategory* t = FindCategory(theirs, o.ID);
    if (b && !t) {
      if (o.Name == b->Name) continue;  // removed by theirs
      out.Conflicts.push_back(Label(o) + ": renamed by ours, removed by theirs; ours kept");
    } else if (t) {
      // Added on both sides under one ID: a conflict unless the names agree.
      bool conflict = !b && o.Name != t->Name;
      SnapshotCategory merged = o;
      if (b) merged.Name = Merge3(b->Name, o.Name, t->Name, &conflict);
      if (conflict)
        out.Conflicts.push_back(Label(o) + " name" +
                                Ours(Quoted(BytesUtf8(o.Name)), Quoted(BytesUtf8(t->Name))));
      out.Merged.Categories.push_back(merged);
      continue;
    }
    out.Merged.Categories.push_back(o);
  }
  for (const SnapshotCategory& t : theirs.Categories) {
    if (FindCategory(ours, t.ID)) continue;
    const SnapshotCategory* b = FindCategory(base, t.ID);
    if (!b) {
      out.Merged.Categories.push_back(t);
    } else if (b->Name != t.Name) {
      out.Conflicts.push_back(Label(t) + ": removed by ours, renamed by theirs; ours kept");
    }
  }
}

// A text of one language, or none.
using Text = std::optional<std::u16string>;

Text TextOf(const SnapshotString& s, size_t k) {
  return k < s.Texts.size() ? Text(s.Texts[k]) : std::nullopt;
}

std::string Shown(const Text& text) { return text ? Quoted(TextUtf8(*text)) : "none"; }

// Merges the fields of a string that all three sides hold.
SnapshotString MergeString(int id, const SnapshotString& b, const SnapshotString& o, const SnapshotString& t,
                           std::vector<std::string>& conflicts) {
  SnapshotString m;
  bool conflict;
  auto note = [&](const char* field, const std::string& ours, const std::string& theirs) {
    if (conflict) conflicts.push_back(Label(id, o) + " " + field + Ours(ours, theirs));
  };
  m.IDString = Merge3(b.IDString, o.IDString, t.IDString, &conflict);
  note("idString", Quoted(BytesUtf8(o.IDString)), Quoted(BytesUtf8(t.IDString)));
  m.SoundID = Merge3(b.SoundID, o.SoundID, t.SoundID, &conflict);
  note("soundId", std::to_string(o.SoundID), std::to_string(t.SoundID));
  m.CategoryID = Merge3(b.CategoryID, o.CategoryID, t.CategoryID, &conflict);
  note("category", std::to_string(o.CategoryID), std::to_string(t.CategoryID));
  m.Animation = Merge3(b.Animation, o.Animation, t.Animation, &conflict);
  note("animation", Quoted(BytesUtf8(o.Animation)), Quoted(BytesUtf8(t.Animation)));
  // Language 0 goes with the English text, which follows it.
  using First = std::pair<Text, std::string>;
  const First first = Merge3(First(TextOf(b, 0), b.English), First(TextOf(o, 0), o.English),
                             First(TextOf(t, 0), t.English), &conflict);
  note("text 0", Shown(TextOf(o, 0)), Shown(TextOf(t, 0)));
  m.English = first.second;
  std::vector<Text> texts{first.first};
  size_t languages = std::max({b.Texts.size(), o.Texts.size(), t.Texts.size()});
  for (size_t k = 1; k < languages; ++k) {
    texts.push_back(Merge3(TextOf(b, k), TextOf(o, k), TextOf(t, k), &conflict));
    note(("text " + std::to_string(k)).c_str(), Shown(TextOf(o, k)), Shown(TextOf(t, k)));
  }
  // A language kept below one that has a text cannot be left out: it becomes empty.
  while (!texts.empty() && !texts.back()) texts.pop_back();
  for (const Text& text : texts) m.Texts.push_back(text.value_or(u""));
  return m;
}

std::string SymbolicKey(const std::string& idString) {
  std::string key = idString;
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

// The symbolic IDs (as keys) that more than one string of db has, with those strings' IDs.
std::map<std::string, std::vector<int>> Duplicates(const DatabaseSnapshot& db) {
  std::map<std::string, std::vector<int>> users;
  for (const auto& [id, s] : db.Strings)
    if (!s.IDString.empty()) users[SymbolicKey(s.IDString)].push_back(id);
  std::erase_if(users, [](const auto& entry) { return entry.second.size() < 2; });
  return users;
}

void ReportNewDuplicates(const DatabaseSnapshot& ours, const DatabaseSnapshot& theirs, MergeOutcome& out) {
  std::map<std::string, std::vector<int>> before = Duplicates(ours), also = Duplicates(theirs);
  for (const auto& [key, ids] : Duplicates(out.Merged)) {
    if (before.count(key) || also.count(key)) continue;
    std::string line = "symbolic ID " + Quoted(BytesUtf8(out.Merged.Strings.at(ids[0]).IDString)) +
                       " is now used by strings";
    for (size_t i = 0; i < ids.size(); ++i) line += (i == 0 ? " " : " and ") + std::to_string(ids[i]);
    out.Conflicts.push_back(line);
  }
}

}  // namespace

MergeOutcome MergeDatabases(const DatabaseSnapshot& base, const DatabaseSnapshot& ours,
                            const DatabaseSnapshot& theirs) {
  MergeOutcome out;
  bool conflict;
  out.Merged.Version = Merge3(base.Version, ours.Version, theirs.Version, &conflict);
  if (conflict)
    out.Conflicts.push_back("version" + Ours(std::to_string(ours.Version), std::to_string(theirs.Version)));
  out.Merged.Language = Merge3(base.Language, ours.Language, theirs.Language, &conflict);
  if (conflict)
    out.Conflicts.push_back("language" +
                            Ours(std::to_string(ours.Language), std::to_string(theirs.Language)));
  MergeCategories(base, ours, theirs, out);

  std::set<int> ids;
  for (const DatabaseSnapshot* db : {&base, &ours, &theirs})
    for (const auto& entry : db->Strings) ids.insert(entry.first);
  std::vector<int> clashes;  // IDs whose new string of theirs must move
  std::map<int, SnapshotString>& merged = out.Merged.Strings;
  for (int id : ids) {
    auto find = [id](const DatabaseSnapshot& db) {
      auto at = db.Strings.find(id);
      return at == db.Strings.end() ? nullptr : &at->second;
    };
    const SnapshotString *b = find(base), *o = find(ours), *t = find(theirs);
    if (o && t) {
      if (b) {
        // Field by field only where both sides changed the string.
        merged[id] = *o == *t || *t == *b ? *o : *o == *b ? *t : MergeString(id, *b, *o, *t, out.Conflicts);
      } else {
        merged[id] = *o;
        if (!(*o == *t)) clashes.push_back(id);
      }
    } else if (o) {
      // Removed by theirs unless ours changed it; added by ours when the base lacks it.
      if (b && *o == *b) continue;
      if (b) out.Conflicts.push_back(Label(id, *o) + ": changed by ours, removed by theirs; ours kept");
      merged[id] = *o;
    } else if (t) {
      if (!b) {
        merged[id] = *t;
      } else if (!(*t == *b)) {
        out.Conflicts.push_back(Label(id, *t) + ": removed by ours, changed by theirs; ours kept");
      }
    }
  }
  int next = 1000;
  for (int id : clashes) {
    while (ids.count(next) || merged.count(next)) ++next;
    const SnapshotString& t = theirs.Strings.at(id);
    merged[next] = t;
    out.Conflicts.push_back("string " + std::to_string(id) + ": ours added " +
                            Quoted(BytesUtf8(ours.Strings.at(id).IDString)) + ", theirs added " +
                            Quoted(BytesUtf8(t.IDString)) + "; theirs now has ID " + std::to_string(next));
  }
  ReportNewDuplicates(ours, theirs, out);
  return out;
}
