// The effect sounds: wind from outside, airframe stress in buffeting, the
// walking pilot's footsteps; 3-D sounds placed by their volume.
#pragma once

#include <cstdint>

#include "platform/sound.h"
#include "sound/sound_playback.h"

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
inline constexpr int kSoundSlotCount = 26;

struct SoundSlot {
  bool loaded;
  std::int32_t state;  // 0 stopped, 1 started once, 2 started looping
  bool playing;        // 1 while a looping start is in force
  double volume;       // 0.0 to 1.0
  double position[3];
  double velocity[3];  // metres per second
  SoundClip sound;
  platform::Sound3DHandle buffer3D;
  platform::Sound3DParameters parameters;
};

// The sound device, created on first use; and the 3-D listener.
struct SoundSystemRecord {
  SoundDevice device;
  platform::ListenerHandle listener;
  // After a failed device set-up, when to try again (multimedia clock, ms):
  // on a machine without audio a set-up costs milliseconds, too much for every frame.
  bool setUpFailed;
  std::uint32_t nextSetUp;
};

// The slots, the device and the listener live until the process ends: nothing
// releases them when the module unloads (DirectSound may be gone by then).
extern const SoundSlot (&SoundSlots)[kSoundSlotCount];
extern const SoundSystemRecord& SoundSystem;

// Per-frame set-up of the device and 3-D update at the frame's clock reading
// `now` (milliseconds). Returns 1.
int UpdateSoundEffects(std::uint32_t now);
// 1 when the wave file was loaded into the slot.
int LoadSoundSlot(int slot, const char* fileName);
// 1 when the slot holds a sound, 0 otherwise.
int StartSoundSlot(int slot, int looping);
int StopSoundSlot(int slot);
// What the effect sounds answer to this frame.
struct SoundScene {
  bool pilotWalking;   // the walking pilot is out and a walking key is held
  bool pilotRunning;   // with SHIFT
  bool inCockpit;      // the current view is a cockpit view
  double buffetLevel;  // 0.0 to 1.0
  double wind;         // knots
};

// The footstep, wind and stress rules.
void ApplySoundEffectRules(const SoundScene& scene);
// The effects stopped while the module's cockpit view is off.
void StopEffectSounds();

// "Sound on" switched off: stop every playing effect sound, keeping its state.
int StopLoopingSounds();
// "Sound on" switched on: play again what was playing.
int ResumeLoopingSounds();

// Releases the device and every slot (for tests: the module itself keeps them).
void ResetSoundEffects();

}  // namespace varolen
