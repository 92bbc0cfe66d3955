// One item's sheet, its data rows cut into chunks so that two threads can
// format them at once. Each thread formats the chunks it takes into a buffer
// of its own; the chunks reach the file strictly in order, the head with the
// first and the notes with the last, so the bytes are those of a sheet
// written from start to end by one thread.
#ifndef FENMARQ_CONVERT_SHEET_ROWS_H_
#define FENMARQ_CONVERT_SHEET_ROWS_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formats/byte_sink.h"
#include "formats/format_converter.h"

namespace fenmarq {

class SheetRows {
 public:
  // Every buffer later given to work() holds `bufferSize` bytes at least.
  SheetRows(const FormatConverter& converter, std::span<const std::uint8_t> image,
            std::string_view fileName, ByteSink& csv, std::size_t bufferSize);

  // Formats and writes chunks until none is left to take, using `buffer`.
  // Several threads may work at once, each with a buffer of its own; the
  // sheet is complete when every call has returned.
  void work(std::span<char> buffer);

 private:
  const FormatConverter& converter_;
  std::span<const std::uint8_t> image_;
  std::string_view fileName_;
  ByteSink& csv_;
  std::size_t rowsPerChunk_;
  std::size_t chunks_;
  std::atomic<std::size_t> nextChunk_{0};  // the next chunk to take
  std::atomic<std::size_t> written_{0};    // chunks passed to the file
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_SHEET_ROWS_H_
