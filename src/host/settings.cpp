#include "host/settings.h"

#include <cstdio>
#include <cstring>

namespace varolen {

CameraSettingsRecord CameraSettings;

namespace {

constexpr PersistedSetting Flag(const char* name, bool CameraSettingsRecord::*field) {
  return {name, field, nullptr, nullptr};
}
constexpr PersistedSetting Integer(const char* name, std::int32_t CameraSettingsRecord::*field) {
  return {name, nullptr, field, nullptr};
}
constexpr PersistedSetting Real(const char* name, double CameraSettingsRecord::*field) {
  return {name, nullptr, nullptr, field};
}

}  // namespace

const PersistedSetting kPersistedSettings[kPersistedSettingCount] = {
    Flag("FlyByActive", &CameraSettingsRecord::FlyByActive),
    Integer("FlyByDuration", &CameraSettingsRecord::FlyByDuration),
    Integer("FlyByRelAltitude", &CameraSettingsRecord::FlyByRelAltitude),
    Integer("FlyByMinDistance", &CameraSettingsRecord::FlyByMinDistance),
    Integer("FlyByCameraPlacement", &CameraSettingsRecord::FlyByCameraPlacement),
    Flag("FlyByTravelling", &CameraSettingsRecord::FlyByTravelling),
    Flag("ApproachActive", &CameraSettingsRecord::ApproachActive),
    Real("ApproachViewX", &CameraSettingsRecord::ApproachViewX),
    Real("ApproachViewZ", &CameraSettingsRecord::ApproachViewZ),
    Flag("InternalViewActive", &CameraSettingsRecord::InternalViewActive),
    Flag("EnableWheelZoom", &CameraSettingsRecord::EnableWheelZoom),
    Flag("UseMouseInSpot", &CameraSettingsRecord::UseMouseInSpot),
    Flag("SmoothView", &CameraSettingsRecord::SmoothView),
    Real("ViewTurbRate", &CameraSettingsRecord::ViewTurbRate),
    Real("GroundTurbRate", &CameraSettingsRecord::GroundTurbRate),
    Real("BuffetTurbRate", &CameraSettingsRecord::BuffetTurbRate),
    Real("RunningSpeed", &CameraSettingsRecord::RunningSpeed),
    Flag("ViewTurbOn", &CameraSettingsRecord::ViewTurbOn),
    Flag("GroundTurbOn", &CameraSettingsRecord::GroundTurbOn),
    Flag("BuffetTurbOn", &CameraSettingsRecord::BuffetTurbOn),
    Flag("SoundOn", &CameraSettingsRecord::SoundOn),
    Flag("HeadTrackerOn", &CameraSettingsRecord::HeadTrackerOn),
};

double SettingValue(const CameraSettingsRecord& settings, const PersistedSetting& setting) {
  if (setting.flag != nullptr) return settings.*setting.flag ? 1.0 : 0.0;
  if (setting.integer != nullptr) return settings.*setting.integer;
  return settings.*setting.real;
}

namespace {

// The registry query buffer of the settings store.
constexpr std::uint32_t kQueryBufferSize = 256;

void FillRecord(RegistryValueRecord& record, const char* name) {
  record.root = platform::RegistryRoot::LocalMachine;
  CopyText(record.keyPath, sizeof record.keyPath, kSettingsKeyPath);
  CopyText(record.valueName, sizeof record.valueName, name);
}

}  // namespace

int ReadRegistryValue(RegistryValueRecord& record) {
  platform::RegistryKey key = 0;
  if (!platform::OpenRegistryKey(record.root, record.keyPath, &key)) return 0;
  std::uint8_t buffer[kQueryBufferSize];
  std::uint32_t size = 0;
  // One byte is kept back so that a value without a terminating zero still ends.
  const bool found = platform::QueryRegistryValue(key, record.valueName, buffer, kQueryBufferSize - 1, &size);
  platform::CloseRegistryKey(key);
  if (!found) return 0;
  buffer[size] = 0;
  CopyText(record.valueText, sizeof record.valueText, reinterpret_cast<const char*>(buffer));
  return 1;
}

int WriteRegistryValue(RegistryValueRecord& record) {
  platform::RegistryKey key = 0;
  if (!platform::OpenRegistryKey(record.root, record.keyPath, &key) &&
      !platform::CreateRegistryKey(record.root, record.keyPath, &key)) {
    return 0;
  }
  const std::uint32_t size = static_cast<std::uint32_t>(std::strlen(record.valueText)) + 1;
  const bool stored = platform::SetRegistryString(key, record.valueName, record.valueText, size);
  platform::CloseRegistryKey(key);
  return stored ? 1 : 0;
}

void SetDefaultSettings() {
  // Field by field over zero bytes: records of the same settings are the same bytes, padding and all.
  // All-zero bytes are 0.0 in IEEE 754 floats, the only kind the module runs on.
  // cppcheck-suppress memsetClassFloat
  std::memset(&CameraSettings, 0, sizeof CameraSettings);
  CameraSettingsRecord& s = CameraSettings;
  s.FlyByActive = true;
  s.FlyByDuration = 10;
  s.FlyByRelAltitude = 0;
  s.FlyByMinDistance = 50;
  s.FlyByCameraPlacement = 0;
  s.FlyByTravelling = false;
  s.ApproachActive = false;
  s.ApproachViewX = 25.0;
  s.ApproachViewZ = 0.0;
  s.InternalViewActive = false;
  s.EnableWheelZoom = true;
  s.UseMouseInSpot = false;
  s.SmoothView = true;
  s.ViewTurbRate = 0.6;
  s.GroundTurbRate = 0.6;
  s.BuffetTurbRate = 0.6;
  s.RunningSpeed = 5.0;
  s.ViewTurbOn = true;
  s.GroundTurbOn = true;
  s.BuffetTurbOn = true;
  s.SoundOn = true;
  s.HeadTrackerOn = true;
  s.ExternalViewActive = false;
}

void LoadSettings() {
  RegistryValueRecord record{};
  for (const PersistedSetting& setting : kPersistedSettings) {
    FillRecord(record, setting.name);
    if (ReadRegistryValue(record) == 0) continue;
    if (setting.flag != nullptr) {
      CameraSettings.*setting.flag = ParseInteger(record.valueText) != 0;
    } else if (setting.integer != nullptr) {
      CameraSettings.*setting.integer = ParseInteger(record.valueText);
    } else {
      CameraSettings.*setting.real = ParseDouble(record.valueText);
    }
  }
}

void SaveSettings() {
  RegistryValueRecord record{};
  for (const PersistedSetting& setting : kPersistedSettings) {
    FillRecord(record, setting.name);
    if (setting.flag != nullptr || setting.integer != nullptr) {
      FormatText(record.valueText, sizeof record.valueText, "%d",
                 static_cast<int>(SettingValue(CameraSettings, setting)));
    } else if (!FormatText(record.valueText, sizeof record.valueText, "%f", CameraSettings.*setting.real)) {
      // Six fixed decimals of a huge value would not fit the text and would be
      // read back as another number; keep every digit that matters instead.
      FormatText(record.valueText, sizeof record.valueText, "%.17g", CameraSettings.*setting.real);
    }
    WriteRegistryValue(record);
  }
}

}  // namespace varolen
