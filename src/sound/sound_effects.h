// The effect sounds.
#pragma once

namespace varolen {

// The effect sounds' slots.
enum SoundSlotNumber {
  kLightWindSoundSlot = 1,
  kStrongWindSoundSlot = 2,
  kStressSoundSlot = 3,
  kWalkSoundSlot = 4,
  kRunSoundSlot = 5,
  kCrouchSoundSlot = 6,
};

// Per-frame set-up of the sound device and 3-D update. Returns 1.
int UpdateSoundEffects();
// The footstep, wind and stress rules.
void ApplySoundEffectRules();
// 1 when the slot holds a sound, 0 otherwise.
int StartSoundSlot(int slot, int looping);
int StopSoundSlot(int slot);

// "Sound on" switched off: stop every playing effect sound, keeping its state.
int StopLoopingSounds();
// "Sound on" switched on: play again what was playing.
int ResumeLoopingSounds();

}  // namespace varolen
