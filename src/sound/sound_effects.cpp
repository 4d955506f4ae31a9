#include "sound/sound_effects.h"

namespace varolen {

// The sound slots come with the sound subsystem; until then nothing plays.
int StopLoopingSounds() { return 1; }

int ResumeLoopingSounds() { return 1; }

}  // namespace varolen
