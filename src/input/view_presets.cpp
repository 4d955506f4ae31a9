#include "input/view_presets.h"

#include <cstring>

#include "cockpit/view_update.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "host/text.h"
#include "interaction/mouse_look.h"
#include "interaction/walking_pilot.h"
#include "platform/dialogs.h"
#include "platform/files.h"

namespace varolen {

namespace {

ViewPreset presets[kViewPresetCount];

// Field by field: a preset's bytes are its values, padding untouched.
void SetPreset(ViewPreset& preset, std::int32_t kind, const double (&position)[3],
               const double (&orientation)[3], double zoom) {
  preset.kind = kind;
  for (int axis = 0; axis < 3; ++axis) {
    preset.position[axis] = position[axis];
    preset.orientation[axis] = orientation[axis];
  }
  preset.zoom = zoom;
}

void StoreInto(ViewPreset& preset) {
  if (!CameraSettings.ExternalViewActive) {
    const CockpitViewRecord& c = CockpitViewState;
    SetPreset(preset, 0, {c.TargetEyePosition.x, c.TargetEyePosition.y, c.TargetEyePosition.z},
              {c.TargetViewAngles.pitch, c.TargetViewAngles.heading, c.TargetViewAngles.bank}, c.TargetZoom);
  } else {
    const WalkingPilotRecord& p = WalkingPilot;
    SetPreset(preset, 1, {p.PilotLatitude, p.PilotLongitude, p.PilotAltitude},
              {p.PilotPitch, p.PilotHeading, p.PilotBank}, p.PilotZoom);
  }
}

void RecallFrom(const ViewPreset& preset) {
  if (preset.position[0] == 0.0 && preset.position[1] == 0.0 && preset.position[2] == 0.0) return;  // empty
  if (preset.kind == 0) {
    CameraSettings.InternalViewActive = true;
    CameraSettings.ExternalViewActive = false;
    MoveCockpitViewTo({{preset.position[0], preset.position[1], preset.position[2]},
                       {preset.orientation[0], preset.orientation[1], preset.orientation[2]},
                       preset.zoom},
                      !CameraSettings.SmoothView, Mouse.CursorOverClickArea);
  } else if (preset.kind == 1) {
    CameraSettings.InternalViewActive = true;
    CameraSettings.ExternalViewActive = true;
    PlacePilot({preset.position[0], preset.position[1], preset.position[2]},
               {preset.orientation[0], preset.orientation[1], preset.orientation[2]}, preset.zoom);
  }
}

// OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES
constexpr std::uint32_t kFileDialogFlags = 0x280006;
constexpr std::size_t kLineCapacity = 1024;  // 1023 characters and the end

// One field: blanks skipped, then up to the next ",", line end or end of text,
// which is stepped over. A missing field is empty, which converts to 0.
const char* NextField(const char* cursor, char* field, std::size_t capacity) {
  while (*cursor == ' ') ++cursor;
  std::size_t length = 0;
  while (*cursor != '\0' && *cursor != ',' && *cursor != '\n' && *cursor != '\r') {
    if (length + 1 < capacity) field[length++] = *cursor;
    ++cursor;
  }
  field[length] = '\0';
  if (*cursor == ',') ++cursor;
  return cursor;
}

}  // namespace

int ShowFileDialog(platform::WindowHandle owner, int save, const char* filter, const char* defaultExtension,
                   char* result, char* folder) {
  // The filter: description and pattern, each ending in zero, and a final zero.
  char filterText[128] = {};
  const std::size_t descriptionLength = std::strlen(filter);
  if (descriptionLength + std::strlen(kViewFilePattern) + 3 > sizeof filterText) return 0;
  std::memcpy(filterText, filter, descriptionLength + 1);
  std::memcpy(filterText + descriptionLength + 1, kViewFilePattern, std::strlen(kViewFilePattern) + 1);

  const platform::FileDialogRequest request = {owner,
                                               Shell.moduleInstance,
                                               save != 0,
                                               filterText,
                                               defaultExtension,
                                               save != 0 ? "Save file" : "Open file",
                                               kFileDialogFlags,
                                               folder};
  char path[kPathCapacity];
  if (!platform::RunFileDialog(request, path, sizeof path)) return 0;
  // The folder of the chosen file is where both dialogs open next time.
  CopyText(folder, kPathCapacity, path);
  CutAtLastBackslash(folder);
  CopyText(result, kPathCapacity, path);
  return 1;
}

bool WriteViewPresets(std::FILE* file) {
  bool written = true;
  for (int number = 0; number < kViewPresetCount; ++number) {
    const ViewPreset& p = presets[number];
    written = std::fprintf(file, "View.%d=%d,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f,%.4f\n", number, p.kind,
                           p.position[0], p.position[1], p.position[2], p.orientation[0], p.orientation[1],
                           p.orientation[2], p.zoom) > 0 &&
              written;
  }
  return written;
}

void ReadViewPresets(std::FILE* file) {
  char line[kLineCapacity];
  char field[kLineCapacity];
  // A last line without a line end is read like any other.
  while (std::fgets(line, sizeof line, file) != nullptr) {
    if (std::strncmp(line, "View.", 5) != 0) continue;
    const std::int32_t number = ParseInteger(line + 5);
    if (number < 0 || number >= kViewPresetCount) return;  // the loading ends at this line
    const char* equals = std::strchr(line, '=');
    const char* cursor = equals != nullptr ? equals + 1 : line + std::strlen(line);
    ViewPreset& preset = presets[number];
    cursor = NextField(cursor, field, sizeof field);
    preset.kind = ParseInteger(field);
    double* const values[] = {
        &preset.position[0],    &preset.position[1],    &preset.position[2], &preset.orientation[0],
        &preset.orientation[1], &preset.orientation[2], &preset.zoom};
    for (double* value : values) {
      cursor = NextField(cursor, field, sizeof field);
      *value = ParseDouble(field);
    }
  }
}

bool SaveViewPresets(const char* path) {
  // Written beside the old file, which is replaced only by a complete new one:
  // a full disk or a locked file leaves the old one whole.
  char fresh[kPathCapacity];
  if (!FormatText(fresh, sizeof fresh, "%s.new", path)) return false;
  std::FILE* file = platform::OpenFile(fresh, "w");
  if (file == nullptr) return false;
  const bool written = WriteViewPresets(file) && std::fflush(file) == 0 && std::ferror(file) == 0;
  if (std::fclose(file) != 0 || !written || !platform::ReplaceFileWith(path, fresh)) {
    platform::RemoveFile(fresh);
    return false;
  }
  return true;
}

void LoadViewPresets(const char* path) {
  std::FILE* file = platform::OpenFile(path, "r");
  if (file == nullptr) return;
  ReadViewPresets(file);
  std::fclose(file);
}

int LoadViewPresetsInteractive(platform::WindowHandle owner) {
  char path[kPathCapacity] = "";
  if (ShowFileDialog(owner, 0, kViewFileFilter, kViewFileExtension, path, Shell.viewFolder) != 0)
    LoadViewPresets(path);
  return 1;
}

void SaveViewPresetsInteractive(platform::WindowHandle owner) {
  char path[kPathCapacity] = "";
  if (ShowFileDialog(owner, 1, kViewFileFilter, kViewFileExtension, path, Shell.viewFolder) != 0 &&
      !SaveViewPresets(path)) {
    platform::ShowMessageBox(kViewFileNotSaved);
  }
}

const ViewPreset (&ViewPresets)[kViewPresetCount] = presets;

void StoreViewPreset(int number) { StoreInto(presets[number]); }

void RecallViewPreset(int number) { RecallFrom(presets[number]); }

void ClearViewPresets() {
  for (ViewPreset& preset : presets) preset = {};
}

}  // namespace varolen
