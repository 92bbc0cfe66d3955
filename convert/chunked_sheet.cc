#include "convert/chunked_sheet.h"

#include <algorithm>

#include "convert/spin_wait.h"
#include "formats/csv_sheet.h"

namespace fenmarq {
namespace {

// Where a chunk's bytes go: appended to a string, or left in the slot they
// were formatted in. Rows sized to fit their slot are passed on once, when
// the sheet is flushed, and the sink notes where they lie.
class ChunkSink final : public ByteSink {
 public:
  explicit ChunkSink(std::string* text) : text_(text) {
    if (text_ != nullptr) text_->clear();
  }
  void write(std::string_view bytes) override {
    if (text_ != nullptr) {
      text_->append(bytes);
    } else {
      inSlot_ = bytes;
    }
  }
  std::string_view content() const { return text_ != nullptr ? *text_ : inSlot_; }

 private:
  std::string* text_;
  std::string_view inSlot_;
};

}  // namespace

ChunkedSheet::ChunkedSheet(const FormatConverter& converter, std::span<const std::uint8_t> image,
                           std::string_view fileName, std::span<char> slots)
    : converter_(converter),
      image_(image),
      fileName_(fileName),
      slots_(slots),
      slotSize_(slots.size() / kSlots) {
  // A chunk's rows must fit its slot whole. Rows wider than a slot make one
  // chunk of all rows, gathered in a string of its own.
  const std::size_t rows = slotSize_ / CsvSheet::valueRowRoom(converter.columnCount());
  const std::size_t count = converter.recordCount();
  wide_ = rows == 0;
  rowsPerChunk_ = std::max<std::size_t>(1, wide_ ? count : rows);
  chunks_ = (count + rowsPerChunk_ - 1) / rowsPerChunk_ + 2;
}

bool ChunkedSheet::take(std::size_t& chunk, std::size_t below) {
  chunk = nextToTake_.load(std::memory_order_relaxed);
  while (chunk < std::min(below, chunks_)) {
    if (nextToTake_.compare_exchange_weak(chunk, chunk + 1, std::memory_order_relaxed)) return true;
  }
  return false;
}

void ChunkedSheet::format() {
  for (std::size_t chunk; take(chunk, chunks_);) {
    // The slot is free once the chunk kSlots before this one is written.
    if (chunk >= kSlots) {
      waitUntil(written_, [&](std::size_t written) { return written + kSlots > chunk; });
    }
    if (written_.load(std::memory_order_relaxed) > chunks_) return;  // abandoned
    try {
      formatChunk(chunk);
    } catch (...) {
      // Hand the chunk back: the item's thread formats it again, where a
      // failure that persists reaches its caller.
      returned_.store(chunk, std::memory_order_relaxed);
      ready_[chunk % kSlots].store(kReturned, std::memory_order_release);
      ready_[chunk % kSlots].notify_all();
      return;
    }
  }
}

void ChunkedSheet::abandon() {
  nextToTake_.store(chunks_, std::memory_order_relaxed);
  written_.store(chunks_ + kSlots, std::memory_order_release);
  written_.notify_all();
}

void ChunkedSheet::formatChunk(std::size_t chunk) {
  const std::size_t slot = chunk % kSlots;
  const bool head = chunk == 0;
  const bool notes = chunk + 1 == chunks_;
  // The head, the notes and rows wider than a slot are gathered in strings
  // of their own; other rows stay in the slot they were formatted in.
  ChunkSink sink(head ? &head_ : notes ? &notes_ : wide_ ? &wideRows_ : nullptr);
  {
    CsvSheet sheet(sink, slots_.subspan(slot * slotSize_, slotSize_));
    if (head) {
      converter_.writeHead(fileName_, sheet);
    } else if (notes) {
      converter_.writeNotes(sheet);
    } else {
      const std::size_t first = (chunk - 1) * rowsPerChunk_;
      converter_.writeRows(image_, first, std::min(first + rowsPerChunk_, converter_.recordCount()),
                           sheet);
    }
  }  // the sheet passes on what it holds as it goes
  content_[slot] = sink.content();
  ready_[slot].store(chunk + 1, std::memory_order_release);
  ready_[slot].notify_all();
}

bool ChunkedSheet::isReady(std::size_t chunk) const {
  return ready_[chunk % kSlots].load(std::memory_order_acquire) == chunk + 1;
}

void ChunkedSheet::writeChunk(std::size_t chunk, ByteSink& csv) {
  csv.write(content_[chunk % kSlots]);
  written_.store(chunk + 1, std::memory_order_release);
  written_.notify_all();
}

void ChunkedSheet::writeReady(ByteSink& csv) {
  for (std::size_t next = written_.load(std::memory_order_relaxed); next < chunks_ && isReady(next);
       ++next) {
    writeChunk(next, csv);
  }
}

void ChunkedSheet::finish(ByteSink& csv) {
  for (std::size_t next = written_.load(std::memory_order_relaxed); next < chunks_;) {
    if (isReady(next)) {
      writeChunk(next++, csv);
      continue;
    }
    if (returned_.load(std::memory_order_relaxed) == next) {
      formatChunk(next);
      continue;
    }
    // The next chunk is another thread's and under way: meanwhile, format a
    // later one that no one has taken yet, as long as its slot is free.
    std::size_t chunk;
    if (take(chunk, next + kSlots)) {
      formatChunk(chunk);
    } else {
      waitUntil(ready_[next % kSlots],
                [&](std::size_t ready) { return ready == next + 1 || ready == kReturned; });
    }
  }
}

}  // namespace fenmarq
