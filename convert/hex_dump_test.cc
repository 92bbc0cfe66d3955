#include "convert/hex_dump.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

#include "convert/file.h"
#include "tests/support/recording_batch.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using testing::firstDifference;
using testing::hexOf;
using testing::readFile;
using testing::RecordingLog;
using testing::RecordingView;
using testing::ScopedTempDir;
using testing::writeFile;

// Every byte value, at every length up to a little past 256 bytes.
TEST(RenderHexTest, TwoUpperCaseDigitsPerByte) {
  std::vector<std::uint8_t> bytes(256 + 47);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 167 + 3);
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    std::string out(2 * length, '?');
    renderHex({bytes.data(), length}, out.data());
    EXPECT_EQ(out, hexOf(std::span(bytes.data(), length))) << length;
  }
}

constexpr std::string_view kWrittenChk = "CHKFiles/CHK_x.txt";

struct CheckCase {
  const char* name;
  std::size_t inputSize;
  // What the verification finds at its path instead of the file just written;
  // nullopt leaves that file as written.
  std::function<std::optional<std::string>(std::string)> damage;
  std::string_view chkPath;
  bool sizeLine;
  int failures;  // -1: the CHK file cannot be reopened
};

// One block of the renderings and three bytes of the next.
constexpr std::size_t kBlock = HexScratch::kBlockBytes;
constexpr std::size_t kTwoBlocks = kBlock + 3;

const CheckCase kCheckCases[] = {
    {"Intact", 3, [](std::string) { return std::nullopt; }, kWrittenChk, true, 0},
    {"Empty", 0, [](std::string) { return std::nullopt; }, kWrittenChk, true, 0},
    {"IntactTwoBlocks", kTwoBlocks, [](std::string) { return std::nullopt; }, kWrittenChk, true, 0},
    {"LostLastByte", 3, [](std::string s) { return s.substr(0, 5); }, "CHKFiles/damaged", false, 1},
    {"LostLastByteTwoBlocks", kTwoBlocks, [](std::string s) { return s.substr(0, s.size() - 1); },
     "CHKFiles/damaged", false, 1},
    {"ExtraBytes", 3, [](std::string s) { return s + "00\r\n"; }, "CHKFiles/damaged", false, 0},
    {"LowerCase", 3, [](std::string) { return "0b3055"; }, "CHKFiles/damaged", true, 1},
    {"TwoPairsDiffer", 3, [](std::string) { return "0C3054"; }, "CHKFiles/damaged", true, 2},
    {"DiffersAtBlockEnd", kTwoBlocks,
     [](std::string s) { return s.substr(0, 2 * kBlock - 2) + 'G' + s.substr(2 * kBlock - 1); },
     "CHKFiles/damaged", true, 1},
    {"EmptyFile", 3, [](std::string) { return ""; }, "CHKFiles/damaged", false, 3},
    {"Missing", 3, [](std::string) { return std::nullopt; }, "CHKFiles/missing", false, -1},
    {"Directory", 3, [](std::string) { return std::nullopt; }, "CHKFiles", false, -1},
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class WriteHexAndCheckFilesTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(WriteHexAndCheckFilesTest, WritesBothRenderingsAndLogsTheCheck) {
  const CheckCase& c = GetParam();
  ScopedTempDir dir;
  std::vector<std::uint8_t> input(c.inputSize);
  for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const std::string digits = hexOf(input);
  const std::string chkPath(c.chkPath);
  if (const auto damaged = c.damage(digits)) writeFile(chkPath, *damaged);

  File hex, chk;
  ASSERT_TRUE(hex.open("HEXFiles/HEX_x.txt", "w+b"));
  ASSERT_TRUE(chk.open(std::string(kWrittenChk), "w+b"));
  std::vector<char> expectedBlock(2 * kBlock), actualBlock(2 * kBlock);
  RecordingLog log;
  RecordingView view;
  const HexCheckResult result = writeHexAndCheckFiles(
      input, hex, chk, chkPath, {expectedBlock.data(), actualBlock.data()}, log, view);

  std::string expected =
      "\r\nCHKファイル作成 終了。\n\r\n\r\nCHKファイルの確認をします。\n\r\nファイル " + chkPath;
  if (c.failures < 0) {
    expected += " は開けませんでした。\r\n";
  } else {
    expected += " は開けました。\r\n";
    if (c.sizeLine) expected += "ファイル " + chkPath + " のサイズは正確です。\r\n";
    for (int i = 0; i < c.failures; ++i) expected += "CHKファイルの確認 失敗。\n\r\n";
    if (c.failures == 0) expected += "\r\nCHKファイルの確認 成功。\n\r\n";
  }
  EXPECT_EQ(firstDifference(expected, log.joined()), "");
  EXPECT_EQ(result, c.failures < 0    ? HexCheckResult::kReopenFailed
                    : c.failures == 0 ? HexCheckResult::kVerified
                                      : HexCheckResult::kProblems);
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(hex.isOpen());
  ASSERT_TRUE(hex.close());
  EXPECT_EQ(firstDifference(digits, readFile("HEXFiles/HEX_x.txt")), "");
  EXPECT_EQ(firstDifference(digits, readFile(kWrittenChk)), "");
}

INSTANTIATE_TEST_SUITE_P(Checks, WriteHexAndCheckFilesTest, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace fenmarq
