// The cockpit's tick: its step is the time since the cockpit last ran.
#include "cockpit/cockpit_controller.h"

#include <gtest/gtest.h>

#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "shell/frame.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

class CockpitTicks : public testing::ModuleTest {};

// A movement key latched while the cockpit did not run (its view off for a
// minute) moves the eye by a second's worth at most, not by the whole pause.
TEST_F(CockpitTicks, AKeyLatchedDuringAPauseMovesTheEyeOneSecondAtMost) {
  StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}}});
  testing::SetFlight({});
  testing::RunCockpitAt(100000);
  const double before = CockpitViewState.EyePosition.z;
  testing::Poke(MovementKeys).PilotForward = 1;
  testing::RunCockpitAt(160000);
  EXPECT_EQ(CockpitTick.clock.step, 1.0);
  EXPECT_EQ(CockpitViewState.EyePosition.z - before, 1.0);
}

}  // namespace
}  // namespace varolen
