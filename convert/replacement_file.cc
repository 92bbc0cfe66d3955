#include "convert/replacement_file.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/file_system.h"

namespace fenmarq {

ReplacementFile::~ReplacementFile() { removeTemporary(); }

bool ReplacementFile::open() {
  const std::filesystem::path path = pathFromUtf8(path_);
  std::random_device seed;
  std::mt19937_64 random(seed());
  // A name already taken, by another run that writes the same file, say, is
  // passed over for another.
  for (int attempt = 0; attempt < 16; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".%016llx.partial",
                  static_cast<unsigned long long>(random()));
    std::string name = ".";
    name.append(utf8FromPath(path.filename())).append(suffix);
    const std::filesystem::path temporary = path.parent_path() / pathFromUtf8(name);
    if (file_.open(utf8FromPath(temporary), OpenMode::kCreateNew)) {
      temporary_ = utf8FromPath(temporary);
      return true;
    }
  }
  return false;
}

bool ReplacementFile::commit() {
  if (!file_.close() || !replaceFile(temporary_, path_)) {
    removeTemporary();
    return false;
  }
  temporary_.clear();
  return true;
}

void ReplacementFile::removeTemporary() {
  if (temporary_.empty()) return;
  file_.close();
  std::error_code ignored;
  std::filesystem::remove(pathFromUtf8(temporary_), ignored);
  temporary_.clear();
}

}  // namespace fenmarq
