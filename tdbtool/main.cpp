// tdbtool: a command-line companion of the string editor for build pipelines. It creates,
// dumps, checks and converts string databases (*.tdb) with the editor's own code.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "common/allocore.h"
#include "common/platform/platform.h"
#include "common/tool_cli.h"
#include "strandex/db/translate_db.h"
#include "tdbtool/commands.h"

int main(int argc, char** argv) {
  platform::OpenClosedStandardStreams();
  platform::CommandLineClass args(argc, argv);
  CLI::App app{
      "Creates, dumps, checks and converts string databases (*.tdb). A file named - is\n"
      "standard output, or standard input for the files that import-table and import-po read.",
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
  CLI::App* cmd_export_po = app.add_subcommand(
      "export-po",
      "Write one language as a gettext PO file for translators, or without --language the template");
  cmd_export_po->add_option("IN.tdb", in, "Database to read")->required();
  cmd_export_po->add_option("OUT.po", out, "PO file (or template) to write (- for standard output)")
      ->required();
  cmd_export_po->add_option("--language", language, "Language index whose texts become the translations")
      ->check(CLI::Range(1, TDBStringClass::kMaxLanguage));
  cmd_export_po
      ->add_option("--language-code", language_code, "Language code for the header, such as de or pt_BR")
      ->check(CLI::Validator(
          [](std::string& code) {
            return tdbtool::IsLanguageCode(code)
                       ? std::string()
                       : "only letters, digits and _ - @ . may stand in a language code";
          },
          "CODE"));
  add_salvage(cmd_export_po);

  CLI::App* cmd_import_po = app.add_subcommand(
      "import-po", "Write the translations of a PO file into one language of a database, in place");
  cmd_import_po->add_option("DB.tdb", out, "Database to update")->required();
  cmd_import_po->add_option("IN.po", in, "PO file to read (- for standard input)")->required();
  cmd_import_po->add_option("--language", language, "Language index that receives the translations")
      ->required()
      ->check(CLI::Range(1, TDBStringClass::kMaxLanguage));
  cmd_import_po->add_flag("--fuzzy", po_options.Fuzzy, "Apply entries marked fuzzy too");
  cmd_import_po->add_flag("--strict", po_options.Strict,
                          "Refuse the whole file when any entry cannot be applied");

  CLI::App* cmd_check =
      app.add_subcommand("check", "List the problems of a database, one a line; exit 1 when there are any");
  cmd_check->add_option("IN.tdb", in, "Database to read")->required();
  add_salvage(cmd_check);

  if (int code = tool_cli::Parse(app, args.Count(), args.Values()); code >= 0) return code;
  po_options.Language = language;

  // The object table grows by 65,536 slots at a time: a database of 100,000 strings then loads
  // without its table being copied a hundred times over (the editor grows it by 1000).
  TranslateDBClass::SetObjectGrowthStep(1 << 16);
  auto run = [&]() {
    if (cmd_new->parsed()) return tdbtool::NewDatabase(out);
    if (cmd_dump->parsed()) return tdbtool::Dump(in, options, stdout);
    if (cmd_header->parsed()) return tdbtool::ExportHeader(in, out, options);
    if (cmd_export->parsed()) return tdbtool::ExportTable(in, out, options);
    if (cmd_import->parsed()) return tdbtool::ImportTable(in, out);
    if (cmd_export_po->parsed()) return tdbtool::ExportPo(in, out, language, language_code, options);
    if (cmd_import_po->parsed()) return tdbtool::ImportPo(out, in, po_options, stdout);
    return tdbtool::Check(in, options, stdout);
  };
  // The database goes with the process instead of being freed record by record.
  allocore::ExitKeepingMemory(run());
}
