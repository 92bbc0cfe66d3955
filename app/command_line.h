// The window's command line, `fenmarq [FOLDER] [FILE...]`, apart from any
// toolkit: --help and --version, answered before a display is needed, and
// which arguments are the start folder and which become the list's entries.
#ifndef FENMARQ_APP_COMMAND_LINE_H_
#define FENMARQ_APP_COMMAND_LINE_H_

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/user_language.h"

namespace fenmarq {

enum class WindowRequest { kOpen, kHelp, kVersion };

// --help (-h) or --version (-v) anywhere before "--", whatever else the
// arguments hold (Qt's own options among them): the first one asked for.
WindowRequest windowRequestOf(const std::vector<std::string>& args);

// The usage, options and exit statuses, in Japanese or in English.
std::string_view windowHelp(bool japanese);

// The line after a usage error on standard error that points to --help.
std::string_view windowHelpHint(bool japanese);

// The usage in a few Japanese sentences, for a message box where there is
// no console to print the help on.
std::string_view windowUsageInBrief();

enum class UsageError { kNone, kUnknownOption, kSecondFolder };

struct WindowStart {
  std::optional<std::string> folder;  // the start folder, when not the current one
  std::vector<std::string> entries;   // the list's entries, in order, absolute
  UsageError error = UsageError::kNone;
  std::string errorArgument;  // the argument in error
};

// Sorts the arguments that Qt left: a path that names an existing file
// other than a folder becomes an entry; any other path is the start folder,
// of which there is one at most (one that cannot be entered is said when it
// is entered). Without a folder the window starts in the first entry's. The
// entries are made absolute here, before the start folder is entered.
WindowStart windowStartOf(const std::vector<std::string>& args);

// What is wrong with the command line, in Japanese or in English, one line
// without its end; "" when nothing is.
std::string usageErrorText(const WindowStart& start, bool japanese);

}  // namespace fenmarq

#endif  // FENMARQ_APP_COMMAND_LINE_H_
