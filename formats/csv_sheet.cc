#include "formats/csv_sheet.h"

#include <algorithm>
#include <cstring>

namespace fenmarq {

CsvSheet::CsvSheet(ByteSink& sink) : sink_(sink), owned_(kDefaultBufferSize), buffer_(owned_) {}

CsvSheet::CsvSheet(ByteSink& sink, std::span<char> buffer) : sink_(sink), buffer_(buffer) {}

CsvSheet::~CsvSheet() { flush(); }

void CsvSheet::writeEmptyCells(std::size_t n) {
  while (n > 0) {
    reserve(1);
    const std::size_t run = std::min(n, buffer_.size() - used_);
    std::memset(buffer_.data() + used_, ',', run);
    used_ += run;
    n -= run;
  }
}

void CsvSheet::writeText(std::string_view text) {
  if (text.empty()) return;
  if (text.size() > buffer_.size() - used_) {
    flush();
    if (text.size() > buffer_.size()) {
      sink_.write(text);
      return;
    }
  }
  std::memcpy(buffer_.data() + used_, text.data(), text.size());
  used_ += text.size();
}

char* CsvSheet::beginRow(std::size_t room) {
  if (room > buffer_.size()) {
    // Wider than any record format; a buffer of its own keeps it correct.
    flush();
    owned_.resize(room);
    buffer_ = owned_;
  }
  reserve(room);
  return buffer_.data() + used_;
}

void CsvSheet::flush() {
  if (used_ == 0) return;
  sink_.write({buffer_.data(), used_});
  used_ = 0;
}

}  // namespace fenmarq
