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
  bool FlyByActive;
  std::int32_t FlyByDuration;         // seconds
  std::int32_t FlyByRelAltitude;      // feet
  std::int32_t FlyByMinDistance;      // feet
  std::int32_t FlyByCameraPlacement;  // 0 right, 1 left, 2 random
  bool FlyByTravelling;
  bool ApproachActive;
  double ApproachViewX;  // feet, right of the track
  double ApproachViewZ;  // feet, along the track
  bool InternalViewActive;
  bool EnableWheelZoom;
  bool UseMouseInSpot;
  bool SmoothView;
  double ViewTurbRate;
  double GroundTurbRate;
  double BuffetTurbRate;
  double RunningSpeed;  // metres per second
  bool ViewTurbOn;
  bool GroundTurbOn;
  bool BuffetTurbOn;
  bool SoundOn;
  bool HeadTrackerOn;
  // Never persisted: the walking pilot starts off at every start-up.
  bool ExternalViewActive;
};

extern CameraSettingsRecord CameraSettings;

// One persisted setting: its registry value name and its field, one of three
// kinds. A switch is stored as "1" or "0"; any other number reads as on.
struct PersistedSetting {
  const char* name;
  bool CameraSettingsRecord::*flag;
  std::int32_t CameraSettingsRecord::*integer;
  double CameraSettingsRecord::*real;
};

inline constexpr std::size_t kPersistedSettingCount = 22;
extern const PersistedSetting kPersistedSettings[kPersistedSettingCount];
// The setting's value as a number, whichever its kind (a switch 1 or 0).
double SettingValue(const CameraSettingsRecord& settings, const PersistedSetting& setting);

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
