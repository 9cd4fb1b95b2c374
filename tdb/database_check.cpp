// Consistency checks over the database in memory.
#include "tdb/database_check.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "tdb/tdb_format.h"
#include "tdb/translate_db.h"

namespace {

// Appends text in double quotes, bytes outside printable ASCII (and quote and backslash) as
// escapes, so that every problem stays on one line.
void AppendQuoted(NarrowStringClass& line, const char* text) {
  static const char kHex[] = "0123456789abcdef";
  line.Append('"');
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p >= 0x20 && *p < 0x7F && *p != '"' && *p != '\\') {
      line.Append(static_cast<char>(*p));
    } else {
      char escape[5] = {'\\', 'x', kHex[*p >> 4], kHex[*p & 15], 0};
      line.Append(escape);
    }
  }
  line.Append('"');
}

void AppendNumber(NarrowStringClass& line, int n) {
  NarrowStringClass number;
  number.Format("%d", n);
  line.Append(number);
}

// "string 1005 "IDS_X": " as the start of a line.
NarrowStringClass StringLine(TDBStringClass* obj) {
  NarrowStringClass line("string ");
  AppendNumber(line, obj->GetID());
  line.Append(' ');
  AppendQuoted(line, obj->GetIDString());
  line.Append(": ");
  return line;
}

void AddProblem(DynamicArrayClass<NarrowStringClass>* problems, const NarrowStringClass& line) {
  if (problems) AddDoubling(*problems, line);
}

// One line when field is too long to be saved; start is the beginning of the line.
int CheckLength(DynamicArrayClass<NarrowStringClass>* problems, const NarrowStringClass& field,
                NarrowStringClass (*start)(void*), void* owner, const char* what) {
  if (field.Length() <= tdb::kMaxFieldBytes) return 0;
  NarrowStringClass line = start(owner);
  line.Append(what);
  line.Append(" is ");
  AppendNumber(line, field.Length());
  line.Append(" bytes long; at most 254 bytes can be saved");
  AddProblem(problems, line);
  return 1;
}

NarrowStringClass CategoryStart(void* owner) {
  NarrowStringClass line("category ");
  AppendNumber(line, static_cast<StringCategoryClass*>(owner)->ID);
  line.Append(": ");
  return line;
}

NarrowStringClass StringStart(void* owner) { return StringLine(static_cast<TDBStringClass*>(owner)); }

char FoldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Symbolic IDs compared and hashed with A to Z folded, over every byte. The database's own
// index hashes with HashKey, which reads four bytes of a long key; numbered IDs such as
// IDS_STR_000123 share those bytes and would fall into a few chains of thousands.
uint64_t FoldedHash(std::string_view key) {
  uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (char c : key) h = (h ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
  return h;
}

bool FoldedEqual(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  }
  return true;
}

// Symbolic ID (folded) -> the first table slot whose string has it: one flat table of 8-byte
// entries (a 32-bit hash and the slot) with room for twice the strings, probed in order, so that
// a million IDs cost one allocation and stay close together in memory. An entry's key is read
// from its string only when the hashes agree.
class FoldedIDSet {
 public:
  explicit FoldedIDSet(size_t count) {
    size_t size = 16;
    while (size < 2 * count) size *= 2;
    entries.resize(size);
  }
  static uint64_t Hash(std::string_view key) { return FoldedHash(key); }
  // Starts loading the entry where a key of this hash is looked for, so that it is at hand
  // when Enter comes to it: the table of a million strings does not fit the processor's cache.
  void Prefetch(uint64_t hash) const { __builtin_prefetch(&entries[hash & (entries.size() - 1)]); }
  // The slot whose string first had key (of this hash), or slot after entering it (first is
  // then true).
  int Enter(std::string_view key, uint64_t full, int slot, bool* first) {
    const uint32_t hash = static_cast<uint32_t>(full >> 32);
    for (size_t i = full & (entries.size() - 1);; i = (i + 1) & (entries.size() - 1)) {
      Entry& entry = entries[i];
      if (entry.slot_plus_one == 0) {
        entry = {hash, slot + 1};
        *first = true;
        return slot;
      }
      if (entry.hash == hash && FoldedEqual(KeyOf(entry.slot_plus_one - 1), key)) {
        *first = false;
        return entry.slot_plus_one - 1;
      }
    }
  }

