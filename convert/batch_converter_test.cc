#include "convert/batch_converter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "tests/support/expected_log.h"
#include "tests/support/recording_batch.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using namespace fenmarq::testing;
namespace fs = std::filesystem;

constexpr std::string_view kAmd = "amd_1min_20160412.62078";
constexpr std::string_view kSfc = "sfc_1min_20160412.47662";
constexpr std::size_t kAmdSize = 246'240;
constexpr std::size_t kSfcSize = 367'200;

// The CSV file-name row of kAmd: "ファイル名," in CP932, the name, a row end.
constexpr std::string_view kAmdFileNameRow =
    "\x83\x74\x83\x40\x83\x43\x83\x8B\x96\xBC,amd_1min_20160412.62078\n";

std::string bytesOfSize(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 253);
  return bytes;
}

std::string oracleHex(std::string_view bytes) {
  std::string text;
  char pair[3];
  for (unsigned char b : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", b);
    text += pair;
  }
  return text;
}

// Every batch runs with one job and with several: the log and the view hear
// the same either way.
class BatchConverterTest : public ::testing::TestWithParam<unsigned> {
 protected:
  BatchResult run(const std::vector<std::string>& targets) {
    return BatchConverter(GetParam()).run(targets, dir_.path().string(), log_, view_);
  }
  std::string log() const { return log_.joined(); }

  ScopedTempDir dir_;
  RecordingLog log_;
  RecordingView view_;
};

TEST_P(BatchConverterTest, ConvertsOneFile) {
  const std::string content = bytesOfSize(kAmdSize);
  writeFile(kAmd, content);
  fs::current_path("CSVFiles");  // the batch makes the start directory current again
  const BatchResult result = run({std::string(kAmd)});

  EXPECT_EQ(
      firstDifference("ファイル amd_1min_20160412.62078 は開けました。\r\n"
                      "ファイル ./HEXFiles/HEX_amd_1min_20160412.62078.txt は開けました。\r\n"
                      "ファイル ./CSVFiles/CSV_amd_1min_20160412.62078.CSV は開けました。\r\n"
                      "ファイル ./CHKFiles/CHK_amd_1min_20160412.62078.txt は開けました。\r\n"
                      "バイナリファイルの長さ   = 246240 byte\r\n\r\n\r\n"
                      "\r\nCHKファイル作成 終了。\n\r\n"
                      "\r\nCHKファイルの確認をします。\n\r\n"
                      "ファイル ./CHKFiles/CHK_amd_1min_20160412.62078.txt は開けました。\r\n"
                      "ファイル ./CHKFiles/CHK_amd_1min_20160412.62078.txt のサイズは正確です。\r\n"
                      "\r\nCHKファイルの確認 成功。\n\r\n"
                      "\r\nHEXファイル作成 終了。\n\r\n"
                      "\r\nCSVファイル作成 終了。\n\r\n"
                      "\r\namd 1min （2008 年 11 月 18 日以降）ファイル変換 終了。\n\r\n"
                      "\r\n作業終了。\n\r\n",
                      log()),
      "");
  EXPECT_TRUE(result.finished);
  EXPECT_FALSE(result.problemsReported);
  EXPECT_EQ(log_.limit, 0x7FFFFFFFu);
  EXPECT_EQ(view_.selected, std::vector<std::size_t>{0});
  ASSERT_EQ(view_.fields.size(), 1u);
  EXPECT_EQ(view_.fields[0], parseObservationFileName(kAmd, '/'));
  EXPECT_TRUE(view_.messages.empty());
  const std::string hex = oracleHex(content);
  EXPECT_EQ(firstDifference(hex, readFile("HEXFiles/HEX_amd_1min_20160412.62078.txt")), "");
  EXPECT_EQ(firstDifference(hex, readFile("CHKFiles/CHK_amd_1min_20160412.62078.txt")), "");
  EXPECT_TRUE(readFile("CSVFiles/CSV_amd_1min_20160412.62078.CSV").starts_with(kAmdFileNameRow));
}

TEST_P(BatchConverterTest, EmptyListLogsTheEndOnly) {
  EXPECT_TRUE(run({}).finished);
  EXPECT_EQ(log(), kBatchEndLog);
  EXPECT_TRUE(view_.selected.empty());
}

TEST_P(BatchConverterTest, SkipsFilesThatMatchNoRule) {
  writeFile(kAmd, bytesOfSize(kAmdSize));
  writeFile(kSfc, bytesOfSize(kSfcSize));
  EXPECT_TRUE(run({"readme.txt"}).finished);
  EXPECT_EQ(log(), std::string(kNotTargetLog) + std::string(kBatchEndLog));
  EXPECT_EQ(view_.fields, std::vector{parseObservationFileName("readme.txt", '/')});

  log_.texts.clear();
  view_.selected.clear();
  EXPECT_TRUE(run({std::string(kAmd), "amd_1min_20081117.62078", std::string(kSfc)}).finished);
  EXPECT_EQ(firstDifference(
                convertedItemLog(kAmd, kAmd, kAmdSize, kAmd1MinEnd) + std::string(kNotTargetLog) +
                    convertedItemLog(kSfc, kSfc, kSfcSize, kSfc1MinEnd) + std::string(kBatchEndLog),
                log()),
            "");
  // After a complete batch the last entry stays selected.
  EXPECT_EQ(view_.selected, (std::vector<std::size_t>{0, 1, 2}));
}

