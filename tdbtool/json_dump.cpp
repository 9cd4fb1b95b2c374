// JSON output of the whole database.
#include "tdbtool/json_dump.h"

#include <nlohmann/json.hpp>
#include <string>

#include "common/utf8.h"
#include "tdb/translate_db.h"

namespace tdbtool {

namespace {

using Json = nlohmann::ordered_json;

bool Put(std::FILE* output, const std::string& text) {
  return std::fwrite(text.data(), 1, text.size(), output) == text.size();
}

std::string Text(const Json& value) { return value.dump(-1, ' ', false, Json::error_handler_t::replace); }

}  // namespace

std::string WidenBytes(const char* text) {
  std::string out;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (*p < 0x80) {
      out += static_cast<char>(*p);
    } else {
      out += static_cast<char>(0xC0 | (*p >> 6));
      out += static_cast<char>(0x80 | (*p & 0x3F));
    }
  }
  return out;
}

bool Utf8(const UnicodeStringClass& text, std::string& out) {
  NarrowStringClass utf8;
  if (!WideToUtf8(text.Chars(), utf8)) return false;
  out.assign(utf8.Chars(), static_cast<size_t>(utf8.Length()));
  return true;
}

bool WriteDatabaseJson(std::FILE* output) {
  bool ok = Put(output, "{\"version\": " + std::to_string(TranslateDBClass::GetVersion()) +
                            ", \"language\": " + std::to_string(TranslateDBClass::GetCurrentLanguage()) +
                            ",\n\"categories\": [");
  for (int i = 0; ok && i < TranslateDBClass::GetCategoryCount(); ++i) {
    StringCategoryClass* cat = TranslateDBClass::GetCategory(i);
    Json item;
    item["id"] = cat->ID;
    item["name"] = WidenBytes(cat->Name);
    ok = Put(output, (i ? ",\n " : "\n ") + Text(item));
  }
  ok = ok && Put(output, "],\n\"strings\": [");
  bool first = true;
  for (int i = 0; ok && i < TranslateDBClass::GetObjectCount(); ++i) {
    TDBStringClass* obj = TranslateDBClass::GetObject(i);
    if (!obj) continue;
    Json item;
    item["id"] = obj->GetID();
    item["idString"] = WidenBytes(obj->GetIDString());
    item["soundId"] = obj->GetSoundID();
    item["categoryId"] = obj->GetCategoryID();
    item["animation"] = WidenBytes(obj->GetAnimationName());
    item["english"] = WidenBytes(obj->GetEnglishText());
    Json texts = Json::array();
    std::string text;
    for (int k = 0; ok && k < obj->GetTextCount(); ++k) {
      ok = Utf8(obj->GetText(k), text);
      texts.push_back(text);
    }
    item["texts"] = std::move(texts);
    ok = ok && Put(output, (first ? "\n " : ",\n ") + Text(item));
    first = false;
  }
  ok = ok && Put(output, "]}\n");
  return ok && std::fflush(output) == 0 && !std::ferror(output);
}

}  // namespace tdbtool
