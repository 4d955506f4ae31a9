#include "sound/sound_effects.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <new>

#include "host/module_state.h"
#include "host/settings.h"

namespace varolen {

namespace {

// Built once in static storage and never destroyed (no heap either).
struct SoundTables {
  SoundSlot slots[kSoundSlotCount];
  SoundSystemRecord system;
};
alignas(SoundTables) unsigned char tableStorage[sizeof(SoundTables)];
SoundTables& tables = *new (tableStorage) SoundTables();

// DS3DALG_HRTF_FULL.
constexpr platform::Guid kFullHrtf = {
    0xC2413340, 0x1C1B, 0x11D2, {0x94, 0xF5, 0x00, 0xC0, 0x4F, 0xC2, 0x8A, 0xCA}};
constexpr std::uint32_t kPriorityLevel = 2;
// A failed device set-up is tried again after a second.
constexpr std::uint32_t kSetUpRetryMilliseconds = 1000;
constexpr float kMinimumDistance = 1.0f;
constexpr float kMaximumDistance = 1000000000.0f;

struct SlotFile {
  int slot;
  const char* file;
};
constexpr SlotFile kSlotFiles[] = {
    {kLightWindSoundSlot, "Wind 4-9.wav"},
    {kStrongWindSoundSlot, "Wind 10-X.wav"},
    {kStressSoundSlot, "Stress.wav"},
    {kWalkSoundSlot, "Walk.wav"},
    {kRunSoundSlot, "Run.wav"},
    {kCrouchSoundSlot, "Crouch.wav"},
};

SoundSlot* Usable(int slot) {
  if (slot < 0 || slot >= kSoundSlotCount) return nullptr;
  SoundSlot& entry = tables.slots[slot];
  return entry.sound.Exists() && entry.loaded ? &entry : nullptr;
}

// Louder is nearer: 0.2 m at full volume, 2.2 m at none; the listener never moves.
void Place(SoundSlot& slot) {
  const double distance = 0.2 * (1.0 + 10.0 * (1.0 - slot.volume));
  slot.parameters.size = sizeof slot.parameters;
  platform::Get3DParameters(slot.buffer3D, &slot.parameters);
  slot.parameters.position[0] = 0.0f;
  slot.parameters.position[1] = 0.0f;
  slot.parameters.position[2] = static_cast<float>(distance);
  for (int axis = 0; axis < 3; ++axis)
    slot.parameters.velocity[axis] = static_cast<float>(slot.velocity[axis]);
  platform::Set3DParameters(slot.buffer3D, slot.parameters, true);
}

void StartLooping(int slot, double volume) {
  if (SoundSlot* entry = Usable(slot)) entry->volume = std::clamp(volume, 0.0, 1.0);
  StartSoundSlot(slot, 1);
}

}  // namespace

const SoundSlot (&SoundSlots)[kSoundSlotCount] = tables.slots;
const SoundSystemRecord& SoundSystem = tables.system;

int UpdateSoundEffects(std::uint32_t now) {
  const bool setUpDue =
      !tables.system.setUpFailed || static_cast<std::int32_t>(now - tables.system.nextSetUp) >= 0;
  if (!tables.system.device.Exists() && setUpDue) {
    if (tables.system.device.Initialize(Shell.hostMainWindow, kPriorityLevel, 2, 22050, 8) < 0) {
      tables.system.device.Release();
      tables.system.setUpFailed = true;
      tables.system.nextSetUp = now + kSetUpRetryMilliseconds;
    } else {
      tables.system.setUpFailed = false;
      if (tables.system.device.GetListener(&tables.system.listener) < 0) tables.system.listener = 0;
      for (const SlotFile& entry : kSlotFiles) LoadSoundSlot(entry.slot, entry.file);
      for (const SlotFile& entry : kSlotFiles) {
        tables.slots[entry.slot].position[0] = tables.slots[entry.slot].position[1] = 0.0;
        tables.slots[entry.slot].position[2] = 0.5;
      }
    }
  }
  if (tables.system.device.Exists() && tables.system.listener != 0) {
    for (SoundSlot& slot : tables.slots) {
      if (slot.buffer3D != 0) Place(slot);
    }
    platform::CommitListener(tables.system.listener);
  }
  return 1;
}

int LoadSoundSlot(int slot, const char* fileName) {
  if (slot < 0 || slot >= kSoundSlotCount) return 0;
  SoundSlot& entry = tables.slots[slot];
  entry.loaded = false;
  if (!tables.system.device.Exists()) return 0;
  char path[kPathCapacity];
  char relative[kPathCapacity];
  if (!FormatText(relative, sizeof relative, "Varolen\\Sound\\%s", fileName) ||
      !SimulatorFilePath(path, relative)) {
    return 0;
  }
  if (entry.sound.Exists()) {
    entry.sound.Stop();
    entry.sound.Reset();
  }
  if (entry.buffer3D != 0) platform::Release3DBuffer(entry.buffer3D);
  entry.buffer3D = 0;
  entry.sound.Release();

  {
    // Only mono PCM sounds can be placed in 3-D.
    WaveFileReader reader;
    reader.Open(path);
    const platform::SoundFormat* format = reader.GetFormat();
    if (format == nullptr || format->channels > 1 || format->formatTag != 1) return 0;
  }
  const platform::SoundResult result =
      tables.system.device.CreateSound(entry.sound, path, platform::kBufferControl3D, kFullHrtf, 1);
  if (result < 0 || result == platform::kSoundNoVirtualization) {
    // Without the full 3-D algorithm the sound is not used.
    entry.sound.Release();
    return 0;
  }
  if (entry.sound.Get3DBuffer(0, &entry.buffer3D) < 0) entry.buffer3D = 0;
  if (entry.buffer3D != 0) {
    entry.parameters.size = sizeof entry.parameters;
    platform::Get3DParameters(entry.buffer3D, &entry.parameters);
    entry.parameters.mode = 0;
    entry.parameters.minimumDistance = kMinimumDistance;
    entry.parameters.maximumDistance = kMaximumDistance;
    platform::Set3DParameters(entry.buffer3D, entry.parameters, false);
  }
  entry.loaded = true;
  entry.volume = 1.0;
  return 1;
}

int StartSoundSlot(int slot, int looping) {
  SoundSlot* entry = Usable(slot);
  if (entry == nullptr) return 0;
  if (entry->playing) return 1;  // already looping: not restarted
  entry->state = looping != 0 ? 2 : 1;
  if (CameraSettings.SoundOn) entry->sound.Play(0, looping != 0 ? platform::kPlayLooping : 0);
  if (looping != 0) entry->playing = true;
  return 1;
}

int StopSoundSlot(int slot) {
  SoundSlot* entry = Usable(slot);
  if (entry == nullptr) return 0;
  if (!entry->playing) return 1;  // a one-shot start keeps its state
  entry->state = 0;
  if (CameraSettings.SoundOn) {
    entry->sound.Stop();
    entry->sound.Reset();
  }
  entry->playing = false;
  return 1;
}

void ApplySoundEffectRules(const SoundScene& scene) {
  if (scene.pilotWalking) {
    if (scene.pilotRunning) {
      StartSoundSlot(kRunSoundSlot, 1);
      StopSoundSlot(kWalkSoundSlot);
    } else {
      StartSoundSlot(kWalkSoundSlot, 1);
      StopSoundSlot(kRunSoundSlot);
    }
  } else {
    StopSoundSlot(kWalkSoundSlot);
    StopSoundSlot(kRunSoundSlot);
  }
  const double wind = scene.wind;
  const bool outside = !scene.inCockpit;
  if (outside && wind >= 4.0 && wind < 10.0) {
    StartLooping(kLightWindSoundSlot, wind / 10.0);
  } else {
    StopSoundSlot(kLightWindSoundSlot);
  }
  if (outside && wind >= 10.0) {
    StartLooping(kStrongWindSoundSlot, wind / 10.0);
  } else {
    StopSoundSlot(kStrongWindSoundSlot);
  }
  if (!outside && scene.buffetLevel > 0.1) {
    StartSoundSlot(kStressSoundSlot, 1);
  } else {
    StopSoundSlot(kStressSoundSlot);
  }
}

void StopEffectSounds() {
  for (int slot :
       {kWalkSoundSlot, kRunSoundSlot, kLightWindSoundSlot, kStrongWindSoundSlot, kStressSoundSlot}) {
    StopSoundSlot(slot);
  }
}

int StopLoopingSounds() {
  for (SoundSlot& slot : tables.slots) {
    if (slot.sound.Exists() && slot.loaded && (slot.state == 1 || slot.state == 2)) slot.sound.Stop();
  }
  return 1;
}

int ResumeLoopingSounds() {
  for (SoundSlot& slot : tables.slots) {
    if (!slot.sound.Exists() || !slot.loaded) continue;
    if (slot.state == 2) slot.sound.Play(0, platform::kPlayLooping);
    if (slot.state == 1) slot.sound.Play(0, 0);
  }
  return 1;
}

void ResetSoundEffects() {
  for (SoundSlot& slot : tables.slots) {
    if (slot.buffer3D != 0) platform::Release3DBuffer(slot.buffer3D);
    slot.sound.Release();
    slot.loaded = slot.playing = false;
    slot.state = 0;
    slot.volume = 0.0;
    slot.buffer3D = 0;
    slot.parameters = {};
    for (int axis = 0; axis < 3; ++axis) slot.position[axis] = slot.velocity[axis] = 0.0;
  }
  tables.system.device.Release();
  tables.system.listener = 0;
  tables.system.setUpFailed = false;
  tables.system.nextSetUp = 0;
}

}  // namespace varolen
