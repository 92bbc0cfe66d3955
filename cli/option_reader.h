// Reads a command's arguments by one set of rules: an option is --name or
// -x, its value the next argument, or after --name= or -x itself; "--" ends
// the options; "-" and anything else not starting with "-" is an operand.
// --help (-h) and --version are understood anywhere among the options.
#ifndef FENMARQ_CLI_OPTION_READER_H_
#define FENMARQ_CLI_OPTION_READER_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/text.h"

namespace fenmarq {

struct OptionRule {
  int id;                 // what the command tells its options apart by
  std::string_view name;  // "--jobs"
  char letter = '\0';     // 'j' for -j, or none
  // For an option with a value, the usage error when it is missing, "{}"
  // standing for the option as given; empty for an option without one.
  Text missingValueText = {};
};

struct ArgumentItem {
  enum Kind { kOption, kOperand, kError };
  Kind kind;
  int option = -1;   // the OptionRule's id, for kOption
  std::string text;  // the option's value, the operand, or the usage error
};

enum class Request { kRun, kHelp, kVersion };

struct ReadArguments {
  Request request = Request::kRun;  // the first of --help and --version given
  // The options and operands in order; a usage error ends them.
  std::vector<ArgumentItem> items;
};

ReadArguments readArguments(std::span<const std::string> args, std::span<const OptionRule> options);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_OPTION_READER_H_
