#include "platform/temporary_file.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "tests/support/scoped_temp_dir.h"

namespace fenmarq {
namespace {

using testing::readFile;
using testing::writeFile;

// A temporary file that a killed run left for a target goes when the next
// run for that target makes its own; those of other names stay, and the new
// one takes the target's place whole.
TEST(TemporaryFileTest, TheNextRunForATargetRemovesWhatAKilledOneLeft) {
  const testing::ScopedTempDir dir(/*withOutputFolders=*/false);
  const std::string abandoned = temporaryNamePrefix("t.csv") + "0badf00d.partial";
  const std::string other = temporaryNamePrefix("u.csv") + "0badf00d.partial";
  ASSERT_NE(temporaryNamePrefix("t.csv"), temporaryNamePrefix("u.csv"));
  ASSERT_LT(temporaryNamePrefix(std::string(250, 'x')).size(), 32u);
  writeFile(abandoned, "left by a killed run");
  // As long ago as a killed run's file is by the time another run comes.
  std::filesystem::last_write_time(
      abandoned, std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  writeFile(other, "another file's");
  writeFile("t.csv", "older");

  TemporaryFile file = makeTemporaryFile("t.csv");
  ASSERT_NE(file.stream, nullptr);
  EXPECT_FALSE(std::filesystem::exists(abandoned));
  EXPECT_TRUE(std::filesystem::exists(other));
  EXPECT_EQ(readFile("t.csv"), "older");
  std::fputs("newer", file.stream);
  ASSERT_TRUE(placeTemporaryFile(file, "t.csv"));
  EXPECT_EQ(readFile("t.csv"), "newer");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."),
                          std::filesystem::directory_iterator()),
            2);
}

}  // namespace
}  // namespace fenmarq
