#include "cockpit/movement_keys.h"

#include "host/host_discovery.h"
#include "host/settings.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {
MovementKeysRecord keysHeld;

bool& FlagOf(MovementKey key) {
  MovementKeysRecord& keys = keysHeld;
  switch (key) {
    case MovementKey::Forward:
      return keys.PilotForward;
    case MovementKey::Backward:
      return keys.PilotBackward;
    case MovementKey::StepRight:
      return keys.PilotStepRight;
    case MovementKey::StepLeft:
      return keys.PilotStepLeft;
    case MovementKey::HeadRight:
      return keys.PilotHeadRight;
    case MovementKey::HeadLeft:
      return keys.PilotHeadLeft;
    case MovementKey::HeadUp:
      return keys.PilotHeadUp;
    case MovementKey::HeadDown:
      return keys.PilotHeadDown;
    case MovementKey::Crouch:
      return keys.PilotCrouch;
    case MovementKey::Up:
      return keys.PilotUp;
    case MovementKey::Down:
      break;
  }
  return keys.PilotDown;
}

// The number pad trims and throttles in the simulator: a key is the module's
// only where it moves something.
bool KeyActs(MovementKey key, std::int32_t kind) {
  const CameraSettingsRecord& settings = CameraSettings;
  if (!settings.InternalViewActive) return false;
  if (settings.ExternalViewActive) return true;
  return key != MovementKey::Crouch && (kind == kVirtualCockpitView || kind == kSpotView);
}

}  // namespace

const MovementKeysRecord& MovementKeys = keysHeld;

int FlipMovementKey(MovementKey key, bool release) {
  bool& flag = FlagOf(key);
  if (!release) {
    // These keys belong to the virtual cockpit, the spot view and the walking pilot.
    const HostAddress view = FindCurrentView();
    if (view == 0) return 0;
    const std::int32_t kind = ViewKindOf(view);
    if (!IsPilotView(kind)) return 0;
    if (!KeyActs(key, kind)) return 0;
  }
  flag = !flag;
  return 1;
}

void ReleaseMovementKeys() { keysHeld = {}; }

}  // namespace varolen
