#include "cockpit/cockpit_controller.h"

namespace varolen {

CockpitTickRecord CockpitTick;

void AdvanceCockpitTick(std::uint32_t now) {
  AdvanceClock(CockpitTick.clock, now);
  CockpitTick.TickTime = now / 1000.0;
}

}  // namespace varolen
