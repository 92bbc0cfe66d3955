// fenmarq-cli: the batch conversion for scripts and large batches. Each
// command lives in its own file; this one finds it, reads its options and
// answers --help and --version.
#include <algorithm>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/option_reader.h"
#include "platform/cp932.h"
#include "platform/program_entry.h"

namespace fenmarq {
namespace {

const Command* const kCommands[] = {&kConvertCommand, &kTableCommand, &kSamplesCommand};

constexpr std::string_view kUsageHeading = "Usage:\n";
constexpr std::string_view kHelpSynopsis = "  fenmarq-cli [COMMAND] --help | --version\n";
constexpr std::string_view kAbout =
    R"(Converts JMA observation files (amd/sfc, 1min/10sec) into CSV sheets (code
page 932) with a hexadecimal rendering and a verified copy of it.
)";
// Every command's statuses together; the README and the manual page repeat
// it word for word.
constexpr std::string_view kExitStatusText =
    R"(Exit status: 0 done; 1 a failure ended the batch (an input or output that
cannot be opened, memory, a start folder that cannot be entered, no CP932
codec) or the table could not be written; 2 usage error (a LIST line that
is not text among them), or table inputs that are no conversion target,
cannot be opened or differ in format; 3 done, but a file could not be
written or closed completely, a CHK comparison failed, or an input held
more bytes than its reported size.
)";
// The version, then the codec's name.
constexpr std::string_view kVersionText =
    "fenmarq-cli {}\n"
    "Copyright (c) 2026 The Fenmarq developers; MIT License\n"
    "CP932 codec: {}\n";
constexpr std::string_view kMissingCommandText = "missing command";
constexpr std::string_view kUnknownCommandText = "unknown command '{}'";
constexpr std::string_view kOutOfMemoryText = "out of memory";

// The whole usage: every command's synopsis, then every command's
// paragraph, then all exit statuses.
std::string programHelp() {
  std::string help(kUsageHeading);
  for (const Command* command : kCommands) help.append(command->help.synopsis);
  help.append(kHelpSynopsis).append("\n").append(kAbout).append("\n");
  for (const Command* command : kCommands) help.append(command->help.description);
  return help.append("\n").append(kExitStatusText);
}

std::string commandHelp(const Command& command) {
  return std::string(kUsageHeading)
      .append(command.help.synopsis)
      .append("\n")
      .append(command.help.description)
      .append("\n")
      .append(command.help.exitStatus);
}

std::string versionText() {
  return fill(kVersionText, {FENMARQ_VERSION, Cp932Encoder::codecName()});
}

const Command* commandNamed(std::string_view name) {
  const auto found = std::ranges::find(kCommands, name, &Command::name);
  return found == std::end(kCommands) ? nullptr : *found;
}

int runCommand(const Command& command, std::span<const std::string> args) {
  const ReadArguments read = readArguments(args, command.options);
  switch (read.request) {
    case Request::kHelp:
      return printProduct(commandHelp(command));
    case Request::kVersion:
      return printProduct(versionText());
    case Request::kRun:
      break;
  }
  return command.run(read.items);
}

}  // namespace

int programMain(const std::vector<std::string>& argv) try {
  if (argv.size() < 2) return usageError(kMissingCommandText);
  const std::string_view name = argv[1];
  if (name == "--help" || name == "-h") return printProduct(programHelp());
  if (name == "--version") return printProduct(versionText());
  const Command* command = commandNamed(name);
  if (command == nullptr) return usageError(fill(kUnknownCommandText, {name}));
  return runCommand(*command, std::span(argv).subspan(2));
} catch (const std::bad_alloc&) {
  return failed(kOutOfMemoryText, kExitBatchEnded);
}

}  // namespace fenmarq
