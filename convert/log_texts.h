// The texts a batch logs and shows in message boxes, in one place. Texts are
// appended piece by piece, as the log pane receives them.
#ifndef FENMARQ_CONVERT_LOG_TEXTS_H_
#define FENMARQ_CONVERT_LOG_TEXTS_H_

#include <string_view>

#include "convert/log_pane.h"

namespace fenmarq {

inline constexpr std::string_view kOutOfMemoryText = "メモリ不足で作業ができません。\r\n";
inline constexpr std::string_view kBatchEndText = "作業終了。\n";
inline constexpr std::string_view kNotATargetText = "変換対象ではありません。\n";

// Message boxes for streams whose close failed, by the stream's name.
inline constexpr std::string_view kBinCloseFailed =
    "ファイル 'bin-data' は閉じられませんでした。\n";
inline constexpr std::string_view kHexCloseFailed =
    "ファイル 'hex-data' は閉じられませんでした。\n";
inline constexpr std::string_view kCsvCloseFailed =
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

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_LOG_TEXTS_H_
