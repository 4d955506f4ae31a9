// The per-frame camera update, run on every host frame message.
#pragma once

namespace varolen {

void UpdateCameraFrame();

}  // namespace varolen
