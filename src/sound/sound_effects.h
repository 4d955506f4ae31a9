// The effect sounds.
#pragma once

namespace varolen {

// "Sound on" switched off: stop every playing effect sound, keeping its state.
int StopLoopingSounds();
// "Sound on" switched on: play again what was playing.
int ResumeLoopingSounds();

}  // namespace varolen
