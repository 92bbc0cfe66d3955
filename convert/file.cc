#include "convert/file.h"

#include <utility>

namespace fenmarq {

File::~File() {
  if (file_ != nullptr) std::fclose(file_);
}

bool File::open(const std::string& path, OpenMode mode,
                const std::function<bool(const FileIdentity&)>& admit) {
  if (file_ != nullptr) close();
  const OpenedFile opened = openRegularFile(path, mode, admit);
  file_ = opened.stream;
  identity_ = opened.identity;
  openedSize_ = opened.size;
  failure_ = opened.failure;
  error_ = opened.error;
  writeFailed_ = false;
  // Reads and writes come in large blocks already; a stream buffer would
  // only split each write that meets a partly filled buffer in two.
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
  return file_ != nullptr;
}

bool File::openThrough(const std::string& path) {
  if (file_ != nullptr) close();
  return adopt(openWriteThrough(path));
}

bool File::adopt(std::FILE* stream) {
  if (file_ != nullptr) close();
  file_ = stream;
  identity_ = {};
  openedSize_ = 0;
  failure_ = file_ != nullptr ? OpenFailure::kNone : OpenFailure::kRefused;
  error_ = 0;
  writeFailed_ = false;
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
  return file_ != nullptr;
}

bool File::flush() {
  return file_ != nullptr && std::fflush(file_) == 0 && std::ferror(file_) == 0 && !writeFailed_;
}

std::FILE* File::release() {
  if (file_ == nullptr) return nullptr;
  if (!flush()) {
    close();
    return nullptr;
  }
  return std::exchange(file_, nullptr);
}

bool File::takePermissionsOf(const std::string& path) {
  return fenmarq::takePermissionsOf(path, file_);
}

bool File::lock() {
  failure_ = lockFile(file_, lock_);
  return failure_ == OpenFailure::kNone;
}

std::size_t File::read(void* buffer, std::size_t size) {
  return std::fread(buffer, 1, size, file_);
}

void File::write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) writeFailed_ = true;
}

void File::rewind() { std::rewind(file_); }

bool File::truncate() {
  const bool truncated = truncateFile(file_);
  writeFailed_ |= !truncated;
  return truncated;
}

bool File::close() {
  if (file_ == nullptr) return true;
  // fclose flushes the stream's buffer; a flush that fails is a lost write.
  const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && closed && !writeFailed_;
}

}  // namespace fenmarq
