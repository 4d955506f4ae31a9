#include "interaction/interaction_state.h"

#include "interaction/ground_probe.h"
#include "interaction/mouse_look.h"
#include "interaction/walking_pilot.h"

namespace varolen {

void ClearInteractionRecords() {
  ClearWalkingPilot();
  ForgetMouse();
}

void ResetInteractionState() {
  ClearWalkingPilot();
  ForgetMouse();
  ForgetKnownPlacements();
}

}  // namespace varolen
