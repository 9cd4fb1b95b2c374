// Parsing a companion's command line with CLI11, and its usage errors.
#include "common/tool_cli.h"

#include <cstdio>
#include <string>

#include "common/version.h"

namespace tool_cli {

namespace {

// The subcommand of app named by the first word that is not an option, or null; that word goes
// to word (empty when there is none).
CLI::App* FirstCommand(CLI::App& app, int argc, char** argv, std::string* word) {
  word->clear();
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.size() > 1 && arg[0] == '-') continue;
    *word = arg;
    for (CLI::App* command : app.get_subcommands({})) {
      if (command->check_name(arg)) return command;
    }
    return nullptr;
  }
  return nullptr;
}

// The first option-like word of the arguments that app does not know, or empty.
std::string UnknownTopLevelOption(CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.size() < 2 || arg[0] != '-') return "";
    std::string name = arg.substr(0, arg.find('='));
    if (!app.get_option_no_throw(name)) return arg;
  }
  return "";
}

}  // namespace

void Prepare(CLI::App& app) {
  app.set_version_flag("--version", app.get_name() + " " TX_VERSION "\n" TX_VERSION_NOTICE);
}

int Parse(CLI::App& app, int argc, char** argv) {
  try {
    app.parse(argc, argv);
    return -1;
  } catch (const CLI::Success& e) {
    return app.exit(e) == 0 ? kSuccess : kUsage;
  } catch (const CLI::ParseError& e) {
    const std::string& program = app.get_name();
    std::string word;
    CLI::App* command = app.get_subcommands({}).empty() ? nullptr : FirstCommand(app, argc, argv, &word);
    std::string message, help = program + " --help";
    if (!app.get_subcommands({}).empty() && !command) {
      std::string option = UnknownTopLevelOption(app, argc, argv);
      if (!option.empty()) {
        message = "unknown option " + option;
      } else if (word.empty()) {
        message = "no command given";
      } else {
        message = "unknown command \"" + word + "\"";
      }
    } else {
      message = e.what();
      if (command) {
        message = command->get_name() + ": " + message;
        help = program + " " + command->get_name() + " --help";
      }
    }
    std::fprintf(stderr, "%s: %s\nTry '%s' for more information.\n", program.c_str(), message.c_str(),
                 help.c_str());
    return kUsage;
  }
}

}  // namespace tool_cli
