// One item's sheet, cut into chunks that any thread may format while the
// item's own thread writes them to the file, strictly in order. The chunks
// are the head, the data rows a few hundred at a time, and the notes.
//
// Only the item's thread writes to files: two threads writing at once mostly
// contend in the system for page-cache memory. So the helper thread formats
// (the sheet's computing), and the item's thread passes each formatted chunk
// on between the blocks of its hex files.
#ifndef FENMARQ_CONVERT_CHUNKED_SHEET_H_
#define FENMARQ_CONVERT_CHUNKED_SHEET_H_

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/byte_sink.h"
#include "formats/format_converter.h"

namespace fenmarq {

class ChunkedSheet {
 public:
  static constexpr std::size_t kSlots = 4;

  // Chunks are formatted into `slots`, cut into kSlots equal buffers. A
  // chunk's slot is free again once the chunk is written.
  ChunkedSheet(const FormatConverter& converter, std::span<const std::uint8_t> image,
               std::string_view fileName, std::span<char> slots);

  // Any thread but the item's: formats chunks until none is left to take.
  // Never throws: a chunk it fails to format is handed back to finish().
  void format();
  // The item's thread: writes the chunks that are ready, in order, and
  // returns without waiting for others.
  void writeReady(ByteSink& csv);
  // The item's thread: writes every chunk left, formatting those that no
  // thread has taken yet (or that one handed back). The sheet is complete on
  // return.
  void finish(ByteSink& csv);
  // The item's thread, leaving without the sheet: no chunk is taken any
  // more, and one under way finishes without waiting for its slot.
  void abandon();

 private:
  // Takes the next chunk to format, if one is left before `below`.
  bool take(std::size_t& chunk, std::size_t below);
  void formatChunk(std::size_t chunk);
  bool isReady(std::size_t chunk) const;
  void writeChunk(std::size_t chunk, ByteSink& csv);

  const FormatConverter& converter_;
  std::span<const std::uint8_t> image_;
  std::string_view fileName_;
  std::span<char> slots_;
  std::size_t slotSize_;
  bool wide_;  // rows wider than a slot
  std::size_t rowsPerChunk_;
  std::size_t chunks_;  // head, row chunks, notes
  std::string head_;
  std::string notes_;
  std::string wideRows_;
  std::string_view content_[kSlots];
  // Per slot: one more than the chunk it holds ready (0: none), or
  // kReturned while the chunk returned_ waits to be formatted again.
  static constexpr std::size_t kReturned = static_cast<std::size_t>(-1);
  std::atomic<std::size_t> ready_[kSlots] = {};
  std::atomic<std::size_t> returned_{kReturned};
  std::atomic<std::size_t> nextToTake_{0};
  std::atomic<std::size_t> written_{0};  // chunks written, in order
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_CHUNKED_SHEET_H_
