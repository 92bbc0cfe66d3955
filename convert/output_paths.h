// Where the outputs of an observation file go, relative to the start
// directory.
#ifndef FENMARQ_CONVERT_OUTPUT_PATHS_H_
#define FENMARQ_CONVERT_OUTPUT_PATHS_H_

#include <string>

namespace fenmarq {

struct OutputPaths {
  std::string hex;
  std::string csv;
  std::string chk;
};

// The three output paths of a file, e.g. ./HEXFiles/HEX_amd_1min_20160412.62078.txt
// on POSIX and .\HEXFiles\HEX_amd_1min_20160412.62078.txt on Windows.
OutputPaths makeOutputPaths(const std::string& fileName, char separator);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_OUTPUT_PATHS_H_
