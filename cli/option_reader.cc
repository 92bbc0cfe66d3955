#include "cli/option_reader.h"

#include <algorithm>
#include <utility>

#include "cli/command_output.h"

namespace fenmarq {
namespace {

constexpr Text kUnknownOptionText = {"unknown option '{}'", "「{}」というオプションはありません"};

// The option rule that `arg` names: "--name" or "--name=value" for `name`, "-x" or
// "-xvalue" for `letter`; null for none.
const OptionRule* ruleOf(std::string_view arg, std::span<const OptionRule> options) {
  const auto found = std::ranges::find_if(options, [arg](const OptionRule& rule) {
    if (arg.starts_with("--")) return arg.substr(0, arg.find('=')) == rule.name;
    return rule.letter != '\0' && arg[1] == rule.letter;
  });
  return found == options.end() ? nullptr : &*found;
}

// Where the value in `arg` itself starts ("--name=value", "-xvalue"), or npos.
std::size_t attachedValueAt(std::string_view arg) {
  if (!arg.starts_with("--")) return arg.size() > 2 ? 2 : std::string_view::npos;
  const std::size_t equals = arg.find('=');
  return equals == std::string_view::npos ? equals : equals + 1;
}

// Reads the option `args[at]` with its value, leaving `at` at the last
// argument it takes: a usage error when it names no option, has a value it
// does not take, or lacks the one it takes.
ArgumentItem optionAt(std::span<const std::string> args, std::size_t& at,
                      std::span<const OptionRule> options) {
  const std::string& arg = args[at];
  const OptionRule* rule = ruleOf(arg, options);
  const std::size_t valueAt = attachedValueAt(arg);
  const bool takesValue = rule != nullptr && !rule->missingValueText.english.empty();
  if (rule == nullptr || (!takesValue && valueAt != std::string::npos)) {
    return {ArgumentItem::kError, -1, fill(kUnknownOptionText, {arg})};
  }
  if (!takesValue) return {ArgumentItem::kOption, rule->id, ""};
  if (valueAt != std::string::npos) return {ArgumentItem::kOption, rule->id, arg.substr(valueAt)};
  if (at + 1 == args.size()) {
    return {ArgumentItem::kError, -1, fill(rule->missingValueText, {arg})};
  }
  return {ArgumentItem::kOption, rule->id, args[++at]};
}

}  // namespace

ReadArguments readArguments(std::span<const std::string> args,
                            std::span<const OptionRule> options) {
  ReadArguments read;
  bool optionsDone = false;
  const auto ask = [&read](Request request) {
    if (read.request == Request::kRun) read.request = request;
  };
  // After a usage error the rest is still read for --help and --version.
  const auto add = [&read](ArgumentItem item) {
    if (read.items.empty() || read.items.back().kind != ArgumentItem::kError) {
      read.items.push_back(std::move(item));
    }
  };
  for (std::size_t at = 0; at < args.size(); ++at) {
    const std::string& arg = args[at];
    if (optionsDone || arg == "-" || !arg.starts_with('-')) {
      add({ArgumentItem::kOperand, -1, arg});
    } else if (arg == "--") {
      optionsDone = true;
    } else if (arg == "--help" || arg == "-h") {
      ask(Request::kHelp);
    } else if (arg == "--version") {
      ask(Request::kVersion);
    } else {
      add(optionAt(args, at, options));
    }
  }
  return read;
}

}  // namespace fenmarq
