#include "cockpit/cockpit_state.h"

#include "cockpit/body_motion.h"
#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/motion.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"

namespace varolen {

void ResetCockpitState() {
  ResetCockpitTick();
  ClearCockpitView();
  ResetHeadMotion();
  ReleaseMovementKeys();
  ResetMotion();
  ResetBodyMotion();
}

}  // namespace varolen
