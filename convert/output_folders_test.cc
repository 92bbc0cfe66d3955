#include "convert/output_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

// The hint names the missing folders, in their order, and the start folder.
TEST(OutputFoldersTest, HintNamesTheMissingFoldersAndWhere) {
  const struct {
    std::vector<std::string_view> present;
    std::string_view names;  // "" when the hint is empty
  } cases[] = {
      {{"HEXFiles", "CSVFiles", "CHKFiles"}, ""}, {{"CSVFiles", "CHKFiles"}, "HEXFiles"},
      {{"HEXFiles", "CHKFiles"}, "CSVFiles"},     {{"HEXFiles", "CSVFiles"}, "CHKFiles"},
      {{}, "HEXFiles、CSVFiles と CHKFiles"},
  };
  for (const auto& c : cases) {
    testing::ScopedTempDir dir(/*withOutputFolders=*/false);
    for (const std::string_view folder : c.present) std::filesystem::create_directory(folder);
    const std::string start = utf8FromPath(dir.path());
    const std::string expected =
        c.names.empty() ? ""
                        : "出力フォルダ " + std::string(c.names) + " がありません。\n" + start +
                              "\nの中に作ってから、もう一度「変換開始」を押してください。\n";
    EXPECT_EQ(missingFoldersHint(start), expected) << c.names;
  }
}

}  // namespace
}  // namespace fenmarq
