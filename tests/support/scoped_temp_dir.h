// A fresh folder under the system's temporary directory, made current for the
// life of the object and removed with everything in it afterwards.
#ifndef FENMARQ_TESTS_SUPPORT_SCOPED_TEMP_DIR_H_
#define FENMARQ_TESTS_SUPPORT_SCOPED_TEMP_DIR_H_

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fenmarq::testing {

class ScopedTempDir {
 public:
  // With `withOutputFolders`, HEXFiles, CSVFiles and CHKFiles are created too.
  explicit ScopedTempDir(bool withOutputFolders = true);
  ~ScopedTempDir();
  ScopedTempDir(const ScopedTempDir&) = delete;
  ScopedTempDir& operator=(const ScopedTempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

// Files by UTF-8 path.
void writeFile(std::string_view path, std::string_view bytes);
void writeFile(std::string_view path, const std::vector<std::uint8_t>& bytes);
std::string readFile(std::string_view path);

// "" when equal, else a description of the first differing offset.
std::string firstDifference(std::string_view expected, std::string_view actual);

// Two upper-case hex digits per byte, spelled out here rather than taken from
// the code under test.
std::string hexOf(std::string_view bytes);
inline std::string hexOf(std::span<const std::uint8_t> bytes) {
  return hexOf({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_SUPPORT_SCOPED_TEMP_DIR_H_
