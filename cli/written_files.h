// What convert, table and samples write besides the batch's own outputs.
#ifndef FENMARQ_CLI_WRITTEN_FILES_H_
#define FENMARQ_CLI_WRITTEN_FILES_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace fenmarq {

// Creates the three output folders in `directory` where they are missing;
// false, after saying which one cannot be created and why, when one cannot.
bool makeOutputFolders(const std::filesystem::path& directory);

// Writes `text` to `path`, replacing it only once all is written.
bool writeWhole(const std::string& path, std::string_view text);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_WRITTEN_FILES_H_
