#include "cli/file_operands.h"

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/path_list.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

constexpr std::string_view kStandardInputName = "(standard input)";
constexpr std::string_view kListUnreadableText = "{}: cannot read: {}";
constexpr std::string_view kListNotTextText = "{}:{}: not valid text";

}  // namespace

void appendFileArgument(const std::string& arg, std::vector<std::string>& files) {
  const std::vector<std::string> named = expandFileArgument(arg);
  files.insert(files.end(), named.begin(), named.end());
}

int appendListed(const std::vector<std::string>& lists, std::vector<std::string>& paths) {
  for (const std::string& list : lists) {
    const std::string_view name = list == "-" ? kStandardInputName : list;
    std::size_t line = 0;
    std::string err;
    if (readPathList(list, paths, &line, &err)) continue;
    if (line == 0) return failed(fill(kListUnreadableText, {name, err}), kExitBatchEnded);
    return failed(fill(kListNotTextText, {name, std::to_string(line)}), kExitUsage);
  }
  return kExitSuccess;
}

}  // namespace fenmarq
