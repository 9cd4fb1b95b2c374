// Comparing two database snapshots record by record.
#include "tdb/exchange/db_diff.h"

#include <algorithm>
#include <cstdio>

#include "common/utf8.h"

namespace {

DbChange Variable(const char* subject, int a, int b) {
  DbChange c;
  c.Subject = subject;
  c.Numeric = true;
  c.Old = std::to_string(a);
  c.New = std::to_string(b);
  return c;
}

const SnapshotCategory* FindCategory(const DatabaseSnapshot& db, int id) {
  for (const SnapshotCategory& c : db.Categories)
    if (c.ID == id) return &c;
  return nullptr;
}

void DiffCategories(const DatabaseSnapshot& a, const DatabaseSnapshot& b, std::vector<DbChange>& out) {
  auto record = [&](const SnapshotCategory& c, DbChange::Kind what) {
    DbChange change;
    change.Subject = "category";
    change.ID = c.ID;
    change.Name = BytesUtf8(c.Name);
    change.What = what;
    (what == DbChange::kAdded ? change.New : change.Old) = change.Name;
    out.push_back(change);
  };
  for (const SnapshotCategory& old : a.Categories) {
    const SnapshotCategory* now = FindCategory(b, old.ID);
    if (!now) {
      record(old, DbChange::kRemoved);
    } else if (now->Name != old.Name) {
      DbChange change;
      change.Subject = "category";
      change.ID = old.ID;
      change.Name = BytesUtf8(old.Name);
      change.Field = "name";
      change.Old = change.Name;
      change.New = BytesUtf8(now->Name);
      out.push_back(change);
    }
  }
  for (const SnapshotCategory& now : b.Categories)
    if (!FindCategory(a, now.ID)) record(now, DbChange::kAdded);
}

void DiffString(int id, const SnapshotString& a, const SnapshotString& b, std::vector<DbChange>& out) {
  auto field = [&](const char* name, const std::string& old, const std::string& now, bool numeric) {
    if (old == now) return;
    DbChange change;
    change.Subject = "string";
    change.ID = id;
    change.Name = BytesUtf8(b.IDString);
    change.Field = name;
    change.Numeric = numeric;
    change.Old = old;
    change.New = now;
    out.push_back(change);
  };
  field("idString", BytesUtf8(a.IDString), BytesUtf8(b.IDString), false);
  field("soundId", std::to_string(a.SoundID), std::to_string(b.SoundID), true);
  field("category", std::to_string(a.CategoryID), std::to_string(b.CategoryID), true);
  field("animation", BytesUtf8(a.Animation), BytesUtf8(b.Animation), false);
  // The English text follows text 0; it is a change of its own only when text 0 stayed.
  bool text0_same = !a.Texts.empty() && !b.Texts.empty() && a.Texts[0] == b.Texts[0];
  if (text0_same) field("english", BytesUtf8(a.English), BytesUtf8(b.English), false);
  size_t languages = std::max(a.Texts.size(), b.Texts.size());
  for (size_t k = 0; k < languages; ++k) {
    bool in_a = k < a.Texts.size(), in_b = k < b.Texts.size();
    if (in_a && in_b && a.Texts[k] == b.Texts[k]) continue;
    DbChange change;
    change.Subject = "string";
    change.ID = id;
    change.Name = BytesUtf8(b.IDString);
    change.Field = "text";
    change.Language = static_cast<int>(k);
    change.What = !in_a ? DbChange::kAdded : !in_b ? DbChange::kRemoved : DbChange::kChanged;
    if (in_a) change.Old = TextUtf8(a.Texts[k]);
    if (in_b) change.New = TextUtf8(b.Texts[k]);
    out.push_back(change);
  }
}

DbChange WholeString(int id, const SnapshotString& s, DbChange::Kind what) {
  DbChange change;
  change.Subject = "string";
  change.ID = id;
  change.Name = BytesUtf8(s.IDString);
  change.What = what;
  (what == DbChange::kAdded ? change.New : change.Old) = s.Texts.empty() ? "" : TextUtf8(s.Texts[0]);
  return change;
}

}  // namespace

std::vector<DbChange> DiffDatabases(const DatabaseSnapshot& a, const DatabaseSnapshot& b) {
  std::vector<DbChange> out;
  if (a.Version != b.Version) out.push_back(Variable("version", a.Version, b.Version));
  if (a.Language != b.Language) out.push_back(Variable("language", a.Language, b.Language));
  DiffCategories(a, b, out);
  // Both maps walk in ascending ID: one pass in step.
  auto ia = a.Strings.begin(), ib = b.Strings.begin();
  while (ia != a.Strings.end() || ib != b.Strings.end()) {
    if (ib == b.Strings.end() || (ia != a.Strings.end() && ia->first < ib->first)) {
      out.push_back(WholeString(ia->first, ia->second, DbChange::kRemoved));
      ++ia;
    } else if (ia == a.Strings.end() || ib->first < ia->first) {
      out.push_back(WholeString(ib->first, ib->second, DbChange::kAdded));
      ++ib;
    } else {
      DiffString(ia->first, ia->second, ib->second, out);
      ++ia, ++ib;
    }
  }
  return out;
}

std::string ChangeLine(const DbChange& c) {
  if (c.Subject == "version" || c.Subject == "language") return c.Subject + " " + c.Old + " -> " + c.New;
  if (c.Subject == "category") {
    std::string label = CategoryLabel(c.ID, c.Name);
    if (c.What == DbChange::kAdded) return label + " added";
    if (c.What == DbChange::kRemoved) return label + " removed";
    return label + " renamed " + Quoted(c.New);
  }
  std::string line = StringLabel(c.ID, c.Name);
  if (c.Field.empty())
    return line + (c.What == DbChange::kAdded ? " added: " + Quoted(c.New) : " removed: " + Quoted(c.Old));
  line += " " + c.Field;
  if (c.Language >= 0) line += " " + std::to_string(c.Language);
  if (c.What == DbChange::kAdded) return line + " added: " + Quoted(c.New);
  if (c.What == DbChange::kRemoved) return line + " removed: " + Quoted(c.Old);
  if (c.Numeric) return line + ": " + c.Old + " -> " + c.New;
  return line + ": " + Quoted(c.Old) + " -> " + Quoted(c.New);
}

std::string BytesUtf8(const std::string& bytes) {
  std::string out(2 * bytes.size(), '\0');
  out.resize(static_cast<size_t>(EncodeNarrowAsUtf8(bytes.data(), bytes.size(), out.data()) - out.data()));
  return out;
}

std::string TextUtf8(const std::u16string& text) {
  std::string out(Utf8LengthOfWide(text.data(), text.size()), '\0');
  EncodeUtf8(text.data(), text.size(), out.data());
  return out;
}

std::string Quoted(const std::string& utf8) {
  std::string out = "\"";
  for (char ch : utf8) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", c);
          out += hex;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

std::string StringLabel(int id, const std::string& idString) {
  return "string " + std::to_string(id) + " " + Quoted(idString);
}

std::string CategoryLabel(int id, const std::string& name) {
  return "category " + std::to_string(id) + " " + Quoted(name);
}
