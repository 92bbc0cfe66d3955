#include "tests/support/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_system.h"
#include "tests/support/scoped_temp_dir.h"

namespace fenmarq::testing {

namespace fs = std::filesystem;

std::vector<std::string> convertArgs(const std::vector<std::string>& targets, unsigned jobs) {
  std::vector<std::string> args = {"convert"};
  if (jobs > 0) args.insert(args.end(), {"--jobs", std::to_string(jobs)});
  args.push_back("--");
  args.insert(args.end(), targets.begin(), targets.end());
  return args;
}

Outputs outputFiles() {
  Outputs all;
  for (const Output output : kOutputs) {
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folderOf(output), error)) {
      const std::string key =
          std::string(folderOf(output)) + "/" + utf8FromPath(entry.path().filename());
      if (entry.is_symlink()) {
        all[key] = "-> " + utf8FromPath(fs::read_symlink(entry.path()));
      } else if (entry.is_directory()) {
        all[key] = "<folder>";
      } else if (entry.is_fifo()) {
        all[key] = "<fifo>";
      } else {
        all[key] = readFile(utf8FromPath(entry.path()));
      }
    }
  }
  return all;
}

Outputs outputsOf(const Outputs& all, std::string_view name) {
  Outputs some;
  for (const Output output : kOutputs) {
    if (const auto it = all.find(outputKey(output, name)); it != all.end()) some.insert(*it);
  }
  return some;
}

void expectOutputs(const Outputs& expected, const Outputs& actual) {
  for (const auto& [key, content] : expected) {
    const auto it = actual.find(key);
    if (it == actual.end()) {
      ADD_FAILURE() << key << " is missing";
    } else {
      EXPECT_EQ(firstDifference(content, it->second), "") << key;
    }
  }
  for (const auto& [key, content] : actual) {
    EXPECT_TRUE(expected.contains(key))
        << key << " was not expected (" << content.size() << " bytes)";
  }
}

}  // namespace fenmarq::testing
