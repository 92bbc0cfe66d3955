// The commands of fenmarq-cli: each is its name, its part of the help, the
// options it reads and the function that runs it. cli/main.cc looks the
// command up, reads its options and answers --help and --version for it.
#ifndef FENMARQ_CLI_COMMAND_H_
#define FENMARQ_CLI_COMMAND_H_

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/option_reader.h"
#include "cli/text.h"

namespace fenmarq {

enum ExitStatus {
  kExitSuccess = 0,
  kExitBatchEnded = 1,  // a failure ended the batch (or output could not be written)
  kExitUsage = 2,
  kExitDataProblems = 3,  // finished, but a close or write failed or a CHK check failed
};

// A command's part of the help; each text ends in a line end.
struct CommandHelp {
  Text synopsis;     // its "  fenmarq-cli NAME ..." lines
  Text description;  // its paragraph, which starts with its name, and its options
  Text exitStatus;   // "Exit status: ..." with the statuses it gives
};

struct Command {
  std::string_view name;
  CommandHelp help;
  std::span<const OptionRule> options;
  // Runs the command on what its arguments hold; the exit status.
  int (*run)(const std::vector<ArgumentItem>& items);
};

extern const Command kConvertCommand;
extern const Command kTableCommand;
extern const Command kSamplesCommand;

}  // namespace fenmarq

#endif  // FENMARQ_CLI_COMMAND_H_
