#include "cli/path_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fenmarq {
namespace {

// The UTF-16 bytes of `text` after its byte-order mark, from the compiler's
// own encoding of the literal.
std::string utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  }
  return bytes;
}

// The paths of `bytes` as they arrive one byte at a time, as a pipe may hand
// them over: 0, or the number of the line that is not text, with `taken`
// the bytes taken until it was found.
std::size_t decodeByteByByte(std::string_view bytes, std::vector<std::string>& paths,
                             std::size_t* taken = nullptr, unsigned fallbackCodePage = 0) {
  PathListDecoder decoder(paths, fallbackCodePage);
  std::size_t at = 0;
  while (at < bytes.size() && decoder.take(bytes.substr(at++, 1))) {
  }
  if (taken) *taken = at;
  if (decoder.badLine() == 0) decoder.finish();
  return decoder.badLine();
}

// Every encoding with each line end, with and without one after the last
// path and with a blank line between two paths, gives the same paths after
// those already listed. "𠮷" takes a surrogate pair in UTF-16.
TEST(PathListTest, ReadsEveryEncodingAndLineEnd) {
  const std::vector<std::string> paths = {"amd_1min_20160412.62078",
                                          "観測 データ\\sfc_1min_20160412.47662", "𠮷/業"};
  const std::u16string widePaths[] = {u"amd_1min_20160412.62078",
                                      u"観測 データ\\sfc_1min_20160412.47662", u"𠮷/業"};
  for (const std::string_view lineEnd : {"\n", "\r\n"}) {
    for (const bool lastLineEnds : {false, true}) {
      std::string utf8;
      std::u16string utf16;
      for (std::size_t i = 0; i < paths.size(); ++i) {
        std::string end(lineEnd);
        if (i == 0) end += lineEnd;  // a blank line
        if (i + 1 == paths.size() && !lastLineEnds) end.clear();
        utf8 += paths[i] + end;
        utf16 += widePaths[i] + std::u16string(end.begin(), end.end());
      }
      const std::pair<std::string_view, std::string> lists[] = {
          {"UTF-8", utf8},
          {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8},
          {"UTF-16 LE", utf16Bytes(utf16, false)},
          {"UTF-16 BE", utf16Bytes(utf16, true)},
      };
      for (const auto& [label, bytes] : lists) {
        SCOPED_TRACE(std::string(label) + (lineEnd.size() == 2 ? ", CRLF" : ", LF") +
                     (lastLineEnds ? ", last line ended" : ""));
        std::vector<std::string> read = {"given"}, piecewise = {"given"};
        EXPECT_EQ(appendPathList(bytes, read, 0), 0u);
        EXPECT_EQ(decodeByteByByte(bytes, piecewise), 0u);
        std::vector<std::string> expected = {"given"};
        expected.insert(expected.end(), paths.begin(), paths.end());
        EXPECT_EQ(read, expected);
        EXPECT_EQ(piecewise, expected);
      }
    }
  }
}

// The first line that is not text is named, blank lines counted, and nothing
// of the list is taken. A NUL or a line too long is found as soon as it
// arrives, before its line ends, and nothing after it is read: a device of
// zeros is never read on.
TEST(PathListTest, NamesTheFirstLineThatIsNotText) {
  using namespace std::string_literals;
  const std::string longest(kLongestListLine, 'b');
  const struct {
    std::string label;
    std::string bytes;
    std::size_t line;            // 0: the list is text, of two paths
    std::size_t foundAfter = 0;  // bytes taken until it is found; 0: not asked
  } cases[] = {
      {"invalid UTF-8", "a\n\xFF\n", 2},
      {"overlong UTF-8 after a blank line", "a\r\n\r\nb\xC0\xAF\r\n", 3},
      {"cut UTF-8 sequence at the end", "a\nb\xE8\xA6", 2},
      {"U+0000", "a\nb\0c\n"s, 2, 4},
      {"UTF-16 without its mark", "a\0\n\0b\0"s, 1, 2},
      {"lone high surrogate", utf16Bytes(u"a\n\xD842\n", false), 2},
      {"lone low surrogate", utf16Bytes(u"a\r\nb\xDFB7", true), 2},
      {"high surrogate before a line end", utf16Bytes(u"\xD842\n\xDFB7", false), 1, 6},
      {"half a code unit", utf16Bytes(u"a\nbc", false).substr(0, 9), 2},
      {"zeros, as a device of them gives", "\0\0\0\0"s, 1, 1},
      {"U+0000 in a line not yet ended", "a\nb\0c"s, 2, 4},
      {"U+0000 as a UTF-16 code unit", utf16Bytes(std::u16string_view(u"a\nb\0c\n", 6), true), 2,
       10},
      {"a line of the longest length", "a\n" + longest + "\r\n", 0},
      {"a UTF-16 line of the longest length", utf16Bytes(u"a\n", false) + longest, 0},
      {"a line too long", "a\n" + longest + "bcd\n", 2, 2 + kLongestListLine + 2},
      {"a line too long, found at its \"\\r\"", "a\n\n" + longest + "b\r\n", 3,
       3 + kLongestListLine + 2},
      {"a UTF-16 line too long", utf16Bytes(u"a\n", true) + longest + "bcde", 2,
       6 + kLongestListLine + 4},
  };
  for (const auto& c : cases) {
    std::vector<std::string> read = {"given"}, piecewise = {"given"};
    EXPECT_EQ(appendPathList(c.bytes, read, 0), c.line) << c.label;
    std::size_t taken = 0;
    EXPECT_EQ(decodeByteByByte(c.bytes, piecewise, &taken), c.line) << c.label;
    EXPECT_TRUE(c.foundAfter == 0 || taken == c.foundAfter) << c.label << ": " << taken;
    EXPECT_EQ(read.size(), c.line == 0 ? 3u : 1u) << c.label;
    EXPECT_EQ(piecewise, read) << c.label;
  }
}

// A list without a mark that is not all UTF-8 is all in the fallback code
// page (cmd's `dir /b >` on a Japanese Windows), its first lines too; one
// that is all UTF-8, or has a mark, is never read in it.
TEST(PathListTest, FallsBackToTheCodePageForAListThatIsNotUtf8) {
  const struct {
    std::string label;
    std::string bytes;
    std::vector<std::string> paths;  // empty: not text
    unsigned codePage;               // what it was read in at last
  } cases[] = {
      {"code page 932",
       "a\x83\x66\x81\x5B\x83\x5E\r\n\x8A\xCF\x91\xAA\\b\r\n",
       {"aデータ", "観測\\b"},
       932},
      {"UTF-8 that is code page 932 too", "\xE8\xA6\xB3\xE6\xB8\xAC\n", {"観測"}, 0},
      {"UTF-8 lines, then code page 932", "\xE8\xA6\xB3\n\x8A\xCF\n", {"隕ｳ", "観"}, 932},
      {"text in neither", "a\n\x81\n", {}, 932},
      {"UTF-8 with its mark", "\xEF\xBB\xBF\x8A\xCF\n", {}, 0},
  };
  for (const auto& c : cases) {
    std::vector<std::string> read, piecewise;
    PathListDecoder decoder(read, 932);
    decoder.take(c.bytes);
    decoder.finish();
    EXPECT_EQ(read, c.paths) << c.label;
    EXPECT_EQ(decoder.codePage(), c.codePage) << c.label;
    EXPECT_EQ(decodeByteByByte(c.bytes, piecewise, nullptr, 932) == 0, !c.paths.empty()) << c.label;
    EXPECT_EQ(piecewise, c.paths) << c.label;
  }
}

}  // namespace
}  // namespace fenmarq
