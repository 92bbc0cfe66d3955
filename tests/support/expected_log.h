// The log texts that the batch driver appends, spelled out for comparisons.
#ifndef FENMARQ_TESTS_SUPPORT_EXPECTED_LOG_H_
#define FENMARQ_TESTS_SUPPORT_EXPECTED_LOG_H_

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace fenmarq::testing {

enum class Output { kHex, kCsv, kChk };
inline constexpr Output kOutputs[] = {Output::kHex, Output::kCsv, Output::kChk};

inline std::string_view folderOf(Output output) {
  constexpr std::string_view kFolders[] = {"HEXFiles", "CSVFiles", "CHKFiles"};
  return kFolders[static_cast<int>(output)];
}

// An output file relative to the start directory: "HEXFiles/HEX_<name>.txt".
inline std::string outputKey(Output output, std::string_view name) {
  const std::string folder(folderOf(output));
  return folder + "/" + folder.substr(0, 3) + "_" + std::string(name) +
         (output == Output::kCsv ? ".CSV" : ".txt");
}

// As the log names it: "./HEXFiles/HEX_<name>.txt" on POSIX,
// ".\HEXFiles\HEX_<name>.txt" on Windows.
inline std::string outputPath(Output output, std::string_view name) {
  std::string path = "./" + outputKey(output, name);
  std::replace(path.begin(), path.begin() + 11, '/', directorySeparator());
  return path;
}

inline std::string openedLine(std::string_view path) {
  return "ファイル " + std::string(path) + " は開けました。\r\n";
}

inline std::string notOpenedLine(std::string_view path) {
  return "ファイル " + std::string(path) + " は開けませんでした。\r\n";
}

// "ファイル名," in CP932: the start of every sheet.
inline constexpr std::string_view kSheetNameCell = "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC,";

inline constexpr std::string_view kNotTargetLog = "\r\n変換対象ではありません。\n\r\n";
inline constexpr std::string_view kBatchEndLog = "\r\n作業終了。\n\r\n";
inline constexpr std::string_view kAmd1MinEnd =
    "amd 1min （2008 年 11 月 18 日以降）ファイル変換 終了。\n";
inline constexpr std::string_view kSfc1MinEnd =
    "sfc 1min （2008 年 6 月 25 日以降） ファイル変換 終了。\n";

// The log of one converted file whose CHK file checks out.
// `shortOf` is the layout size when the file is shorter than its format.
inline std::string convertedItemLog(std::string_view input, std::string_view fileName,
                                    std::size_t length, std::string_view endOfItemText,
                                    std::size_t shortOf = 0) {
  const std::string chk = outputPath(Output::kChk, fileName);
  std::string log = openedLine(input) + openedLine(outputPath(Output::kHex, fileName)) +
                    openedLine(outputPath(Output::kCsv, fileName)) + openedLine(chk) +
                    "バイナリファイルの長さ   = " + std::to_string(length) + " byte\r\n\r\n\r\n";
  if (shortOf != 0) {
    log += "注意：ファイルの長さが " + std::to_string(shortOf) +
           " byte に足りないため、不足分を 0 として変換します。\r\n";
  }
  log += "\r\nCHKファイル作成 終了。\n\r\n\r\nCHKファイルの確認をします。\n\r\n" + openedLine(chk) +
         "ファイル " + chk + " のサイズは正確です。\r\n\r\nCHKファイルの確認 成功。\n\r\n" +
         "\r\nHEXファイル作成 終了。\n\r\n\r\nCSVファイル作成 終了。\n\r\n\r\n" +
         std::string(endOfItemText) + "\r\n";
  return log;
}

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_SUPPORT_EXPECTED_LOG_H_
