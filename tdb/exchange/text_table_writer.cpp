// Writing the text table (format in text_table.h).
#include "tdb/exchange/text_table_writer.h"

#include <cstdint>
#include <cstring>

#include "tdb/translate_db.h"
#include "tdb/exchange/category_groups.h"
#include "tdb/exchange/file_bytes.h"
#include "tdb/exchange/text_table.h"
#include "common/utf8.h"

namespace {

constexpr int kLanguages = 7;

// Bytes in which a line feed becomes CR LF, as the file's line ends are.
void AppendWithLineEnds(ByteBuilder& out, const char* bytes, size_t count) {
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    if (bytes[i] != '\n') continue;
    out.Append(bytes + start, i - start);
    out.Append("\r\n", 2);
    start = i + 1;
  }
  out.Append(bytes + start, count - start);
}

// A narrow field, each byte b as the character U+00bb in UTF-8, a piece at a time.
void AppendNarrow(ByteBuilder& out, const char* text) {
  constexpr size_t kPiece = 256;
  char buffer[kPiece * 2];
  for (size_t left = strlen(text); left > 0;) {
    size_t take = left < kPiece ? left : kPiece;
    char* end = EncodeNarrowAsUtf8(text, take, buffer);
    AppendWithLineEnds(out, buffer, static_cast<size_t>(end - buffer));
    text += take;
    left -= take;
  }
}

// A UTF-16 text in UTF-8, a piece at a time; a surrogate pair is never split between pieces.
void AppendWide(ByteBuilder& out, const UnicodeStringClass& text) {
  constexpr size_t kPiece = 256;
  char buffer[kPiece * 3];
  const char16_t* p = text.Chars();
  size_t left = static_cast<size_t>(text.Length());
  while (left > 0) {
    size_t take = left < kPiece ? left : kPiece;
    if (take < left && p[take - 1] >= 0xD800 && p[take - 1] <= 0xDBFF) --take;
    char* end = EncodeUtf8(p, take, buffer);
    AppendWithLineEnds(out, buffer, static_cast<size_t>(end - buffer));
    p += take;
    left -= take;
  }
}

void AppendUnsigned(ByteBuilder& out, int value) { out.AppendDecimal(static_cast<uint32_t>(value)); }

void AppendStringBlock(ByteBuilder& out, TDBStringClass* s) {
  AppendUnsigned(out, s->GetID());
  out.Append(',');
  AppendNarrow(out, s->GetIDString());
  out.Append(',');
  out.AppendDecimal(s->GetSoundID());
  out.Append(',');
  AppendNarrow(out, s->GetAnimationName());
  out.Append("\r\n", 2);
  for (int k = 0; k < kLanguages; ++k) {
    out.AppendDecimal(k);
    out.Append('=');
    AppendWide(out, s->GetText(k));
    out.Append("\r\n", 2);
  }
}

}  // namespace

void WriteTextTable(ByteBuilder& out) {
  out.Append("\xEF\xBB\xBF", 3);
  // A category whose ID an earlier one has gets its line only: its strings were written there.
  CategoryGroupsClass groups;
  if (!groups.Build()) return out.SetFailed();
  int categories = TranslateDBClass::GetCategoryCount();
  for (int c = 0; c < categories; ++c) {
    StringCategoryClass* category = TranslateDBClass::GetCategory(c);
    out.Append('[');
    AppendUnsigned(out, category->ID);
    out.Append(',');
    AppendNarrow(out, category->Name);
    out.Append("]\r\n", 3);
    for (int i = 0; i < groups.Count(c) && !out.ErrorCode(); ++i) AppendStringBlock(out, groups.String(c, i));
  }
}

bool ExportTextTable(const char* path, NarrowStringClass* error, platform::DiskInterface& disk) {
  return ByteBuilder::WriteThrough(
      path, error, [](ByteBuilder& out, const void*) { WriteTextTable(out); }, nullptr, disk);
}
