// The benchmark database generator.
#include "bench/tdb_generator.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tdb/translate_db.h"
#include "common/utf8.h"

namespace tdbgen {

namespace {

// SplitMix64: the same numbers on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state(seed) {}
  uint32_t Next(uint32_t bound) {
    uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return static_cast<uint32_t>((z ^ (z >> 31)) % bound);
  }

 private:
  uint64_t state;
};

// Words of each language, as UTF-8.
const std::vector<std::vector<std::string>>& Words() {
  static const std::vector<std::vector<std::string>> words = {
      {"open", "file", "save", "the", "menu", "player", "level", "door", "cannot", "load", "quest", "gold"},
      {"öffnen", "Datei", "speichern", "die", "Menü", "Spieler", "Ebene", "Tür", "können", "Größe", "Straße"},
      {"ouvrir", "fichier", "enregistrer", "le", "menu", "joueur", "niveau", "porte", "été", "très",
       "garçon"},
      {"открыть", "файл", "сохранить", "меню", "игрок", "уровень", "дверь", "нельзя", "золото"},
      {"άνοιγμα", "αρχείο", "αποθήκευση", "μενού", "παίκτης", "επίπεδο", "πόρτα", "χρυσός"},
      {"開く", "ファイル", "保存", "メニュー", "プレイヤー", "レベル", "ドア", "金", "🎮"},
      {"打开", "文件", "保存", "菜单", "玩家", "关卡", "门", "金币", "😀"},
  };
  return words;
}

std::string Sentence(Random& random, int language) {
  int lists = static_cast<int>(Words().size());
  const std::vector<std::string>& words =
      Words()[language < lists ? language : 1 + (language - 1) % (lists - 1)];
  int count = 2 + static_cast<int>(random.Next(10));
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += words[random.Next(static_cast<uint32_t>(words.size()))];
  }
  return text;
}

std::string Utf8(const UnicodeStringClass& text) {
  NarrowStringClass out;
  WideToUtf8(text.Chars(), out);
  return std::string(out.Chars(), static_cast<size_t>(out.Length()));
}

std::string PoQuoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

void FillDatabase(int strings, int categories, int languages) {
  TranslateDBClass::ClearDatabase();
  TranslateDBClass::SetObjectGrowthStep(1000);
  for (int c = 0; c < categories; ++c) {
    TranslateDBClass::AddCategoryNamed(("Category " + std::to_string(c + 1)).c_str());
  }
  Random random(20240601);
  UnicodeStringClass wide;
  for (int i = 0; i < strings; ++i) {
    TDBStringClass* s = new TDBStringClass;
    s->SetID(1000 + i);
    s->SetIDString(("IDS_STRING_" + std::to_string(i)).c_str());
    s->SetCategoryID(1 + static_cast<int>(random.Next(static_cast<uint32_t>(categories))));
    if (random.Next(4) == 0) s->SetSoundID(static_cast<int>(random.Next(5000)));
    if (random.Next(8) == 0) s->SetAnimationName(("anim_" + std::to_string(random.Next(100))).c_str());
    for (int k = 0; k < languages; ++k) {
      std::string text = Sentence(random, k);
      Utf8ToWide(text.c_str(), static_cast<int>(text.size()), wide);
      s->SetText(k, wide.Chars());
    }
    TranslateDBClass::AddObject(s);
  }
}

bool WritePoFile(const std::string& path, int language) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  std::fputs("msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=UTF-8\\n\"\n\n", file);
  for (int i = 0; i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* s = TranslateDBClass::GetObject(i);
    if (!s) continue;
    std::string entry = "msgctxt " + PoQuoted(s->GetIDString().Chars()) + "\nmsgid " +
                        PoQuoted(Utf8(s->GetText(0))) + "\nmsgstr " + PoQuoted(Utf8(s->GetText(language))) +
                        "\n\n";
    std::fputs(entry.c_str(), file);
  }
  return std::fclose(file) == 0;
}

}  // namespace tdbgen
