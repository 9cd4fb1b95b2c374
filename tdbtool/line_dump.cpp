// The one-field-a-line text form of the database.
#include "tdbtool/line_dump.h"

#include <new>
#include <string>

#include "tdb/exchange/db_diff.h"
#include "tdb/exchange/db_snapshot.h"

namespace tdbtool {

bool WriteDatabaseLines(std::FILE* output) {
  try {
    DatabaseSnapshot db;
    if (!TakeSnapshot(db)) return false;
    std::string text =
        "version " + std::to_string(db.Version) + "\nlanguage " + std::to_string(db.Language) + "\n";
    for (const SnapshotCategory& c : db.Categories) text += CategoryLabel(c.ID, BytesUtf8(c.Name)) + "\n";
    for (const auto& [id, s] : db.Strings) {
      const std::string label = StringLabel(id, BytesUtf8(s.IDString));
      text += label + " category " + std::to_string(s.CategoryID) + "\n";
      if (s.SoundID != -1) text += label + " soundId " + std::to_string(s.SoundID) + "\n";
      if (!s.Animation.empty()) text += label + " animation " + Quoted(BytesUtf8(s.Animation)) + "\n";
      std::string english = BytesUtf8(s.English);
      if (s.Texts.empty() || english != TextUtf8(s.Texts[0]))
        text += label + " english " + Quoted(english) + "\n";
      for (size_t k = 0; k < s.Texts.size(); ++k)
        text += label + " text " + std::to_string(k) + " " + Quoted(TextUtf8(s.Texts[k])) + "\n";
    }
    return std::fwrite(text.data(), 1, text.size(), output) == text.size() && std::fflush(output) == 0 &&
           !std::ferror(output);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

}  // namespace tdbtool
