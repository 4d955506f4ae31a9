#include "interaction/walking_pilot.h"

namespace varolen {

void UpdateWalkingPilot(CockpitControllerRecord& /*controller*/) {
  // The walking pilot comes with the interaction subsystem.
}

void SwitchToVirtualCockpit(CockpitControllerRecord& /*controller*/) {
  // The host view look-up comes with the cockpit controller.
}

}  // namespace varolen
