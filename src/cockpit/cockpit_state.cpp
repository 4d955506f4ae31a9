#include "cockpit/cockpit_state.h"

#include <cstring>

#include "cockpit/body_motion.h"
#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/motion.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"

namespace varolen {

void ResetCockpitState() {
  ResetCockpitTick();
  // Zero bytes, padding and all, so that equal records are equal bytes.
  // All-zero bytes are 0.0 in IEEE 754 floats, the only kind the module runs on.
  // cppcheck-suppress memsetClassFloat
  std::memset(&CockpitViewState, 0, sizeof CockpitViewState);
  ResetHeadMotion();
  ReleaseMovementKeys();
  ResetMotion();
  ResetBodyMotion();
}

}  // namespace varolen