TEST_P(BatchConverterTest, EndsAtAnInputThatCannotBeOpened) {
  writeFile(kAmd, bytesOfSize(kAmdSize));
  fs::create_directory("amd_1min_20160412.1");
  for (const std::string bad : {"gone/amd_1min_20160412.62078", "amd_1min_20160412.1"}) {
    log_.texts.clear();
    view_.selected.clear();
    EXPECT_FALSE(run({std::string(kAmd), bad, std::string(kAmd)}).finished);
    EXPECT_EQ(firstDifference(
                  convertedItemLog(kAmd, kAmd, kAmdSize, kAmd1MinEnd) + notOpenedLine(bad), log()),
              "");
    // After an aborted batch the failing entry stays selected.
    EXPECT_EQ(view_.selected, (std::vector<std::size_t>{0, 1})) << bad;
  }
}

TEST_P(BatchConverterTest, EndsAtAnOutputFolderThatIsMissing) {
  writeFile(kAmd, bytesOfSize(kAmdSize));
  const std::string name(kAmd);
  const std::string hex = "./HEXFiles/HEX_" + name + ".txt";
  const std::string csv = "./CSVFiles/CSV_" + name + ".CSV";
  const std::string chk = "./CHKFiles/CHK_" + name + ".txt";
  const std::pair<std::string_view, std::string> cases[] = {
      {"HEXFiles", openedLine(kAmd) + notOpenedLine(hex)},
      {"CSVFiles", openedLine(kAmd) + openedLine(hex) + notOpenedLine(csv)},
      {"CHKFiles", openedLine(kAmd) + openedLine(hex) + openedLine(csv) + notOpenedLine(chk)},
  };
  for (const auto& [folder, expected] : cases) {
    fs::rename(folder, "moved");
    log_.texts.clear();
    EXPECT_FALSE(run({name, name}).finished);
    EXPECT_EQ(firstDifference(expected, log()), "") << folder;
    fs::rename("moved", folder);
  }
}

TEST_P(BatchConverterTest, ConvertsShortAndEmptyFilesAsIfPaddedWithZeros) {
  for (const std::size_t size : {std::size_t{0}, std::size_t{3}, kAmdSize - 1}) {
    const std::string content = bytesOfSize(size);
    writeFile(kAmd, content);
    log_.texts.clear();
    EXPECT_TRUE(run({std::string(kAmd)}).finished);
    EXPECT_EQ(firstDifference(convertedItemLog(kAmd, kAmd, size, kAmd1MinEnd, kAmdSize) +
                                  std::string(kBatchEndLog),
                              log()),
              "");
    EXPECT_EQ(readFile("HEXFiles/HEX_amd_1min_20160412.62078.txt"), oracleHex(content));
    EXPECT_EQ(readFile("CHKFiles/CHK_amd_1min_20160412.62078.txt"), oracleHex(content));
    EXPECT_TRUE(readFile("CSVFiles/CSV_amd_1min_20160412.62078.CSV").starts_with(kAmdFileNameRow));
  }
}

// Entries with the same name write the same outputs: the later one wins,
// even when it is much quicker to convert than the earlier one.
TEST_P(BatchConverterTest, SameNameTwiceOverwritesTheOutputsInListOrder) {
  const std::string big = bytesOfSize(16 * kAmdSize);
  fs::create_directory("big");
  writeFile(fs::path("big") / kAmd, big);
  const std::string content = bytesOfSize(kAmdSize).replace(0, 4, "last");
  writeFile(kAmd, content);
  const std::string hexPath = "HEXFiles/HEX_amd_1min_20160412.62078.txt";
  writeFile(hexPath, std::string(64 * kAmdSize, 'Z'));
  const std::string first = "big/" + std::string(kAmd);
  EXPECT_TRUE(run({first, std::string(kAmd), std::string(kAmd)}).finished);
  EXPECT_EQ(firstDifference(convertedItemLog(first, kAmd, big.size(), kAmd1MinEnd) +
                                convertedItemLog(kAmd, kAmd, kAmdSize, kAmd1MinEnd) +
                                convertedItemLog(kAmd, kAmd, kAmdSize, kAmd1MinEnd) +
                                std::string(kBatchEndLog),
                            log()),
            "");
  EXPECT_EQ(firstDifference(oracleHex(content), readFile(hexPath)), "");
  EXPECT_EQ(
      firstDifference(oracleHex(content), readFile("CHKFiles/CHK_amd_1min_20160412.62078.txt")),
      "");
}

INSTANTIATE_TEST_SUITE_P(Jobs, BatchConverterTest, ::testing::Values(1u, 3u));

TEST(OutputPathsTest, JoinFoldersWithTheSeparator) {
  const OutputPaths posix = makeOutputPaths("amd_1min_20160412.62078", '/');
  EXPECT_EQ(posix.hex, "./HEXFiles/HEX_amd_1min_20160412.62078.txt");
  EXPECT_EQ(posix.csv, "./CSVFiles/CSV_amd_1min_20160412.62078.CSV");
  EXPECT_EQ(posix.chk, "./CHKFiles/CHK_amd_1min_20160412.62078.txt");
  const OutputPaths windows = makeOutputPaths("観測,1", '\\');
  EXPECT_EQ(windows.hex, ".\\HEXFiles\\HEX_観測,1.txt");
  EXPECT_EQ(windows.csv, ".\\CSVFiles\\CSV_観測,1.CSV");
  EXPECT_EQ(windows.chk, ".\\CHKFiles\\CHK_観測,1.txt");
}

}  // namespace
}  // namespace fenmarq
