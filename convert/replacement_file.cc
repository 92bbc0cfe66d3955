#include "convert/replacement_file.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/file_system.h"

namespace fenmarq {
namespace {

// The file that `path` leads to through its symbolic links, whether or not
// that file exists yet.
std::filesystem::path followLinks(std::filesystem::path path) {
  std::error_code error;
  // As many links as the system follows in one path.
  for (int hops = 0; hops < 40 && std::filesystem::is_symlink(path, error); ++hops) {
    const std::filesystem::path target = std::filesystem::read_symlink(path, error);
    if (error) break;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

}  // namespace

ReplacementFile::~ReplacementFile() { removeTemporary(); }

bool ReplacementFile::open() {
  const std::filesystem::path path = followLinks(pathFromUtf8(path_));
  final_ = utf8FromPath(path);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  writesThrough_ = namesOpenDescriptor(path_) ||
                   (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status));
  if (writesThrough_) return file_.openThrough(path_);

  std::random_device seed;
  std::mt19937_64 random(seed());
  // A short name of its own, whatever the length of the final one, so that
  // it fits wherever the final name does. A name already taken, by another
  // run that writes the same file, say, is passed over for another.
  for (int attempt = 0; attempt < 16; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, ".fenmarq-%012llx.partial",
                  static_cast<unsigned long long>(random() & 0xFFFF'FFFF'FFFFull));
    const std::filesystem::path temporary = path.parent_path() / pathFromUtf8(name);
    if (file_.open(utf8FromPath(temporary), OpenMode::kCreateNew)) {
      temporary_ = utf8FromPath(temporary);
      if (file_.takePermissionsOf(final_)) return true;
      removeTemporary();
      return false;
    }
  }
  return false;
}

bool ReplacementFile::commit() {
  if (writesThrough_) return file_.close();
  if (!file_.close() || !replaceFile(temporary_, final_)) {
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
