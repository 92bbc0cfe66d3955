#include "app/dialog_model.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "convert/output_folders.h"
#include "platform/file_system.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using Targets = std::vector<std::string>;

// Entries stay in the order they were added, empty paths add nothing, and
// Delete removes the selected entry only, leaving none selected.
TEST(DialogModelTest, TargetListKeepsOrderAndDeletesTheSelectedEntry) {
  const Targets abc{"a", "b", "c"};
  const struct {
    Targets typed;
    int selected;  // -1: none
    int deletes;
    Targets listed;
  } cases[] = {
      {{""}, -1, 0, {}},
      {{"/d/a", "/d/a"}, -1, 0, {"/d/a", "/d/a"}},
      {{"c", "a", "", "b"}, -1, 0, {"c", "a", "b"}},
      {abc, -1, 1, abc},
      {abc, 1, 1, {"a", "c"}},
      {abc, 2, 1, {"a", "b"}},
      {abc, 0, 2, {"b", "c"}},
      {abc, 3, 1, abc},  // past the end: nothing is selected
  };
  for (const auto& c : cases) {
    DialogModel model("/start");
    for (const std::string& path : c.typed) model.addTarget(path);
    if (c.selected >= 0) model.select(static_cast<std::size_t>(c.selected));
    for (int i = 0; i < c.deletes; ++i) model.deleteSelected();
    EXPECT_EQ(model.targets(), c.listed) << c.typed.size() << " " << c.selected;
    EXPECT_FALSE(model.selection() && c.deletes > 0);
  }
}

TEST(DialogModelTest, FieldsShowTheParsedName) {
  EXPECT_EQ(
      DialogModel::fieldsOf("/obs/amd_1min_20160412.62078"),
      (DialogModel::Fields{"amd_1min_20160412.62078", "amd", "1min", "2016", "0412", "62078"}));
  EXPECT_EQ(DialogModel::fieldsOf("/obs/readme.txt"),
            (DialogModel::Fields{"readme.txt", "", "", "", "", ""}));
}

// The title counts the entries while a batch runs; when it is over, the
// window shows a failure that no log text names, then which output folders
// are missing where, when that is why the batch ended.
TEST(DialogModelTest, BatchTitleAndClosingMessages) {
  testing::ScopedTempDir dir(/*withOutputFolders=*/false);
  DialogModel model(utf8FromPath(dir.path()));
  model.addTarget("x");
  model.addTarget("y");
  EXPECT_EQ(model.startBatch(), (Targets{"x", "y"}));
  EXPECT_TRUE(model.batchRunning());
  model.entryReached(1);
  EXPECT_EQ(model.selection(), std::optional<std::size_t>(1));
  EXPECT_EQ(model.title(), "Fenmarq – 2 / 2");

  BatchResult ended;
  ended.failure = "the start directory is gone";
  ended.outputNotOpened = true;
  EXPECT_EQ(model.finishBatch(ended),
            (Targets{ended.failure, missingFoldersHint(model.startDirectory())}));
  EXPECT_FALSE(model.batchRunning());
  EXPECT_EQ(model.title(), "Fenmarq");

  for (const std::string_view folder : kOutputFolders) std::filesystem::create_directory(folder);
  model.startBatch();
  BatchResult outputNotOpened;
  outputNotOpened.outputNotOpened = true;
  EXPECT_EQ(model.finishBatch(outputNotOpened), Targets{});
  // A sheet that Excel holds is named, and what to do said.
  model.startBatch();
  outputNotOpened.heldOpen = ".\\CSVFiles\\CSV_x.CSV";
  EXPECT_EQ(
      model.finishBatch(outputNotOpened),
      Targets{
          "ファイル .\\CSVFiles\\CSV_x.CSV は、ほかのプログラム（エクセルなど）が開いているため"
          "書き込めません。\nそのプログラムで閉じてから、もう一度「変換開始」を押してください。"});
}

}  // namespace
}  // namespace fenmarq
