// Switching settings on and off: the one way the host menu and the bound
// commands switch one.
#pragma once

#include <cstdint>

#include "host/settings.h"

namespace varolen {

// A setting the pilot switches on and off, by its field.
using SettingFlag = bool CameraSettingsRecord::*;

// Switches the setting on when it is off and off otherwise, with what goes
// with it: the
// fly-by and the approach view exclude each other when switched on, the
// walking pilot needs the module's cockpit handling and the virtual cockpit,
// and sound on mutes or resumes the effect sounds without forgetting them.
void ToggleSetting(SettingFlag setting);

}  // namespace varolen
