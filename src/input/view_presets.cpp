#include "input/view_presets.h"

#include "shell/lifecycle.h"

namespace varolen {

ViewPreset ViewPresets[kViewPresetCount];

int ShowFileDialog(platform::WindowHandle /*owner*/, int /*save*/, const char* /*filter*/,
                   const char* /*defaultExtension*/, char* /*result*/, char* /*folder*/) {
  // The file dialogs come with the view files; until then no file is chosen.
  return 0;
}

void SaveViewPresets(const char* /*path*/) {}

void LoadViewPresets(const char* /*path*/) {}

int LoadViewPresetsInteractive(platform::WindowHandle owner) {
  char path[kPathCapacity] = "";
  if (ShowFileDialog(owner, 0, kViewFileFilter, kViewFileExtension, path, ViewFolder) != 0) {
    LoadViewPresets(path);
  }
  return 1;
}

void SaveViewPresetsInteractive(platform::WindowHandle owner) {
  char path[kPathCapacity] = "";
  if (ShowFileDialog(owner, 1, kViewFileFilter, kViewFileExtension, path, ViewFolder) != 0) {
    SaveViewPresets(path);
  }
}

}  // namespace varolen
