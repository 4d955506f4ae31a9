// The tracker's block as Windows keeps a named mapping: one block that lives
// while the tracker or the module holds it, read by the module whole words at
// a time.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/head_tracker.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace {

struct TrackerState {
  bool trackerHoldsIt = false;  // a tracker made the mapping and keeps it
  bool moduleHoldsIt = false;   // the module has it open
  std::uint32_t size = platform::kHeadTrackerBlockSize;
  std::uint8_t bytes[platform::kHeadTrackerBlockSize] = {};
  int openAttempts = 0;
  // A tracker storing while the module reads: after this many more reads of
  // the module's, these stores land.
  int readsUntilStores = -1;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> stores;
};

TrackerState& State() {
  static TrackerState state;
  return state;
}

}  // namespace

void ResetHeadTracker() { State() = TrackerState{}; }

void StartHeadTracker(std::uint32_t size) {
  TrackerState& state = State();
  // A mapping nobody holds any more is gone: a new one starts zeroed.
  if (!state.trackerHoldsIt && !state.moduleHoldsIt) std::memset(state.bytes, 0, sizeof state.bytes);
  state.trackerHoldsIt = true;
  state.size = size;
}

void StopHeadTracker() { State().trackerHoldsIt = false; }

void WriteHeadTrackerWord(std::uint32_t offset, std::uint32_t word) {
  if (offset % 4 == 0 && offset < sizeof State().bytes) std::memcpy(State().bytes + offset, &word, 4);
}

int HeadTrackerOpenAttempts() { return State().openAttempts; }

void WriteHeadTrackerDuringRead(int afterReads, std::vector<std::pair<std::uint32_t, std::uint32_t>> stores) {
  State().readsUntilStores = afterReads;
  State().stores = std::move(stores);
}

}  // namespace sim

namespace platform {

bool OpenHeadTrackerBlock() {
  sim::TrackerState& state = sim::State();
  if (state.moduleHoldsIt) return true;
  ++state.openAttempts;
  if (!state.trackerHoldsIt || state.size < kHeadTrackerBlockSize) return false;
  state.moduleHoldsIt = true;
  return true;
}

bool HeadTrackerBlockOpen() { return sim::State().moduleHoldsIt; }

void CloseHeadTrackerBlock() { sim::State().moduleHoldsIt = false; }

std::uint32_t HeadTrackerWord(std::uint32_t offset) {
  sim::TrackerState& state = sim::State();
  if (!state.moduleHoldsIt || offset % 4 != 0 || offset >= kHeadTrackerBlockSize) return 0;
  std::uint32_t word = 0;
  std::memcpy(&word, state.bytes + offset, 4);
  if (state.readsUntilStores >= 0 && state.readsUntilStores-- == 0) {
    for (const auto& [at, value] : state.stores) sim::WriteHeadTrackerWord(at, value);
  }
  return word;
}

}  // namespace platform
}  // namespace varolen
