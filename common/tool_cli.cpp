// Parsing a companion's command line with CLI11, and its usage errors.
#include "common/tool_cli.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
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

// The part of a parser message after its first ": ", or the whole message.
std::string After(const std::string& text, const std::string& mark) {
  size_t at = text.find(mark);
  return at == std::string::npos ? text : text.substr(at + mark.size());
}

// The first word of a list the parser joined with spaces.
std::string FirstWord(const std::string& words) { return words.substr(0, words.find(' ')); }

// The problem in the toolset's own words: the parser's texts are built from the names it was
// given, and only those are taken from them.
std::string Reworded(const CLI::ParseError& e) {
  const std::string text = e.what();
  if (dynamic_cast<const CLI::ExtrasError*>(&e)) {
    std::string word = FirstWord(After(text, "expected: "));
    if (word.size() > 1 && word[0] == '-') return "unknown option " + word;
    return "unexpected argument \"" + word + "\"";
  }
  if (dynamic_cast<const CLI::RequiredError*>(&e)) return text;  // "NAME is required"
  if (dynamic_cast<const CLI::RequiresError*>(&e)) return text;  // "NAME requires OTHER"
  if (dynamic_cast<const CLI::ExcludesError*>(&e)) {
    return text.substr(0, text.find(' ')) + " cannot be given with " + After(text, " excludes ");
  }
  if (dynamic_cast<const CLI::ValidationError*>(&e)) return text;  // "NAME: " and one of ours
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e)) {
    std::string name = text.find(" arguments to ") != std::string::npos
                           ? After(text, " arguments to ").substr(0, After(text, " arguments to ").find(','))
                           : text.substr(0, text.find(':'));
    return name + " needs a value";
  }
  if (dynamic_cast<const CLI::ConversionError*>(&e)) {
    if (text.find("Could not convert: ") == 0) {
      std::string rest = After(text, "Could not convert: ");
      return rest.substr(0, rest.find(" = ")) + ": \"" + After(rest, " = ") + "\" is not a valid value";
    }
    if (text.find(": ") != std::string::npos) return text.substr(0, text.find(':')) + " takes no value";
    return After(text, " for ") + ": \"" +
           After(text.substr(0, text.find(" is not an allowed")), "The value ") + "\" is not a valid value";
  }
  return "wrong arguments";
}

}  // namespace

CLI::Validator NumberFrom(long long low, long long high) {
  std::string range = std::to_string(low) + " to " + std::to_string(high);
  return CLI::Validator(
      [low, high, range](std::string& text) {
        char* end = nullptr;
        long long number = std::strtoll(text.c_str(), &end, 10);
        if (text.empty() || *end != 0 || number < low || number > high) {
          return "\"" + text + "\" is not a whole number from " + range;
        }
        return std::string();
      },
      std::to_string(low) + "-" + std::to_string(high));
}

CLI::Validator AboveZero() {
  return CLI::Validator(
      [](std::string& text) {
        char* end = nullptr;
        double number = std::strtod(text.c_str(), &end);
        if (text.empty() || *end != 0 || !(number > 0)) return "\"" + text + "\" is not a number above 0";
        return std::string();
      },
      "POSITIVE");
}

void Prepare(CLI::App& app) {
  app.set_version_flag("--version", app.get_name() + " " TX_VERSION "\n" TX_VERSION_NOTICE);
}

int Parse(CLI::App& app, int argc, char** argv) {
  const ReportClass report(app.get_name().c_str());
  try {
    app.parse(argc, argv);
    return -1;
  } catch (const CLI::Success& e) {
    // Help and the version go to standard output, which may be full or closed.
    int code = app.exit(e) == 0 ? kSuccess : kUsage;
    bool written = static_cast<bool>(std::cout.flush()) && std::fflush(stdout) == 0 && !std::ferror(stdout);
    return written ? code : report.FailStandardOutput();
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
      message = Reworded(e);
      if (command) {
        message = command->get_name() + ": " + message;
        help = program + " " + command->get_name() + " --help";
      }
    }
    report.Fail(message + "\nTry '" + help + "' for more information.");
    return kUsage;
  }
}

}  // namespace tool_cli
