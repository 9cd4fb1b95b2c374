#include "tdb/exchange/xliff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tdb/exchange/testing/translation_files.h"

namespace {

class Xliff : public TranslationTest {
 protected:
  static std::string Export(int language, const char* code = "") {
    PoExportOptions options;
    options.Language = language;
    options.LanguageCode = code;
    options.Project = "strings.tdb";
    options.Generator = "tdbtool 9";
    ByteBuilder out;
    WriteXliff(out, options);
    EXPECT_FALSE(out.ErrorCode());
    return std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
  }
  static Applied Apply(const std::string& xliff, int language = 1, bool fuzzy = false) {
    PoImportOptions options;
    options.Language = language;
    options.Fuzzy = fuzzy;
    return ApplyFile(ApplyXliff, xliff, "in.xlf", options);
  }
  // A file of the units given, in the XLIFF 1.2 namespace.
  static std::string File(const std::string& units, const std::string& file_attributes = "") {
    return "<?xml version=\"1.0\"?>\n<xliff version=\"1.2\" "
           "xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
           "<file original=\"x\" source-language=\"en\" datatype=\"plaintext\"" +
           file_attributes + "><body>\n" + units + "</body></file></xliff>\n";
  }
};

TEST_F(Xliff, ExportWritesOneUnitPerStringWithKeyNotesAndState) {
  TranslateDBClass::AddCategoryNamed("Default");
  Add(1000, "IDS_OK", u"OK & <go>")->SetText(1, u"Gut \"q\"");
  Add(1001, "", u"%d\r\n", 7);
  EXPECT_EQ(
      Export(1, "de"),
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\" "
      "xmlns:tdb=\"urn:x-tdbtool:xliff\">\n"
      "  <file original=\"strings.tdb\" source-language=\"en\" target-language=\"de\" datatype=\"plaintext\" "
      "tdb:language=\"1\">\n"
      "    <header>\n      <tool tool-id=\"tdbtool\" tool-name=\"tdbtool 9\"/>\n    </header>\n    <body>\n"
      "      <trans-unit id=\"1000 IDS_OK\" resname=\"1000 IDS_OK\" approved=\"yes\" "
      "xml:space=\"preserve\">\n"
      "        <source>OK &amp; &lt;go&gt;</source>\n"
      "        <target state=\"translated\">Gut \"q\"</target>\n"
      "        <note from=\"developer\">ID 1000, symbolic ID IDS_OK</note>\n"
      "        <note from=\"developer\">Category: Default</note>\n"
      "      </trans-unit>\n"
      "      <trans-unit id=\"1001\" resname=\"1001\" xml:space=\"preserve\">\n"
      "        <source>%d<ph id=\"c1\" ctype=\"x-tdb-char\">U+000D</ph>\n</source>\n"
      "        <target state=\"needs-translation\"/>\n"
      "        <note from=\"developer\">ID 1001, no symbolic ID</note>\n"
      "        <note from=\"developer\">Category: none (ID 7)</note>\n"
      "      </trans-unit>\n    </body>\n  </file>\n</xliff>\n");
}

TEST_F(Xliff, EveryTextSurvivesTheRoundTrip) {
  const char16_t lone[] = {u'a', 0xDC00, u'b', 0xD800, 0};
  const std::vector<std::u16string> texts = {u"Line\nfeed\n",
                                             u"\r\n\r",
                                             u"\ttabs\t",
                                             u"  leading and trailing  ",
                                             u"<&>\"' ]]>",
                                             u"\U0001F3AE outside the BMP",
                                             u"\x01\x1b\x7f controls \uFFFE\uFFFF",
                                             lone,
                                             u"\u00dcml\u00e4ute \u4e2d"};
  for (size_t i = 0; i < texts.size(); ++i) {
    Add(1000 + static_cast<int>(i), i % 2 ? "" : "IDS_\xe9", texts[texts.size() - 1 - i].c_str())
        ->SetText(3, texts[i].c_str());
  }
  std::string xliff = Export(3);
  for (size_t i = 0; i < texts.size(); ++i) TranslateDBClass::GetObject(static_cast<int>(i))->SetText(3, u"");
  Applied first = Apply(xliff, 3);
  ASSERT_TRUE(first.ok) << first.error;
  EXPECT_EQ(first.report.Applied, static_cast<int>(texts.size()));
  EXPECT_TRUE(first.warnings.empty());
  for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(Text(1000 + static_cast<int>(i), 3), texts[i]) << i;
  EXPECT_EQ(Apply(xliff, 3).report.Unchanged, static_cast<int>(texts.size()));
}

// A CAT tool fills the targets and sets their state; other tools key the units in their own ways.
TEST_F(Xliff, TargetsAreAppliedByStateAndKeyAsToolsWriteThem) {
  for (int id = 1000; id < 1010; ++id) Add(id, "IDS_A", u"A");
  const std::string units =
      "<trans-unit id=\"t1\" resname=\"1000 IDS_A\"><source>A</source><target state=\"translated\">x</target>"
      "</trans-unit>\n"
      "<trans-unit id=\"1001 IDS_A\"><source>A</source><target state=\"final\"><g id=\"1\">y</g><mrk "
      "mtype=\"x\">z</mrk></target></trans-unit>\n"
      "<trans-unit id=\"3\"><source>A</source><target>n</target><note>ID 1002, symbolic ID IDS_A</note>"
      "<alt-trans><target>not this</target></alt-trans></trans-unit>\n"
      "<trans-unit id=\"_m\"><source>A</source><target>c</target><context-group><context "
      "context-type=\"x-gettext-msgctxt\">1003 IDS_A</context></context-group></trans-unit>\n"
      "<trans-unit id=\"1004 IDS_A\"><source>A</source><target state=\"needs-review-translation\">f</target>"
      "</trans-unit>\n"
      "<trans-unit id=\"1005 IDS_A\"><source>A</source><target state=\"new\"/></trans-unit>\n"
      "<trans-unit id=\"1006 IDS_A\"><source>A</source><target>a <bpt id=\"1\">&lt;b&gt;</bpt>b</target>"
      "</trans-unit>\n"
      "<trans-unit id=\"1007 IDS_B\"><source>A</source><target>w</target></trans-unit>\n"
      "<trans-unit id=\"1008 IDS_A\"><source>B</source><target>w</target></trans-unit>\n"
      "<trans-unit id=\"9\"><source>A</source><target>w</target><note>ID 1009, symbolic ID IDS_X</note>"
      "</trans-unit>\n"
      "<group><trans-unit id=\"1009 IDS_A\"><source>A</source><target><![CDATA[<%%>]]></target></trans-unit>"
      "</group>\n";
  Applied result = Apply(File(units));
  ASSERT_TRUE(result.ok) << result.error;
  EXPECT_EQ(result.report.Applied, 5);
  EXPECT_EQ(result.report.Unchanged, 1);
  EXPECT_EQ(result.report.Fuzzy, 1);
  EXPECT_EQ(
      result.warnings,
      (std::vector<std::string>{
          "in.xlf:10: a trans-unit with an inline code <bpt>, which the database's plain texts cannot hold; "
          "skipped",
          "in.xlf:11: string 1007 is \"IDS_A\" now, not \"IDS_B\"; skipped",
          "in.xlf:12: string 1008 \"IDS_A\": its English text changed since the export; skipped",
          "in.xlf:13: string 1009 is \"IDS_A\" now, not what its \"ID\" note says; skipped"}));
  const std::vector<std::u16string> texts = {u"x",      u"yz",     u"n",      u"c",      u"<none>",
                                             u"<none>", u"<none>", u"<none>", u"<none>", u"<%%>"};
  for (int id = 1000; id < 1010; ++id) EXPECT_EQ(Text(id, 1), texts[id - 1000]) << id;
  EXPECT_EQ(Apply(File(units), 1, true).report.Applied, 1);
  EXPECT_EQ(Text(1004, 1), u"f");
}

TEST_F(Xliff, BadFilesAreRefusedWithTheLineAndChangeNothing) {
  Add(1000, "IDS_A", u"A");
  const std::string unit =
      "<trans-unit id=\"1000 IDS_A\"><source>A</source><target>x</target></trans-unit>\n";
  const std::string laughs =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
      "\"&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n<xliff version=\"1.2\">&c;</xliff>";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {laughs, "in.xlf:2: a DOCTYPE: this reader takes no DTD, and so no entities from one"},
      {"<!DOCTYPE x SYSTEM \"/etc/passwd\"><xliff/>", "in.xlf:1: a DOCTYPE"},
      {File(unit + "<trans-unit id=\"1000 IDS_A\"><source>A</source><target>y</target></trans-unit>\n"),
       "in.xlf:5: a second entry for string 1000 (the first is at line 4)"},
      {File(unit, " xmlns:t=\"urn:x-tdbtool:xliff\" t:language=\"2\""),
       "in.xlf:3: the file holds language 2 (tdb:language 2), not language 1"},
      {File(unit, " target-language=\"fr\""), ""},
      {"<xliff xmlns=\"urn:oasis:names:tc:xliff:document:2.0\"/>", "in.xlf:1: an XLIFF version this tdbtool"},
      {"<html/>", "in.xlf:1: no XLIFF: the root element is <html>"},
      {"", "in.xlf:1: "},
      {File(unit).substr(0, 200), "in.xlf:"},
      {File("<trans-unit id=\"1000 IDS_A\"><source>A</source><target>&undefined;</target></trans-unit>"),
       "in.xlf:4: "},
      {File("<trans-unit id=\"1000 IDS_A\"><source>A</source><target>\x01</target></trans-unit>"),
       "in.xlf:4: "},
      {File("<trans-unit id=\"1000 IDS_A\"><source>A</source><target><ph ctype=\"x-tdb-char\">U+0</ph>"
            "</target></trans-unit>"),
       "in.xlf:4: a placeholder of a character that is not U+0001 to U+FFFF"},
  };
  for (const auto& [xliff, error] : cases) {
    Reset();
    Add(1000, "IDS_A", u"A");
    Applied result = Apply(xliff);
    if (error.empty()) {
      EXPECT_TRUE(result.ok) << xliff << result.error;  // only given with --language-code
      continue;
    }
    EXPECT_FALSE(result.ok) << xliff;
    EXPECT_EQ(result.error.rfind(error, 0), 0u) << result.error;
    EXPECT_EQ(Text(1000, 1), u"<none>") << xliff;
  }
}

}  // namespace
