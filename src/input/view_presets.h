// The ten preset views and the view files they are saved to.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/desktop.h"

namespace varolen {

inline constexpr int kViewPresetCount = 10;

struct ViewPreset {
  std::int32_t kind;  // 0 cockpit view, 1 walking pilot
  double position[3];
  double orientation[3];
  double zoom;
};

// The presets as the last store or view file left them.
extern const ViewPreset (&ViewPresets)[kViewPresetCount];

// Preset `number` (0 to 9) takes the view the pilot has now: the cockpit
// view's targets, or the walking pilot's place while he is out.
void StoreViewPreset(int number);
// The view goes to preset `number`, unless it is empty (all zeros): a
// cockpit preset by a transition (at once with "Smooth view" off), a walking
// pilot's preset puts the pilot there.
void RecallViewPreset(int number);
// Every preset emptied, as a freshly loaded module has them.
void ClearViewPresets();

inline constexpr const char* kViewFileFilter = "VarolenMax View File (*.vrv)";
inline constexpr const char* kViewFilePattern = "*.vrv";
inline constexpr const char* kViewFileExtension = "vrv";

// The open or save dialog; 1 when the user chose a file (its path in `result`,
// its folder in `folder`), 0 otherwise with both unchanged.
int ShowFileDialog(platform::WindowHandle owner, int save, const char* filter, const char* defaultExtension,
                   char* result, char* folder);
// True when the file now holds the presets; false with the file as it was.
bool SaveViewPresets(const char* path);
void LoadViewPresets(const char* path);
// The same over open files; false when a line could not be written.
bool WriteViewPresets(std::FILE* file);
void ReadViewPresets(std::FILE* file);
// Open dialog, then load the chosen file. Always 1.
int LoadViewPresetsInteractive(platform::WindowHandle owner);
// Save dialog, then save to the chosen file; a save that failed is told in a message box.
void SaveViewPresetsInteractive(platform::WindowHandle owner);

inline constexpr const char* kViewFileNotSaved =
    "Varolen: Unable to save the view file. The file on disk is unchanged.";

}  // namespace varolen
