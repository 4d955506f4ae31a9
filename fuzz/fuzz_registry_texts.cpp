// libFuzzer target: the settings as the registry holds them, any bytes as the
// values. The settings read from them must survive being saved and read again
// unchanged: what the module writes back, it reads back the same.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host/settings.h"
#include "platform/sim/sim_platform.h"

namespace {

using varolen::CameraSettings;
using varolen::CameraSettingsRecord;

bool Same(const CameraSettingsRecord& a, const CameraSettingsRecord& b) {
  for (const varolen::PersistedSetting& setting : varolen::kPersistedSettings) {
    if (varolen::SettingValue(a, setting) != varolen::SettingValue(b, setting)) return false;
  }
  return true;
}

CameraSettingsRecord ReadBack() {
  varolen::SetDefaultSettings();
  varolen::LoadSettings();
  return CameraSettings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  varolen::sim::ResetPlatform();
  // One value per setting, in the order of the table, separated by newlines; a
  // value that starts with 0x01 is stored as raw bytes instead of a string.
  std::size_t at = 0;
  for (const varolen::PersistedSetting& setting : varolen::kPersistedSettings) {
    if (at > size) break;
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(data + at, '\n', size - at));
    const std::size_t length = end != nullptr ? static_cast<std::size_t>(end - (data + at)) : size - at;
    if (length > 0 && data[at] == 0x01) {
      varolen::sim::SetRegistryBytes(varolen::kSettingsKeyPath, setting.name,
                                     std::vector<std::uint8_t>(data + at + 1, data + at + length));
    } else {
      varolen::sim::SetRegistryText(varolen::kSettingsKeyPath, setting.name,
                                    std::string(reinterpret_cast<const char*>(data + at), length));
    }
    at += length + 1;
  }
  const CameraSettingsRecord first = ReadBack();
  for (const varolen::PersistedSetting& setting : varolen::kPersistedSettings) {
    if (setting.real != nullptr && !std::isfinite(first.*setting.real)) __builtin_trap();
  }
  varolen::SaveSettings();
  const CameraSettingsRecord second = ReadBack();
  varolen::SaveSettings();
  const CameraSettingsRecord third = ReadBack();
  // Integers come back as they were read; reals once they are in the stored
  // form (six decimals), and from then on unchanged.
  for (const varolen::PersistedSetting& setting : varolen::kPersistedSettings) {
    if (setting.integer != nullptr && first.*setting.integer != second.*setting.integer) __builtin_trap();
  }
  if (!Same(second, third)) __builtin_trap();
  return 0;
}
