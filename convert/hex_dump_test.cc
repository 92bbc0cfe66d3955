#include "convert/hex_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

#include "convert/file.h"
#include "platform/paths.h"
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
  // What the written CHK file holds by the time it is checked; nullopt leaves
  // it as written.
  std::function<std::optional<std::string>(std::string)> damage;
  std::string_view chkPath;
  bool sizeLine;
  int failures;           // -1: the CHK file cannot be reopened
  bool replaced = false;  // another file stands at the path by then
};

// One block of the renderings and three bytes of the next.
constexpr std::size_t kBlock = HexScratch::kBlockBytes;
constexpr std::size_t kTwoBlocks = kBlock + 3;

const auto kIntact = [](std::string) -> std::optional<std::string> { return std::nullopt; };

const CheckCase kCheckCases[] = {
    {"Intact", 3, kIntact, kWrittenChk, true, 0},
    {"Empty", 0, kIntact, kWrittenChk, true, 0},
    {"IntactTwoBlocks", kTwoBlocks, kIntact, kWrittenChk, true, 0},
    {"LostLastByte", 3, [](std::string s) { return s.substr(0, 5); }, kWrittenChk, false, 1},
    {"LostLastByteTwoBlocks", kTwoBlocks, [](std::string s) { return s.substr(0, s.size() - 1); },
     kWrittenChk, false, 1},
    {"ExtraBytes", 3, [](std::string s) { return s + "00\r\n"; }, kWrittenChk, false, 0},
    {"LowerCase", 3, [](std::string) { return "0b3055"; }, kWrittenChk, true, 1},
    {"TwoPairsDiffer", 3, [](std::string) { return "0C3054"; }, kWrittenChk, true, 2},
    {"DiffersAtBlockEnd", kTwoBlocks,
     [](std::string s) { return s.substr(0, 2 * kBlock - 2) + 'G' + s.substr(2 * kBlock - 1); },
     kWrittenChk, true, 1},
    {"EmptyFile", 3, [](std::string) { return ""; }, kWrittenChk, false, 3},
    {"Missing", 3, kIntact, "CHKFiles/missing", false, -1},
    {"Directory", 3, kIntact, "CHKFiles", false, -1},
    // Whatever it holds, a file put in the written one's place is not checked.
    {"ReplacedByAnotherFile", 3, [](std::string s) { return s; }, kWrittenChk, false, -1, true},
};

void PrintTo(const CheckCase& c, std::ostream* out) { *out << c.name; }

class CheckChkFileTest : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CheckChkFileTest, WritesBothRenderingsAndLogsTheCheck) {
  const CheckCase& c = GetParam();
  if (c.replaced && directorySeparator() == '\\') {
    GTEST_SKIP() << "Windows renames no file over one that is open";
  }
  ScopedTempDir dir;
  std::vector<std::uint8_t> input(c.inputSize);
  for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<std::uint8_t>(i * 37 + 11);
  const std::string digits = hexOf(input);
  const std::string chkPath(c.chkPath);
  const std::optional<std::string> damaged = c.damage(digits);

  File hex, chk;
  for (const auto& [file, path] :
       {std::pair{&hex, std::string_view("HEXFiles/HEX_x.txt")}, std::pair{&chk, kWrittenChk}}) {
    ASSERT_TRUE(file->open(std::string(path), OpenMode::kOutput));
    ASSERT_TRUE(file->lock() && file->truncate());
  }
  std::vector<char> expectedBlock(2 * kBlock), actualBlock(2 * kBlock);
  const HexScratch scratch{expectedBlock.data(), actualBlock.data()};
  RecordingLog log;
  RecordingView view;
  writeRenderings(input, hex, chk, scratch);
  // The damage is done between writing and checking: in place, or as a new
  // file renamed over the written one.
  if (damaged) {
    writeFile(c.replaced ? "CHKFiles/new" : kWrittenChk, *damaged);
    if (c.replaced) std::filesystem::rename("CHKFiles/new", kWrittenChk);
  }
  const HexCheckResult result = checkChkFile(input, chk, chkPath, scratch, log, view);

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
  EXPECT_EQ(firstDifference(damaged.value_or(digits), readFile(kWrittenChk)), "");
}

INSTANTIATE_TEST_SUITE_P(Checks, CheckChkFileTest, ::testing::ValuesIn(kCheckCases),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace fenmarq
