#include "convert/sheet_rows.h"

#include <algorithm>

#include "convert/spin_wait.h"
#include "formats/csv_sheet.h"

namespace fenmarq {

SheetRows::SheetRows(const FormatConverter& converter, std::span<const std::uint8_t> image,
                     std::string_view fileName, ByteSink& csv, std::size_t bufferSize)
    : converter_(converter), image_(image), fileName_(fileName), csv_(csv) {
  // A chunk's rows must fit the buffer whole: a sheet passes its buffer on
  // when it runs out of room, and that may only happen in the chunk's turn.
  // A row wider than the buffer makes all rows one chunk.
  const std::size_t rows = bufferSize / CsvSheet::valueRowRoom(converter.columnCount());
  const std::size_t count = converter.recordCount();
  rowsPerChunk_ = std::max<std::size_t>(1, rows > 0 ? rows : count);
  chunks_ = std::max<std::size_t>(1, (count + rowsPerChunk_ - 1) / rowsPerChunk_);
}

void SheetRows::work(std::span<char> buffer) {
  CsvSheet sheet(csv_, buffer);
  for (;;) {
    const std::size_t chunk = nextChunk_.fetch_add(1, std::memory_order_relaxed);
    if (chunk >= chunks_) return;
    if (chunk == 0) {
      // The first chunk's turn is now.
      converter_.writeHead(fileName_, sheet);
      sheet.flush();
    }
    const std::size_t first = chunk * rowsPerChunk_;
    converter_.writeRows(image_, first, std::min(first + rowsPerChunk_, converter_.recordCount()),
                         sheet);
    waitFor(written_, chunk);
    if (chunk + 1 == chunks_) converter_.writeNotes(sheet);
    sheet.flush();
    written_.store(chunk + 1, std::memory_order_release);
    written_.notify_all();
  }
}

}  // namespace fenmarq
