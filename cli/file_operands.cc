#include "cli/file_operands.h"

#include "cli/command.h"
#include "cli/command_output.h"
#include "cli/path_list.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

constexpr Text kStandardInputName = {"(standard input)", "（標準入力）"};
constexpr Text kListUnreadableText = {"{}: cannot read: {}", "{}: 読めません: {}"};
constexpr Text kListNotTextText = {"{}:{}: not valid text", "{}:{}: テキストとして読めません"};
// A list that was read in the system's code page too.
constexpr Text kListNotTextInCodePageText = {
    "{}:{}: not valid text (neither UTF-8 nor code page {}; chcp 65001 makes cmd write UTF-8)",
    "{}:{}: テキストとして読めません（UTF-8 でもコード ページ {} でもありません。chcp 65001 "
    "を実行すると、コマンド プロンプトは UTF-8 で書きます）"};

}  // namespace

void appendFileArgument(const std::string& arg, std::vector<std::string>& files) {
  const std::vector<std::string> named = expandFileArgument(arg);
  files.insert(files.end(), named.begin(), named.end());
}

int appendListed(const std::vector<std::string>& lists, std::vector<std::string>& paths) {
  for (const std::string& list : lists) {
    const std::string_view name = list == "-" ? say(kStandardInputName) : list;
    ListFailure failure;
    if (readPathList(list, paths, &failure)) continue;
    if (failure.badLine == 0) {
      return failed(fill(kListUnreadableText, {name, failure.reason}), kExitBatchEnded);
    }
    const std::string line = std::to_string(failure.badLine);
    if (failure.codePage == 0) return failed(fill(kListNotTextText, {name, line}), kExitUsage);
    return failed(fill(kListNotTextInCodePageText, {name, line, std::to_string(failure.codePage)}),
                  kExitUsage);
  }
  return kExitSuccess;
}

}  // namespace fenmarq
