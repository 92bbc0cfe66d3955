#include "convert/batch_converter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iterator>
#include <map>
#include <numeric>
#include <optional>
#include <thread>

#include "convert/output_paths.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "tests/support/expected_log.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/recording_batch.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using namespace fenmarq::testing;
namespace fs = std::filesystem;

constexpr std::string_view kAmd = "amd_1min_20160412.62078";
constexpr std::size_t kAmdSize = 246'240;
constexpr std::size_t kSfcSize = 367'200;

std::string bytesOfSize(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 253);
  return bytes;
}

// Every batch runs on one worker (the calling thread), on two, on three and
// on one per processor (0): the log and the view hear the same either way.
class BatchConverterTest : public ::testing::TestWithParam<unsigned> {
 protected:
  BatchResult run(const std::vector<std::string>& targets) {
    log_.texts.clear();
    view_.selected.clear();
    return BatchConverter({.workers = GetParam()})
        .run(targets, utf8FromPath(dir_.path()), log_, view_);
  }
  std::string log() const { return log_.joined(); }

  ScopedTempDir dir_;
  RecordingLog log_;
  RecordingView view_;
};

// Entries that match no rule are skipped; files shorter than their layout
// convert as if padded with zeros; entries with the same name write the same
// outputs, the later one winning even when it is much quicker to convert.
TEST_P(BatchConverterTest, ConvertsTheListInOrder) {
  EXPECT_TRUE(run({}).finished);
  EXPECT_EQ(log(), kBatchEndLog);
  EXPECT_TRUE(view_.selected.empty());

  fs::create_directory("big");
  const std::string big = "big/" + std::string(kAmd), amd(kAmd);
  const std::string last = bytesOfSize(kAmdSize).replace(0, 4, "last");
  // Each entry with the content of its file; entries that match no rule have none.
  const std::vector<std::pair<std::string, std::optional<std::string>>> entries = {
      {big, bytesOfSize(16 * kAmdSize)},
      {amd, last},
      {amd, last},
      {"readme.txt", std::nullopt},
      {"amd_1min_20081117.62078", std::nullopt},
      {"sfc_1min_20160412.47662", bytesOfSize(kSfcSize)},
      {"amd_1min_20160413.62078", ""},
      {"amd_1min_20160414.62078", bytesOfSize(3)},
      {"amd_1min_20160415.62078", bytesOfSize(kAmdSize - 1)}};
  std::vector<std::string> targets;
  for (const auto& [path, content] : entries) {
    if (content) writeFile(path, *content);
    targets.push_back(path);
  }
  writeFile(outputKey(Output::kHex, kAmd), std::string(64 * kAmdSize, 'Z'));
  fs::current_path("CSVFiles");  // the batch makes the start directory current again
  const BatchResult result = run(targets);

  std::string expected;
  for (const auto& [path, content] : entries) {
    if (!content) {
      expected += kNotTargetLog;
      continue;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    const bool sfc = name.starts_with("sfc");
    const std::size_t layout = sfc ? kSfcSize : kAmdSize;
    expected += convertedItemLog(path, name, content->size(), sfc ? kSfc1MinEnd : kAmd1MinEnd,
                                 content->size() < layout ? layout : 0);
    EXPECT_TRUE(readFile(outputKey(Output::kCsv, name))
                    .starts_with(std::string(kSheetNameCell) + name + "\n"));
    if (path == big) continue;
    EXPECT_EQ(firstDifference(hexOf(*content), readFile(outputKey(Output::kHex, name))), "");
    EXPECT_EQ(firstDifference(hexOf(*content), readFile(outputKey(Output::kChk, name))), "");
  }
  EXPECT_EQ(firstDifference(expected + std::string(kBatchEndLog), log()), "");
  EXPECT_TRUE(result.finished);
  EXPECT_FALSE(result.problemsReported);
  EXPECT_EQ(log_.limit, 0x7FFFFFFFu);
  // After a complete batch the last entry stays selected.
  EXPECT_EQ(view_.selected, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
  ASSERT_EQ(view_.fields.size(), targets.size());
  for (std::size_t i = 0; i < targets.size(); ++i) {
    EXPECT_EQ(view_.fields[i], parseObservationFileName(targets[i], directorySeparators()));
  }
  EXPECT_TRUE(view_.messages.empty());
}

// An input, or an output of an item, that cannot be opened ends the batch;
// the failing entry stays selected.
TEST_P(BatchConverterTest, EndsAtAnEntryWhoseFilesCannotBeOpened) {
  const std::string amd(kAmd);
  writeFile(kAmd, bytesOfSize(kAmdSize));
  fs::create_directory("amd_1min_20160412.1");
  const std::string item = convertedItemLog(kAmd, kAmd, kAmdSize, kAmd1MinEnd);
  const std::string hex = outputPath(Output::kHex, kAmd), csv = outputPath(Output::kCsv, kAmd);
  const struct {
    const char* movedFolder;
    std::vector<std::string> targets;
    std::string log;
  } cases[] = {
      {nullptr, {amd, "gone/" + amd, amd}, item + notOpenedLine("gone/" + amd)},
      {nullptr, {amd, "amd_1min_20160412.1", amd}, item + notOpenedLine("amd_1min_20160412.1")},
      {"HEXFiles", {amd, amd}, openedLine(kAmd) + notOpenedLine(hex)},
      {"CSVFiles", {amd, amd}, openedLine(kAmd) + openedLine(hex) + notOpenedLine(csv)},
      {"CHKFiles",
       {amd, amd},
       openedLine(kAmd) + openedLine(hex) + openedLine(csv) +
           notOpenedLine(outputPath(Output::kChk, kAmd))},
  };
  for (const auto& c : cases) {
    if (c.movedFolder) fs::rename(c.movedFolder, "moved");
    EXPECT_FALSE(run(c.targets).finished);
    EXPECT_EQ(firstDifference(c.log, log()), "") << c.targets[1];
    std::vector<std::size_t> selected(c.targets.size() - 1);
    std::iota(selected.begin(), selected.end(), 0);
    EXPECT_EQ(view_.selected, selected) << c.targets[1];
    if (c.movedFolder) fs::rename("moved", c.movedFolder);
  }
}

// A message box holds the batch until it is dismissed: nothing more reaches
// the log meanwhile, whatever the other workers are doing. (Writes fail here
// because the process may write no file past 1,000 bytes.)
TEST_P(BatchConverterTest, MessageBoxHoldsTheBatchUntilDismissed) {
  if (!fileSizeLimitWorks()) GTEST_SKIP() << "needs a file-size limit";
  class HoldingView final : public BatchView {
   public:
    explicit HoldingView(const RecordingLog& log) : log_(log) {}
    void selectEntry(std::size_t) override {}
    void showFields(const ObservationFileName&) override {}
    void showMessageBox(std::string_view) override {
      const std::size_t before = log_.texts.size();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      held &= log_.texts.size() == before;
      ++boxes;
    }
    const RecordingLog& log_;
    bool held = true;
    int boxes = 0;
  } view(log_);
  for (const char* name : {"amd_1min_20160412.1", "amd_1min_20160412.2", "amd_1min_20160412.3"}) {
    writeFile(name, bytesOfSize(3000));
  }
  {
    const FileSizeLimit limit(1000);
    BatchConverter({.workers = GetParam()})
        .run({"amd_1min_20160412.1", "amd_1min_20160412.2", "amd_1min_20160412.3"},
             utf8FromPath(dir_.path()), log_, view);
  }
  EXPECT_EQ(view.boxes, 9);  // the HEX, CHK and CSV files of each entry
  EXPECT_TRUE(view.held);
}

// While entry i is passed on, at most kEntriesAheadOfLog entries from i on
// have opened their outputs, however many workers there are: here a large
// first entry lets the workers run ahead through small ones behind it.
TEST_P(BatchConverterTest, OpensNoMoreThanTheBoundAheadOfTheLog) {
  class CountingView final : public BatchView {
   public:
    void selectEntry(std::size_t index) override {
      const auto opened = std::distance(fs::directory_iterator("HEXFiles"), {});
      worst = std::max(worst, static_cast<std::size_t>(opened) - index);
    }
    void showFields(const ObservationFileName&) override {}
    void showMessageBox(std::string_view) override {}
    std::size_t worst = 0;  // the most entries opened ahead of the one passed on
  } view;
  std::vector<std::string> targets = {std::string(kAmd)};
  writeFile(kAmd, bytesOfSize(16 * kAmdSize));
  for (std::size_t i = 0; i < 3 * kEntriesAheadOfLog; ++i) {
    targets.push_back("amd_1min_20160412." + std::to_string(10000 + i));
    writeFile(targets.back(), bytesOfSize(3));
  }
  EXPECT_TRUE(BatchConverter({.workers = GetParam()})
                  .run(targets, utf8FromPath(dir_.path()), log_, view)
                  .finished);
  EXPECT_LE(view.worst, kEntriesAheadOfLog);
}

INSTANTIATE_TEST_SUITE_P(Workers, BatchConverterTest, ::testing::Values(1u, 2u, 3u, 8u, 0u));

TEST(OutputPathsTest, JoinFoldersWithTheSeparator) {
  const OutputPaths windows = makeOutputPaths("観測,1", '\\');
  EXPECT_EQ(windows.hex, ".\\HEXFiles\\HEX_観測,1.txt");
  EXPECT_EQ(windows.csv, ".\\CSVFiles\\CSV_観測,1.CSV");
  EXPECT_EQ(windows.chk, ".\\CHKFiles\\CHK_観測,1.txt");
}

}  // namespace
}  // namespace fenmarq
