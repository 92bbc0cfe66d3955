// The files that convert and table read: FILE arguments and the paths of
// each --files-from LIST.
#ifndef FENMARQ_CLI_FILE_OPERANDS_H_
#define FENMARQ_CLI_FILE_OPERANDS_H_

#include <string>
#include <string_view>
#include <vector>

#include "cli/text.h"

namespace fenmarq {

// Appends the files that the argument `arg` names: on Windows its wildcards
// are expanded here, as the shell does elsewhere.
void appendFileArgument(const std::string& arg, std::vector<std::string>& files);

// The usage error of a --files-from without its LIST.
inline constexpr Text kListMissingText = {"--files-from needs a LIST",
                                          "--files-from には LIST が要ります"};

// Appends the paths that each of `lists` names to `paths`, in order:
// kExitSuccess, or the exit status of the first list that cannot be read
// or is not text, after saying so.
int appendListed(const std::vector<std::string>& lists, std::vector<std::string>& paths);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_FILE_OPERANDS_H_
