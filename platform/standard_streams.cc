#include "platform/standard_streams.h"

#include <atomic>

namespace fenmarq {
namespace {

// Set by the entry point before anything else runs, read afterwards.
std::atomic<bool> closedAtStart[2];

std::atomic<bool>& closedAtStartOf(StandardStream stream) {
  return closedAtStart[stream == StandardStream::kOutput ? 0 : 1];
}

}  // namespace

bool startedClosed(StandardStream stream) { return closedAtStartOf(stream).load(); }

void noteStartedClosed(StandardStream stream) { closedAtStartOf(stream).store(true); }

}  // namespace fenmarq
