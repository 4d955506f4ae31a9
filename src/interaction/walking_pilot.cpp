#include "interaction/walking_pilot.h"

namespace varolen {

void SwitchToVirtualCockpit(CockpitControllerRecord& /*controller*/) {
  // The host view look-up comes with the cockpit controller.
}

}  // namespace varolen
