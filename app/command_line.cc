#include "app/command_line.h"

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"

namespace fenmarq {
namespace {

constexpr std::string_view kHelpEnglish = R"(Usage: fenmarq [FOLDER] [FILE...]
       fenmarq --help | --version

Opens the window that converts JMA observation files (amd/sfc, 1min/10sec)
into CSV sheets (code page 932) with a hexadecimal rendering and a verified
copy of it. Every batch writes into CSVFiles, HEXFiles and CHKFiles of the
start folder: FOLDER when given, else the folder of the first FILE, else the
current folder. Each FILE becomes an entry of the list, in order.

  -h, --help     print this help and exit
  -v, --version  print the version and exit

The options of every Qt program, such as -platform NAME, are understood as
well.

Exit status: 0 the window was closed; 1 the start folder cannot be entered;
2 usage error.
)";

constexpr std::string_view kHelpJapanese = R"(使い方: fenmarq [フォルダ] [ファイル...]
        fenmarq --help | --version

気象庁の観測データ（amd・sfc、1分値・10秒値）を CSV ファイル（シフト JIS）に
変換するウィンドウを開きます。元データの１６進表示と確認用の１６進表示も書きます。
結果は起動フォルダの CSVFiles・HEXFiles・CHKFiles に保存されます。起動フォルダは、
フォルダを指定すればそのフォルダ、指定しなければ最初のファイルのあるフォルダ、
どちらもなければ現在のフォルダです。指定したファイルは順に一覧に加えます。

  -h, --help     この説明を表示して終了します
  -v, --version  バージョンを表示して終了します

-platform 名前 など、Qt のプログラムに共通のオプションも使えます。

終了ステータス: 0 ウィンドウを閉じた、1 起動フォルダに移動できない、
2 使い方の誤り
)";

constexpr std::string_view kHelpHintEnglish = "Try 'fenmarq --help'.";
constexpr std::string_view kHelpHintJapanese = "使い方は 'fenmarq --help' で表示されます。";

constexpr std::string_view kUsageInBrief =
    "使い方: fenmarq [フォルダ] [ファイル...]\n"
    "フォルダを指定するとそのフォルダで、ファイルだけを指定すると最初のファイルのあるフォルダで"
    "作業します。指定したファイルは順に一覧に加えます。";

bool namesFileOtherThanFolder(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(pathFromUtf8(path), error);
  return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

}  // namespace

WindowRequest windowRequestOf(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "--help" || arg == "-h") return WindowRequest::kHelp;
    if (arg == "--version" || arg == "-v") return WindowRequest::kVersion;
  }
  return WindowRequest::kOpen;
}

std::string_view windowHelp(bool japanese) { return japanese ? kHelpJapanese : kHelpEnglish; }

std::string_view windowHelpHint(bool japanese) {
  return japanese ? kHelpHintJapanese : kHelpHintEnglish;
}

std::string_view windowUsageInBrief() { return kUsageInBrief; }

WindowStart windowStartOf(const std::vector<std::string>& args) {
  WindowStart start;
  bool optionsDone = false;
  for (const std::string& arg : args) {
    if (!optionsDone && arg == "--") {
      optionsDone = true;
    } else if (!optionsDone && arg.size() > 1 && arg[0] == '-') {
      start.error = UsageError::kUnknownOption;
      start.errorArgument = arg;
      return start;
    } else if (namesFileOtherThanFolder(arg)) {
      std::error_code error;
      const std::filesystem::path absolute = std::filesystem::absolute(pathFromUtf8(arg), error);
      start.entries.push_back(error ? arg : utf8FromPath(absolute));
    } else if (start.folder) {
      start.error = UsageError::kSecondFolder;
      start.errorArgument = arg;
      return start;
    } else {
      start.folder = arg;
    }
  }
  if (!start.folder && !start.entries.empty()) {
    start.folder = utf8FromPath(pathFromUtf8(start.entries.front()).parent_path());
  }
  return start;
}

std::string usageErrorText(const WindowStart& start, bool japanese) {
  const auto quoted = [japanese](const std::string& arg) {
    return japanese ? "「" + arg + "」" : "'" + arg + "'";
  };
  const std::string& arg = start.errorArgument;
  switch (start.error) {
    case UsageError::kNone:
      break;
    case UsageError::kUnknownOption:
      return japanese ? quoted(arg) + "というオプションはありません。"
                      : "unknown option " + quoted(arg);
    case UsageError::kSecondFolder:
      return japanese ? "起動フォルダは一つだけ指定できます（" + quoted(*start.folder) + "と" +
                            quoted(arg) + "）。"
                      : "one start folder at most (" + quoted(*start.folder) + " and " +
                            quoted(arg) + ")";
  }
  return {};
}

}  // namespace fenmarq
