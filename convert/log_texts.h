// Every text a batch logs or shows in a message box is here. Texts are
// appended piece by piece, as the log pane receives them.
#ifndef FENMARQ_CONVERT_LOG_TEXTS_H_
#define FENMARQ_CONVERT_LOG_TEXTS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "convert/log_pane.h"

namespace fenmarq {

inline constexpr std::string_view kOutOfMemoryText = "メモリ不足で作業ができません。\r\n";
inline constexpr std::string_view kBatchEndText = "作業終了。\n";
inline constexpr std::string_view kNotATargetText = "変換対象ではありません。\n";
inline constexpr std::string_view kHexWrittenText = "HEXファイル作成 終了。\n";
inline constexpr std::string_view kCsvWrittenText = "CSVファイル作成 終了。\n";
inline constexpr std::string_view kChkWrittenText = "CHKファイル作成 終了。\n";
inline constexpr std::string_view kChkCheckStartsText = "CHKファイルの確認をします。\n";
inline constexpr std::string_view kChkCheckPassedText = "CHKファイルの確認 成功。\n";
// Said once for every pair of digits that differs or is missing.
inline constexpr std::string_view kChkPairFailedText = "CHKファイルの確認 失敗。\n\r\n";

// Message boxes for streams whose close failed, by the stream's name.
inline constexpr std::string_view kBinCloseFailedText =
    "ファイル 'bin-data' は閉じられませんでした。\n";
inline constexpr std::string_view kHexCloseFailedText =
    "ファイル 'hex-data' は閉じられませんでした。\n";
inline constexpr std::string_view kCsvCloseFailedText =
    "ファイル 'csv-data' は閉じられませんでした。\n";
inline constexpr std::string_view kChkCloseFailed =
    "ファイル 'chk-data' は閉じられませんでした。\n";

// "ファイル " + path + `ending`: the lines that name a file.
inline void logFileLine(LogPane& log, std::string_view path, std::string_view ending) {
  log.append("ファイル ");
  log.append(path);
  log.append(ending);
}

inline void logOpened(LogPane& log, std::string_view path, bool opened) {
  logFileLine(log, path, opened ? " は開けました。\r\n" : " は開けませんでした。\r\n");
}

inline void logSizeIsExact(LogPane& log, std::string_view chkPath) {
  logFileLine(log, chkPath, " のサイズは正確です。\r\n");
}

// The input's length; a file shorter than its layout is read with zeros.
inline void logLength(LogPane& log, std::uint64_t length, std::uint64_t layoutSize) {
  log.append("バイナリファイルの長さ   = ");
  log.append(std::to_string(length));
  log.append(" byte\r\n");
  log.append("\r\n");
  log.append("\r\n");
  if (length < layoutSize) {
    log.append("注意：ファイルの長さが ");
    log.append(std::to_string(layoutSize));
    log.append(" byte に足りないため、不足分を 0 として変換します。\r\n");
  }
}

// An input that holds more than its reported size: only `length` bytes are
// converted.
inline void logCutToLength(LogPane& log, std::uint64_t length) {
  log.append("注意：ファイルが報告された長さより長いため、先頭の ");
  log.append(std::to_string(length));
  log.append(" byte だけを変換します。\r\n");
}

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_LOG_TEXTS_H_
