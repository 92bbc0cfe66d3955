#include "convert/replacement_file.h"

#include <filesystem>
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

ReplacementFile::~ReplacementFile() {
  temporary_.stream = file_.release();
  discardTemporaryFile(temporary_);
}

bool ReplacementFile::open() {
  const std::filesystem::path path = followLinks(pathFromUtf8(path_));
  final_ = utf8FromPath(path);
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  writesThrough_ = namesOpenDescriptor(path_) ||
                   (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status));
  if (writesThrough_) return file_.openThrough(path_);
  temporary_ = makeTemporaryFile(final_);
  if (!file_.adopt(temporary_.stream)) return false;
  temporary_.stream = nullptr;  // the file's own now
  return file_.takePermissionsOf(final_);
}

std::string ReplacementFile::folder() const {
  return utf8FromPath(pathFromUtf8(final_).parent_path());
}

bool ReplacementFile::commit() {
  if (writesThrough_) return file_.close();
  temporary_.stream = file_.release();
  if (temporary_.stream == nullptr) {
    discardTemporaryFile(temporary_);
    return false;
  }
  return placeTemporaryFile(temporary_, final_);
}

}  // namespace fenmarq
