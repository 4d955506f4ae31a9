// The movement keys held. In the virtual cockpit they move the eye and turn
// the head; the walking pilot walks, looks round and crouches by them. Bound
// with DOUBLE, a key's press switches its movement on and its release off.
#pragma once

#include <cstdint>

namespace varolen {

enum class MovementKey : std::uint8_t {
  Forward,
  Backward,
  StepRight,
  StepLeft,
  HeadRight,
  HeadLeft,
  HeadUp,
  HeadDown,
  Crouch,
  Up,
  Down,
};

struct MovementKeysRecord {
  bool PilotForward;
  bool PilotBackward;
  bool PilotStepRight;
  bool PilotStepLeft;
  bool PilotHeadUp;
  bool PilotHeadDown;
  bool PilotHeadRight;
  bool PilotHeadLeft;
  bool PilotUp;
  bool PilotDown;
  bool PilotCrouch;
};

extern const MovementKeysRecord& MovementKeys;

// A press flips the key's movement where the key moves something, and is
// then 1: the walking pilot while he is out, the eye in the virtual cockpit
// and the spot view while the module runs the cockpit view (the crouch is the
// pilot's alone). Elsewhere it is 0, and the key is the simulator's. A release
// flips it back wherever the view went meanwhile, so that nothing is left
// moving.
int FlipMovementKey(MovementKey key, bool release);
// No key held, as a freshly loaded module has them.
void ReleaseMovementKeys();

}  // namespace varolen
