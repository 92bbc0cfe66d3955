#include "cli/option_reader.h"

#include <algorithm>
#include <utility>

#include "cli/command_output.h"

namespace fenmarq {
namespace {

constexpr Text kUnknownOptionText = {"unknown option '{}'", "「{}」というオプションはありません"};

// The spec that `arg` names: "--name" or "--name=value" for `name`, "-x" or
// "-xvalue" for `letter`; null for none.
const OptionSpec* specOf(std::string_view arg, std::span<const OptionSpec> options) {
  const auto found = std::ranges::find_if(options, [arg](const OptionSpec& spec) {
    if (arg.starts_with("--")) return arg.substr(0, arg.find('=')) == spec.name;
    return spec.letter != '\0' && arg[1] == spec.letter;
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
                      std::span<const OptionSpec> options) {
  const std::string& arg = args[at];
  const OptionSpec* spec = specOf(arg, options);
  const std::size_t valueAt = attachedValueAt(arg);
  const bool takesValue = spec != nullptr && !spec->missingValueText.english.empty();
  if (spec == nullptr || (!takesValue && valueAt != std::string::npos)) {
    return {ArgumentItem::kError, -1, fill(kUnknownOptionText, {arg})};
  }
  if (!takesValue) return {ArgumentItem::kOption, spec->id, ""};
  if (valueAt != std::string::npos) return {ArgumentItem::kOption, spec->id, arg.substr(valueAt)};
  if (at + 1 == args.size()) {
    return {ArgumentItem::kError, -1, fill(spec->missingValueText, {arg})};
  }
  return {ArgumentItem::kOption, spec->id, args[++at]};
}

}  // namespace

ReadArguments readArguments(std::span<const std::string> args,
                            std::span<const OptionSpec> options) {
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
