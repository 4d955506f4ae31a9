#include "sound/sound_effects.h"

namespace varolen {

// The sound slots come with the sound subsystem; until then nothing plays.
int StopLoopingSounds() { return 1; }

int ResumeLoopingSounds() { return 1; }

int UpdateSoundEffects() { return 1; }

void ApplySoundEffectRules() {}

int StartSoundSlot(int /*slot*/, int /*looping*/) { return 0; }

int StopSoundSlot(int /*slot*/) { return 0; }

}  // namespace varolen
