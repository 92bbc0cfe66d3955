#include "convert/chunked_sheet.h"

#include <algorithm>

#include "convert/spin_wait.h"
#include "formats/csv_sheet.h"

namespace fenmarq {
namespace {

// Gathers what a sheet passes on into a string.
class StringSink final : public ByteSink {
 public:
  explicit StringSink(std::string& text) : text_(text) {}
  void write(std::string_view bytes) override { text_.append(bytes); }

 private:
  std::string& text_;
};

// Notes where the one write of a chunk's rows lies: the rows are sized to
// fit the slot, so the sheet passes the slot on once, when flushed.
class SlotSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { written = bytes; }
  std::string_view written;
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
  if (chunk == 0) {
    head_.clear();
    StringSink sink(head_);
    CsvSheet sheet(sink, slots_.subspan(slot * slotSize_, slotSize_));
    converter_.writeHead(fileName_, sheet);
    sheet.flush();
    content_[slot] = head_;
  } else if (chunk + 1 == chunks_) {
    notes_.clear();
    StringSink sink(notes_);
    CsvSheet sheet(sink, slots_.subspan(slot * slotSize_, slotSize_));
    converter_.writeNotes(sheet);
    sheet.flush();
    content_[slot] = notes_;
  } else {
    SlotSink slotSink;
    wideRows_.clear();
    StringSink wideSink(wideRows_);
    ByteSink& sink = wide_ ? static_cast<ByteSink&>(wideSink) : slotSink;
    CsvSheet sheet(sink, slots_.subspan(slot * slotSize_, slotSize_));
    const std::size_t first = (chunk - 1) * rowsPerChunk_;
    converter_.writeRows(image_, first, std::min(first + rowsPerChunk_, converter_.recordCount()),
                         sheet);
    sheet.flush();
    content_[slot] = wide_ ? std::string_view(wideRows_) : slotSink.written;
  }
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
