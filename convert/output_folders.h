// The three folders that receive the outputs, and a hint for a user whose
// batch ended because one of them is missing.
#ifndef FENMARQ_CONVERT_OUTPUT_FOLDERS_H_
#define FENMARQ_CONVERT_OUTPUT_FOLDERS_H_

#include <string>
#include <string_view>
#include <vector>

namespace fenmarq {

inline constexpr std::string_view kOutputFolders[] = {"HEXFiles", "CSVFiles", "CHKFiles"};

// Those of the three folders that `startDirectory` (UTF-8) lacks, in the
// order above.
std::vector<std::string_view> missingOutputFolders(std::string_view startDirectory);

// "出力フォルダ HEXFiles と CHKFiles がありません。..." naming the missing
// folders and the start directory, in the window's words; empty when none
// is missing.
std::string missingFoldersHint(std::string_view startDirectory);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_OUTPUT_FOLDERS_H_
