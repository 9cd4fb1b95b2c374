// tdbtool: a command-line companion of the string editor for build pipelines. It creates,
// dumps, checks and converts string databases (*.tdb) with the editor's own code.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "common/allocore.h"
#include "common/platform/platform.h"
#include "common/tool_cli.h"
#include "tdb/translate_db.h"
#include "tdbtool/commands.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  CLI::App app{
      "Creates, dumps, checks and converts string databases (*.tdb). A file named - is\n"
      "standard output, or standard input for the files that import-table, import-po and import-xliff read.",
      "tdbtool"};
  tool_cli::Prepare(app);
  app.require_subcommand(1);

  std::string in, out;
  tdbtool::LoadOptions options;
  auto add_salvage = [&options](CLI::App* command) {
    command->add_flag("--salvage", options.salvage,
                      "Read what is left of a damaged database instead of refusing it");
  };

  CLI::App* cmd_new =
      app.add_subcommand("new", "Write the database the editor starts with: category \"Default\", ID 1");
  cmd_new->add_option("OUT.tdb", out, "Database to write (- for standard output)")->required();

  CLI::App* cmd_dump = app.add_subcommand("dump", "Write the whole database as JSON on standard output");
  cmd_dump->add_option("IN.tdb", in, "Database to read")->required();
  add_salvage(cmd_dump);

  bool dump_lines = false;
  cmd_dump->add_flag("--lines", dump_lines, "Write one field a line instead, for diffs (git's textconv)");
  std::string second, third;
  bool diff_json = false;
  CLI::App* cmd_diff = app.add_subcommand(
      "diff", "List the strings, categories and variables that differ; exit 0 when equal, 1 when not");
  cmd_diff->add_option("A.tdb", in, "Older database")->required();
  cmd_diff->add_option("B.tdb", second, "Newer database")->required();
  cmd_diff->add_flag("--json", diff_json, "Write the changes as one JSON object");
  add_salvage(cmd_diff);

  CLI::App* cmd_merge = app.add_subcommand(
      "merge", "Three-way merge by string ID and field; exit 1 with the conflicts listed, our side kept");
  cmd_merge->add_option("BASE.tdb", in, "The common ancestor")->required();
  cmd_merge->add_option("OURS.tdb", second, "Our side")->required();
  cmd_merge->add_option("THEIRS.tdb", third, "Their side")->required();
  cmd_merge->add_option("-o,--output", out, "Database to write (may be OURS.tdb; - for standard output)")
      ->required();

  CLI::App* cmd_header =
      app.add_subcommand("export-header", "Write the C header of the symbolic IDs (File, Export C Header)");
  cmd_header->add_option("IN.tdb", in, "Database to read")->required();
  cmd_header->add_option("OUT.h", out, "Header to write (- for standard output)")->required();
  add_salvage(cmd_header);

  CLI::App* cmd_export =
      app.add_subcommand("export-table", "Write the UTF-8 text table (File, Export Table)");
  cmd_export->add_option("IN.tdb", in, "Database to read")->required();
  cmd_export->add_option("OUT.txt", out, "Text table to write (- for standard output)")->required();
  add_salvage(cmd_export);

  CLI::App* cmd_import =
      app.add_subcommand("import-table", "Read a text table and save it as a database (File, Import Table)");
  cmd_import->add_option("IN.txt", in, "Text table to read (- for standard input)")->required();
  cmd_import->add_option("OUT.tdb", out, "Database to write (- for standard output)")->required();

  int language = 0;
  std::string language_code;
  PoImportOptions po_options;
  auto language_code_check = CLI::Validator(
      [](std::string& code) {
        return tdbtool::IsLanguageCode(code)
                   ? std::string()
                   : "only letters, digits and _ - @ . may stand in a language code";
      },
      "CODE");
  // import-po and import-xliff: the file, the language, and the guard that refuses a file exported
  // for another language unless told that it is meant.
  auto add_import = [&](const char* name, const char* help, const char* file, const char* file_help,
                        const char* fuzzy_help) {
    CLI::App* command = app.add_subcommand(name, help);
    command->add_option("DB.tdb", out, "Database to update")->required();
    command->add_option(file, in, file_help)->required();
    command->add_option("--language", language, "Language index that receives the translations")
        ->required()
        ->check(tool_cli::NumberFrom(1, TDBStringClass::kMaxLanguage));
    command->add_flag("--fuzzy", po_options.Fuzzy, fuzzy_help);
    command->add_flag("--strict", po_options.Strict,
                      "Refuse the whole file when any entry cannot be applied");
    command
        ->add_option("--language-code", language_code,
                     "Refuse a file whose header names another language code than this one")
        ->check(language_code_check);
    command->add_flag("--language-mismatch", po_options.LanguageMismatch,
                      "Import a file that names another language index or code all the same");
    return command;
  };
  CLI::App* cmd_export_po = app.add_subcommand(
      "export-po",
      "Write one language as a gettext PO file for translators, or without --language the template");
  cmd_export_po->add_option("IN.tdb", in, "Database to read")->required();
  cmd_export_po->add_option("OUT.po", out, "PO file (or template) to write (- for standard output)")
      ->required();
  cmd_export_po->add_option("--language", language, "Language index whose texts become the translations")
      ->check(tool_cli::NumberFrom(1, TDBStringClass::kMaxLanguage));
  cmd_export_po
      ->add_option("--language-code", language_code, "Language code for the header, such as de or pt_BR")
      ->check(language_code_check);
  add_salvage(cmd_export_po);

  CLI::App* cmd_import_po =
      add_import("import-po", "Write the translations of a PO file into one language of a database, in place",
                 "IN.po", "PO file to read (- for standard input)", "Apply entries marked fuzzy too");

  CLI::App* cmd_export_xliff =
      app.add_subcommand("export-xliff", "Write one language as an XLIFF 1.2 file for CAT tools");
  cmd_export_xliff->add_option("IN.tdb", in, "Database to read")->required();
  cmd_export_xliff->add_option("OUT.xlf", out, "XLIFF file to write (- for standard output)")->required();
  cmd_export_xliff->add_option("--language", language, "Language index whose texts become the targets")
      ->required()
      ->check(tool_cli::NumberFrom(1, TDBStringClass::kMaxLanguage));
  cmd_export_xliff
      ->add_option("--language-code", language_code, "Language code for target-language, such as de")
      ->check(language_code_check);
  add_salvage(cmd_export_xliff);

  CLI::App* cmd_import_xliff = add_import(
      "import-xliff", "Write the targets of an XLIFF file into one language of a database, in place",
      "IN.xlf", "XLIFF file to read (- for standard input)",
      "Apply targets whose state asks for translation or review (new, needs-...) too");

  CLI::App* cmd_check =
      app.add_subcommand("check", "List the problems of a database, one a line; exit 1 when there are any");
  cmd_check->add_option("IN.tdb", in, "Database to read")->required();
  add_salvage(cmd_check);
  bool translations = false, json = false;
  TranslationCheckOptions check;
  CLI::Option* opt_translations = cmd_check->add_flag(
      "--translations", translations,
      "List faults of the translations instead: printf conversions, spaces, line breaks, escapes, empty, "
      "untranslated, too long");
  cmd_check->add_option("--language", check.Language, "Check only this language's translations")
      ->check(tool_cli::NumberFrom(1, TDBStringClass::kMaxLanguage))
      ->needs(opt_translations);
  cmd_check
      ->add_option("--max-ratio", check.MaxRatio,
                   "A translation longer than this many times its English text is a fault (off by default)")
      ->check(tool_cli::AboveZero())
      ->needs(opt_translations);
  cmd_check->add_flag("--json", json, "Write the faults as one JSON object")->needs(opt_translations);

  CLI::App* cmd_stats = app.add_subcommand(
      "stats",
      "Per language: strings translated, the same as English or empty, and English words to translate");
  cmd_stats->add_option("IN.tdb", in, "Database to read")->required();
  cmd_stats->add_flag("--json", json, "Write the figures as one JSON object");
  add_salvage(cmd_stats);

  if (int code = tool_cli::Parse(app, args.Count(), args.Values()); code >= 0) return code;
  po_options.Language = language;
  po_options.LanguageCode = language_code.c_str();

  // The object table grows by 65,536 slots at a time, and beyond that by its own length: a
  // database of a million strings then loads without its table being copied a thousand times
  // over (the editor grows it by 1000).
  TranslateDBClass::SetObjectGrowthStep(1 << 16);
  TranslateDBClass::SetObjectGrowthInProportion(true);
  auto run = [&]() {
    if (cmd_new->parsed()) return tdbtool::NewDatabase(out);
    if (dump_lines) return tdbtool::DumpLines(in, options, stdout);
    if (cmd_dump->parsed()) return tdbtool::Dump(in, options, stdout);
    if (cmd_diff->parsed()) return tdbtool::Diff(in, second, options, diff_json, stdout);
    if (cmd_merge->parsed()) return tdbtool::Merge(in, second, third, out, stdout);
    if (cmd_header->parsed()) return tdbtool::ExportHeader(in, out, options);
    if (cmd_export->parsed()) return tdbtool::ExportTable(in, out, options);
    if (cmd_import->parsed()) return tdbtool::ImportTable(in, out);
    if (cmd_export_po->parsed()) return tdbtool::ExportPo(in, out, language, language_code, options);
    if (cmd_import_po->parsed()) return tdbtool::ImportPo(out, in, po_options, stdout);
    if (cmd_export_xliff->parsed()) return tdbtool::ExportXliff(in, out, language, language_code, options);
    if (cmd_import_xliff->parsed()) return tdbtool::ImportXliff(out, in, po_options, stdout);
    if (cmd_stats->parsed()) return tdbtool::Stats(in, options, json, stdout);
    if (translations) return tdbtool::CheckTranslationsOf(in, options, check, json, stdout);
    return tdbtool::Check(in, options, stdout);
  };
  // The database goes with the process instead of being freed record by record.
  allocore::ExitKeepingMemory(run());
}
