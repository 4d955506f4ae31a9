// The user's settings: one record that every subsystem reads directly, given
// defaults at start-up, loaded from and saved to the registry.
#pragma once

#include <cstddef>
#include <cstdint>

#include "host/text.h"
#include "platform/registry.h"

namespace varolen {

struct CameraSettingsRecord {
  // Persisted, in registry order.
  std::int32_t FlyByActive;
  std::int32_t FlyByDuration;         // seconds
  std::int32_t FlyByRelAltitude;      // feet
  std::int32_t FlyByMinDistance;      // feet
  std::int32_t FlyByCameraPlacement;  // 0 right, 1 left, 2 random
  std::int32_t FlyByTravelling;
  std::int32_t ApproachActive;
  double ApproachViewX;  // feet, right of the track
  double ApproachViewZ;  // feet, along the track
  std::int32_t InternalViewActive;
  std::int32_t EnableWheelZoom;
  std::int32_t UseMouseInSpot;
  std::int32_t SmoothView;
  double ViewTurbRate;
  double GroundTurbRate;
  double BuffetTurbRate;
  double RunningSpeed;  // metres per second
  std::int32_t ViewTurbOn;
  std::int32_t GroundTurbOn;
  std::int32_t BuffetTurbOn;
  std::int32_t SoundOn;
  std::int32_t HeadTrackerOn;
  // Never persisted: the walking pilot starts off at every start-up.
  std::int32_t ExternalViewActive;
};

extern CameraSettingsRecord CameraSettings;

// One persisted setting: its registry value name and its field.
struct PersistedSetting {
  const char* name;
  std::int32_t CameraSettingsRecord::*integer;
  double CameraSettingsRecord::*real;
};

inline constexpr std::size_t kPersistedSettingCount = 22;
extern const PersistedSetting kPersistedSettings[kPersistedSettingCount];

inline constexpr const char* kSettingsKeyPath =
    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0\\Varolen";

struct RegistryValueRecord {
  platform::RegistryRoot root;
  char keyPath[kRegistryTextCapacity];
  char valueName[kRegistryTextCapacity];
  char valueText[kRegistryTextCapacity];
};

// 1 when the value was read into valueText (cut and terminated if it was too
// long), 0 otherwise with valueText unchanged.
int ReadRegistryValue(RegistryValueRecord& record);
// 1 when valueText was stored as a string value, creating the key if needed.
int WriteRegistryValue(RegistryValueRecord& record);

void SetDefaultSettings();
// Reads the persisted settings over the defaults; a missing value keeps its default.
void LoadSettings();
// Writes all persisted settings; failures are ignored.
void SaveSettings();

}  // namespace varolen
