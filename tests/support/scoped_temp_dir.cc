#include "tests/support/scoped_temp_dir.h"

#include <chrono>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "platform/file_system.h"

namespace fenmarq::testing {

ScopedTempDir::ScopedTempDir(bool withOutputFolders) {
  previous_ = std::filesystem::current_path();
  // A new folder of a random name; creating it is what claims the name.
  std::mt19937_64 random(std::random_device{}() ^
                         std::chrono::steady_clock::now().time_since_epoch().count());
  for (int attempt = 0; path_.empty(); ++attempt) {
    if (attempt == 100) throw std::runtime_error("cannot create a temporary folder");
    std::ostringstream name;
    name << "fenmarq-test-" << std::hex << random();
    const std::filesystem::path candidate = std::filesystem::temp_directory_path() / name.str();
    if (std::filesystem::create_directory(candidate)) path_ = candidate;
  }
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

void writeFile(std::string_view path, std::string_view bytes) {
  std::ofstream out(pathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + std::string(path));
}

void writeFile(std::string_view path, const std::vector<std::uint8_t>& bytes) {
  writeFile(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string readFile(std::string_view path) {
  std::ifstream in(pathFromUtf8(path), std::ios::binary);
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
