#include "convert/hex_dump.h"

#include <algorithm>
#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "convert/batch_view.h"
#include "convert/file.h"
#include "convert/log_pane.h"
#include "convert/log_texts.h"
#include "platform/file_system.h"

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

// The pairs of digits in `actual` that differ from those in `expected` or
// are missing.
std::size_t countFailedPairs(std::string_view expected, std::string_view actual) {
  if (actual == expected) return 0;
  std::size_t failures = 0;
  for (std::size_t i = 0; i < expected.size(); i += 2) {
    const bool complete = i + 1 < actual.size();
    failures += !complete || actual[i] != expected[i] || actual[i + 1] != expected[i + 1];
  }
  return failures;
}

}  // namespace

void renderHex(std::span<const std::uint8_t> bytes, char* out) {
  const std::uint8_t* in = bytes.data();
  std::size_t left = bytes.size();
#if defined(__SSE2__)
  // Sixteen bytes at a time: split each into its two nibbles, turn 0-15 into
  // '0'-'9' and 'A'-'F', and interleave the digits high first.
  const __m128i lowNibbles = _mm_set1_epi8(0x0F);
  const __m128i nine = _mm_set1_epi8(9);
  const __m128i zero = _mm_set1_epi8('0');
  const __m128i letterGap = _mm_set1_epi8('A' - '0' - 10);
  const auto toDigits = [&](__m128i nibbles) {
    const __m128i letters = _mm_and_si128(_mm_cmpgt_epi8(nibbles, nine), letterGap);
    return _mm_add_epi8(_mm_add_epi8(nibbles, zero), letters);
  };
  for (const std::uint8_t* end = in + (left & ~std::size_t{15}); in != end; in += 16, out += 32) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
    const __m128i high = toDigits(_mm_and_si128(_mm_srli_epi16(v, 4), lowNibbles));
    const __m128i low = toDigits(_mm_and_si128(v, lowNibbles));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(high, low));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi8(high, low));
  }
  left &= 15;
#endif
  for (; left > 0; --left, ++in, out += 2) std::memcpy(out, &kHexPairs[2 * *in], 2);
}

void writeRenderings(std::span<const std::uint8_t> bytes, File& hex, File& chk,
                     HexScratch scratch) {
  for (std::size_t at = 0; at < bytes.size(); at += HexScratch::kBlockBytes) {
    const auto block = bytes.subspan(at, std::min(HexScratch::kBlockBytes, bytes.size() - at));
    renderHex(block, scratch.expected);
    const std::string_view rendered(scratch.expected, 2 * block.size());
    hex.write(rendered);
    chk.write(rendered);
  }
}

namespace {

// Reads the CHK file back from its start and logs every pair that differs
// from the rendering of `bytes` or is missing; the number of such pairs.
std::size_t comparePairsOf(std::span<const std::uint8_t> bytes, File& chk, HexScratch scratch,
                           LogPane& log) {
  chk.rewind();
  std::size_t failures = 0;
  for (std::size_t at = 0; at < bytes.size(); at += HexScratch::kBlockBytes) {
    const auto block = bytes.subspan(at, std::min(HexScratch::kBlockBytes, bytes.size() - at));
    renderHex(block, scratch.expected);
    const std::size_t want = 2 * block.size();
    const std::size_t got = chk.read(scratch.actual, want);
    const std::size_t failed = countFailedPairs({scratch.expected, want}, {scratch.actual, got});
    log.appendRepeated(kChkPairFailedText, failed);
    failures += failed;
  }
  return failures;
}

}  // namespace

HexCheckResult checkChkFile(std::span<const std::uint8_t> bytes, File& chk,
                            const std::string& chkPath, HexScratch scratch, LogPane& log,
                            BatchView& view) {
  bool problems = false;
  if (!chk.close()) {
    view.showMessageBox(kChkCloseFailed);
    problems = true;
  }
  appendBetweenBreaks(log, kChkWrittenText);
  appendBetweenBreaks(log, kChkCheckStartsText);

  const FileIdentity written = chk.identity();
  if (!chk.open(chkPath, OpenMode::kUpdate,
                [&](const FileIdentity& found) { return found == written; })) {
    logOpened(log, chkPath, false);
    return HexCheckResult::kReopenFailed;
  }
  logOpened(log, chkPath, true);
  if (chk.openedSize() == 2 * static_cast<std::uint64_t>(bytes.size()))
    logSizeIsExact(log, chkPath);
  if (comparePairsOf(bytes, chk, scratch, log) == 0) {
    appendBetweenBreaks(log, kChkCheckPassedText);
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
