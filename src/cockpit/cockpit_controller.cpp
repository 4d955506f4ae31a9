#include "cockpit/cockpit_controller.h"

#include <cstring>

namespace varolen {

namespace {
CockpitTickRecord tick;
}  // namespace

const CockpitTickRecord& CockpitTick = tick;

const CockpitTickRecord& AdvanceCockpitTick(std::uint32_t now) {
  AdvanceClock(tick.clock, now);
  tick.TickTime = now / 1000.0;
  return tick;
}

void ResetCockpitTick() {
  // Zero bytes, padding and all, so that equal records are equal bytes.
  // cppcheck-suppress memsetClassFloat
  std::memset(&tick, 0, sizeof tick);
}

}  // namespace varolen
