// Switching settings on and off, shared by the host menu and the bound commands.
#pragma once

#include <cstdint>

namespace varolen {

// Sets a flag to 1 when it is 0 and to 0 otherwise. For the flags' own values
// that is 1 minus the value; a garbage value from the registry can still be
// switched off.
void Toggle(std::int32_t& flag);

// Fly-by and approach view exclude each other when switched on.
void ToggleFlyBy();
void ToggleApproachView();
// The walking pilot needs the module's cockpit handling and the virtual cockpit.
void ToggleExternalView();
// Sound on mutes or resumes the effect sounds without forgetting them.
void ToggleSound();

}  // namespace varolen
