#include "convert/output_paths.h"

#include <string_view>

namespace fenmarq {

OutputPaths makeOutputPaths(const std::string& fileName, char separator) {
  const auto in = [&](std::string_view folder, std::string_view prefix, std::string_view suffix) {
    std::string path = ".";
    path += separator;
    path += folder;
    path += separator;
    path += prefix;
    path += fileName;
    path += suffix;
    return path;
  };
  return {in("HEXFiles", "HEX_", ".txt"), in("CSVFiles", "CSV_", ".CSV"),
          in("CHKFiles", "CHK_", ".txt")};
}

}  // namespace fenmarq
