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

constexpr Text kUsageHeading = {"Usage:\n", "使い方:\n"};
constexpr Text kHelpSynopsis = {"  fenmarq-cli [COMMAND] --help | --version\n",
                                "  fenmarq-cli [コマンド] --help | --version\n"};
constexpr Text kAbout = {
    R"(Converts JMA observation files (amd/sfc, 1min/10sec) into CSV sheets (code
page 932) with a hexadecimal rendering and a verified copy of it.
)",
    R"(気象庁の観測データ（amd・sfc、1分値・10秒値）を CSV ファイル（シフト JIS）に
変換し、元データの１６進表示と、読み戻して確かめたその写しを作ります。
)"};
// Every command's statuses together; the README and the manual page repeat
// it word for word.
constexpr Text kExitStatusText = {
    R"(Exit status: 0 done; 1 a failure ended the batch (an input or output that
cannot be opened, memory, a start folder that cannot be entered, no CP932
codec) or the table could not be written; 2 usage error (a LIST line that
is not text among them), or table inputs that are no conversion target,
cannot be opened or differ in format; 3 done, but a file could not be
written or closed completely, a CHK comparison failed, or an input held
more bytes than its reported size.
)",
    R"(終了ステータス: 0 終了。1 途中で終了した（開けない入力ファイルや出力ファイル、
メモリ不足、移動できない起動フォルダ、CP932 の変換がない）か、表を書けなかった。
2 使い方の誤り（テキストとして読めない LIST の行を含む）か、表の入力に変換対象で
ないもの、開けないもの、形式の違うものがある。3 終了したが、書き込みか閉じるのを
終えられなかったファイル、確認に失敗した CHK ファイル、報告された大きさより長い
入力がある。
)"};
// The version, then the codec's name.
constexpr std::string_view kVersionText =
    "fenmarq-cli {}\n"
    "Copyright (c) 2026 The Fenmarq developers; MIT License\n"
    "CP932 codec: {}\n";
constexpr Text kMissingCommandText = {"missing command", "コマンドがありません"};
constexpr Text kUnknownCommandText = {"unknown command '{}'", "「{}」というコマンドはありません"};
constexpr Text kOutOfMemoryText = {"out of memory", "メモリが足りません"};

// The whole usage: every command's synopsis, then every command's
// paragraph, then all exit statuses.
std::string programHelp() {
  std::string help(say(kUsageHeading));
  for (const Command* command : kCommands) help.append(say(command->help.synopsis));
  help.append(say(kHelpSynopsis)).append("\n").append(say(kAbout)).append("\n");
  for (const Command* command : kCommands) help.append(say(command->help.description));
  return help.append("\n").append(say(kExitStatusText));
}

std::string commandHelp(const Command& command) {
  return std::string(say(kUsageHeading))
      .append(say(command.help.synopsis))
      .append("\n")
      .append(say(command.help.description))
      .append("\n")
      .append(say(command.help.exitStatus));
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
