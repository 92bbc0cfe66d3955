#include "tests/support/scoped_temp_dir.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fenmarq::testing {

ScopedTempDir::ScopedTempDir(bool withOutputFolders) {
  previous_ = std::filesystem::current_path();
  std::string pattern = (std::filesystem::temp_directory_path() / "fenmarq-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
  if (withOutputFolders) {
    for (const char* folder : {"HEXFiles", "CSVFiles", "CHKFiles"}) {
      std::filesystem::create_directory(path_ / folder);
    }
  }
  std::filesystem::current_path(path_);
}

ScopedTempDir::~ScopedTempDir() {
  std::error_code ignored;
  std::filesystem::current_path(previous_, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  writeFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string readFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string firstDifference(std::string_view expected, std::string_view actual) {
  std::size_t i = 0;
  while (i < expected.size() && i < actual.size() && expected[i] == actual[i]) ++i;
  if (i == expected.size() && i == actual.size()) return "";
  std::ostringstream out;
  out << "first difference at offset " << i << " (expected " << expected.size() << " bytes, got "
      << actual.size() << "); expected \"" << expected.substr(i, 40) << "\", got \""
      << actual.substr(i, 40) << "\"";
  return out.str();
}

std::string hexOf(std::string_view bytes) {
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (const unsigned char b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

}  // namespace fenmarq::testing