 private:
  struct Entry {
    uint32_t hash = 0;
    int32_t slot_plus_one = 0;  // 0: empty
  };
  static std::string_view KeyOf(int slot) {
    const NarrowStringClass& text = TranslateDBClass::GetObject(slot)->GetIDString();
    return std::string_view(text.Chars(), static_cast<size_t>(text.Length()));
  }
  std::vector<Entry> entries;
};

}  // namespace

NarrowStringClass StringProblemStart(TDBStringClass* obj) { return StringLine(obj); }

bool IsCIdentifier(const char* text) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
  if (!letter(text[0])) return false;
  for (const char* p = text + 1; *p; ++p) {
    if (!letter(*p) && !(*p >= '0' && *p <= '9')) return false;
  }
  return true;
}

int ListUnsaveableFields(DynamicArrayClass<NarrowStringClass>* problems) {
  int found = 0;
  for (int i = 0; i < TranslateDBClass::GetCategoryCount(); ++i) {
    StringCategoryClass* cat = TranslateDBClass::GetCategory(i);
    found += CheckLength(problems, cat->Name, CategoryStart, cat, "name");
  }
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* obj = TranslateDBClass::GetObject(i);
    if (!obj) continue;
    found += CheckLength(problems, obj->GetIDString(), StringStart, obj, "symbolic ID");
    found += CheckLength(problems, obj->GetAnimationName(), StringStart, obj, "animation name");
  }
  return found;
}

int ListDatabaseProblems(DynamicArrayClass<NarrowStringClass>* problems) {
  int found = 0;
  // Category ID -> the first category that has it.
  std::unordered_map<int32_t, StringCategoryClass*> categories;
  categories.reserve(static_cast<size_t>(TranslateDBClass::GetCategoryCount()));
  for (int i = 0; i < TranslateDBClass::GetCategoryCount(); ++i) {
    StringCategoryClass* cat = TranslateDBClass::GetCategory(i);
    bool first = categories.emplace(cat->ID, cat).second;
    const char* problem = nullptr;
    if (cat->ID < 0) {
      problem = ": the ID is negative";
    } else if (!first) {
      problem = ": the ID is used by more than one category";
    }
    if (!problem) continue;
    NarrowStringClass line("category ");
    AppendNumber(line, cat->ID);
    line.Append(problem);
    AddProblem(problems, line);
    ++found;
  }
  const int count = TranslateDBClass::GetObjectCount();
  FoldedIDSet seen(static_cast<size_t>(count));
  // The hashes of the next kAhead symbolic IDs, whose entries are being fetched meanwhile.
  constexpr int kAhead = 16;
  uint64_t ahead[kAhead] = {};
  auto fetch = [&](int i) {
    TDBStringClass* obj = i < count ? TranslateDBClass::GetObject(i) : nullptr;
    if (!obj) return;
    const NarrowStringClass& id = obj->GetIDString();
    ahead[i % kAhead] = FoldedIDSet::Hash(std::string_view(id.Chars(), static_cast<size_t>(id.Length())));
    seen.Prefetch(ahead[i % kAhead]);
  };
  for (int i = 0; i < kAhead; ++i) fetch(i);
  for (int i = 0; i < count; ++i) {
    TDBStringClass* obj = TranslateDBClass::GetObject(i);
    const uint64_t hash = ahead[i % kAhead];
    fetch(i + kAhead);
    if (!obj) continue;
    const NarrowStringClass& idString = obj->GetIDString();
    if (!idString[0]) {
      AddProblem(problems, StringLine(obj).Append("the symbolic ID is empty"));
      ++found;
    } else if (!IsCIdentifier(idString)) {
      AddProblem(problems, StringLine(obj).Append("the symbolic ID is not a valid C identifier"));
      ++found;
    }
    if (idString[0]) {
      bool first = false;
      int owner = seen.Enter(std::string_view(idString.Chars(), static_cast<size_t>(idString.Length())), hash,
                             i, &first);
      if (!first) {
        NarrowStringClass line = StringLine(obj);
        line.Append("the symbolic ID is also used by string ");
        AppendNumber(line, TranslateDBClass::GetObject(owner)->GetID());
        AddProblem(problems, line);
        ++found;
      }
    }
    if (categories.find(obj->GetCategoryID()) == categories.end()) {
      NarrowStringClass line = StringLine(obj);
      line.Append("category ");
      AppendNumber(line, obj->GetCategoryID());
      line.Append(" does not exist");
      AddProblem(problems, line);
      ++found;
    }
  }
  return found + ListUnsaveableFields(problems);
}
