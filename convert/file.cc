#include "convert/file.h"

#include <utility>

namespace fenmarq {

File::~File() {
  if (file_ != nullptr) std::fclose(file_);
}

bool File::open(const std::string& path, const char* mode,
                const std::function<bool(const FileIdentity&)>& admit) {
  if (file_ != nullptr) close();
  const std::string_view m = mode;
  const OpenMode openMode = m == "rb"    ? OpenMode::kRead
                            : m == "r+b" ? OpenMode::kUpdate
                            : m == "wb"  ? OpenMode::kCreateWrite
                                         : OpenMode::kCreate;
  OpenedFile opened = openRegularFile(path, openMode, admit);
  file_ = opened.stream;
  identity_ = opened.identity;
  if (opened.lock.held()) lock_ = std::move(opened.lock);
  writeFailed_ = false;
  // Reads and writes come in large blocks already; a stream buffer would
  // only split each write that meets a partly filled buffer in two.
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
  return file_ != nullptr;
}

std::size_t File::read(void* buffer, std::size_t size) {
  return std::fread(buffer, 1, size, file_);
}

void File::write(std::string_view bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) writeFailed_ = true;
}

void File::rewind() { std::rewind(file_); }

bool File::empty() { return emptyFile(file_); }

bool File::close() {
  if (file_ == nullptr) return true;
  // fclose flushes the stream's buffer; a flush that fails is a lost write.
  const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  return flushed && closed && !writeFailed_;
}

}  // namespace fenmarq
