// The external walking pilot.
#pragma once

#include "cockpit/cockpit_controller.h"

namespace varolen {

// The walking pilot's frame: its view begins, moves and ends here.
void UpdateWalkingPilot(CockpitControllerRecord& controller);

// Makes the host's current view the virtual cockpit (kind 2); nothing without a current view.
void SwitchToVirtualCockpit(CockpitControllerRecord& controller);

}  // namespace varolen
