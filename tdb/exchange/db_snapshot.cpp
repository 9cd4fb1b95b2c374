// Copying the database to plain values and back.
#include "tdb/exchange/db_snapshot.h"

#include <new>

#include "tdb/translate_db.h"

namespace {

std::u16string Wide(const UnicodeStringClass& text) {
  return std::u16string(text.Chars(), static_cast<size_t>(text.Length()));
}

std::string Narrow(const NarrowStringClass& text) {
  return std::string(text.Chars(), static_cast<size_t>(text.Length()));
}

// A new record holding s under id; null when memory runs out.
TDBStringClass* NewRecord(int id, const SnapshotString& s) {
  TDBStringClass* obj = new (std::nothrow) TDBStringClass;
  if (!obj) return nullptr;
  obj->SetID(id);
  obj->SetSoundID(s.SoundID);
  obj->SetCategoryID(s.CategoryID);
  // The English text first: setting text 0 then makes it the narrow form of text 0 where there
  // is one, and leaves it where there is none, as the editor's own edits do.
  bool ok = obj->SetIDString(s.IDString.c_str()) && obj->SetAnimationName(s.Animation.c_str()) &&
            obj->SetEnglishText(s.English.c_str());
  for (size_t k = 0; ok && k < s.Texts.size(); ++k)
    ok = obj->SetText(static_cast<int>(k), s.Texts[k].c_str());
  if (ok) return obj;
  delete obj;
  return nullptr;
}

}  // namespace

bool TakeSnapshot(DatabaseSnapshot& snapshot) {
  try {
    snapshot = DatabaseSnapshot();
    snapshot.Version = TranslateDBClass::GetVersion();
    snapshot.Language = TranslateDBClass::GetCurrentLanguage();
    for (int i = 0; i < TranslateDBClass::GetCategoryCount(); ++i) {
      StringCategoryClass* cat = TranslateDBClass::GetCategory(i);
      snapshot.Categories.push_back({cat->ID, Narrow(cat->Name)});
    }
    for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
      TDBStringClass* obj = TranslateDBClass::GetObject(i);
      if (!obj) continue;
      SnapshotString& s = snapshot.Strings[obj->GetID()];
      s.IDString = Narrow(obj->GetIDString());
      s.SoundID = obj->GetSoundID();
      s.CategoryID = obj->GetCategoryID();
      s.Animation = Narrow(obj->GetAnimationName());
      s.English = Narrow(obj->GetEnglishText());
      for (int k = 0; k < obj->GetTextCount(); ++k) s.Texts.push_back(Wide(obj->GetText(k)));
    }
    return true;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool RestoreSnapshot(const DatabaseSnapshot& snapshot) {
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::SetVersion(snapshot.Version);
  TranslateDBClass::SetCurrentLanguage(snapshot.Language);
  for (const SnapshotCategory& c : snapshot.Categories) {
    StringCategoryClass* cat = new (std::nothrow) StringCategoryClass;
    if (!cat) return false;
    cat->ID = c.ID;
    if (!cat->Name.TryAssign(c.Name.c_str()) || !TranslateDBClass::AppendCategoryAsIs(cat)) {
      delete cat;
      return false;
    }
  }
  int highest = snapshot.Strings.empty() ? 0 : snapshot.Strings.rbegin()->first;
  if (!TranslateDBClass::ReserveObjects(static_cast<int>(snapshot.Strings.size()), highest)) return false;
  for (const auto& [id, s] : snapshot.Strings) {
    TDBStringClass* obj = NewRecord(id, s);
    if (!obj) return false;
    if (!TranslateDBClass::AddObject(obj)) {
      delete obj;
      return false;
    }
  }
  return true;
}
