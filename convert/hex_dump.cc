#include "convert/hex_dump.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "convert/file.h"
#include "convert/log_pane.h"

namespace fenmarq {
namespace {

// The two digits of every byte value, "00" to "FF".
constexpr std::array<char, 512> kHexPairs = [] {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::array<char, 512> pairs{};
  for (int b = 0; b < 256; ++b) {
    pairs[2 * b] = kDigits[b >> 4];
    pairs[2 * b + 1] = kDigits[b & 15];
  }
  return pairs;
}();

// Input bytes per block: the renderings are written and checked in blocks
// of twice this size.
constexpr std::size_t kBlockBytes = 64 * 1024;

constexpr std::string_view kChkCloseFailed = "ファイル 'chk-data' は閉じられませんでした。\n";

// Compares one block of the CHK file with the expected digits and logs one
// failure per pair that differs or is missing. Returns the failures logged.
std::size_t comparePairs(std::string_view expected, std::string_view actual, LogPane& log) {
  if (actual.size() == expected.size() && std::memcmp(actual.data(), expected.data(), actual.size()) == 0) {
    return 0;
  }
  std::size_t failures = 0;
  for (std::size_t i = 0; i < expected.size(); i += 2) {
    const bool complete = i + 1 < actual.size();
    if (!complete || actual[i] != expected[i] || actual[i + 1] != expected[i + 1]) {
      log.append("CHKファイルの確認 失敗。\n");
      log.append("\r\n");
      ++failures;
    }
  }
  return failures;
}

}  // namespace

void renderHex(std::span<const std::uint8_t> bytes, char* out) {
  for (std::uint8_t b : bytes) {
    std::memcpy(out, &kHexPairs[2 * b], 2);
    out += 2;
  }
}

HexCheckResult writeHexAndCheckFiles(std::span<const std::uint8_t> bytes, File& hex, File& chk,
                                     const std::string& chkPath, LogPane& log, BatchView& view) {
  bool problems = false;
  std::vector<char> expected(2 * kBlockBytes);
  for (std::size_t at = 0; at < bytes.size(); at += kBlockBytes) {
    const auto block = bytes.subspan(at, std::min(kBlockBytes, bytes.size() - at));
    renderHex(block, expected.data());
    const std::string_view digits(expected.data(), 2 * block.size());
    hex.write(digits);
    chk.write(digits);
  }
  if (!chk.close()) {
    view.showMessageBox(kChkCloseFailed);
    problems = true;
  }
  log.append("\r\n");
  log.append("CHKファイル作成 終了。\n");
  log.append("\r\n");
  log.append("\r\n");
  log.append("CHKファイルの確認をします。\n");
  log.append("\r\n");

  if (!chk.open(chkPath, "r+b")) {
    log.append("ファイル ");
    log.append(chkPath);
    log.append(" は開けませんでした。\r\n");
    return HexCheckResult::kReopenFailed;
  }
  log.append("ファイル ");
  log.append(chkPath);
  log.append(" は開けました。\r\n");

  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(chkPath, error);
  if (!error && size == 2 * static_cast<std::uintmax_t>(bytes.size())) {
    log.append("ファイル ");
    log.append(chkPath);
    log.append(" のサイズは正確です。\r\n");
  }

  chk.rewind();
  std::vector<char> actual(2 * kBlockBytes);
  std::size_t failures = 0;
  for (std::size_t at = 0; at < bytes.size(); at += kBlockBytes) {
    const auto block = bytes.subspan(at, std::min(kBlockBytes, bytes.size() - at));
    renderHex(block, expected.data());
    const std::size_t want = 2 * block.size();
    const std::size_t got = chk.read(actual.data(), want);
    failures += comparePairs({expected.data(), want}, {actual.data(), got}, log);
  }
  if (failures == 0) {
    log.append("\r\n");
    log.append("CHKファイルの確認 成功。\n");
    log.append("\r\n");
  } else {
    problems = true;
  }
  if (!chk.close()) {
    view.showMessageBox(kChkCloseFailed);
    problems = true;
  }
  return problems ? HexCheckResult::kProblems : HexCheckResult::kVerified;
}

}  // namespace fenmarq
