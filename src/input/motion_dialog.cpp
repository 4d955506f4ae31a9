#include "input/motion_dialog.h"

#include <cstdio>
#include <cstring>

#include "host/module_state.h"
#include "host/sections.h"
#include "host/text.h"
#include "platform/desktop.h"
#include "platform/files.h"

namespace varolen {

namespace {

constexpr int kCurveOption = 2;                  // TransitionCurve in kMotionOptionNames
constexpr std::size_t kMostFileBytes = 1 << 16;  // a binding file is a few kilobytes

platform::DialogField Edit(int id, const char* text) {
  platform::DialogField field = {id, true, {}, false, 0};
  FormatText(field.text, sizeof field.text, "%s", text);
  return field;
}

platform::DialogField Button(int id, bool checked, int radioGroup) {
  return {id, false, {}, checked, radioGroup};
}

// The numbered options' places in kMotionOptionNames: all but the check box and the curve.
int MotionIndexOfEdit(int edit) { return edit + (edit >= kCurveOption - 1 ? 2 : 1); }

}  // namespace

MotionForm FillMotionForm(const MotionOptionsRecord& options, const TrackerScales& scales) {
  MotionForm form = {};
  int next = 0;
  form.fields[next++] = Button(kSameAtAnyFrameRateCheck, options.sameAtAnyFrameRate, 0);
  char text[32];
  for (int edit = 0; edit < kMotionOptionCount - 2; ++edit) {
    MotionOptionText(options, MotionIndexOfEdit(edit), text, sizeof text);
    form.fields[next++] = Edit(kFirstMotionEdit + edit, text);
  }
  const bool smooth = options.transitionCurve == TransitionCurve::Smooth;
  form.fields[next++] = Button(kLinearCurveRadio, !smooth, 1);
  form.fields[next++] = Button(kSmoothCurveRadio, smooth, 1);
  for (int axis = 0; axis < kTrackerAxisCount; ++axis) {
    TrackerScaleText(scales, axis, text, sizeof text);
    form.fields[next++] = Edit(kFirstScaleEdit + axis, text);
  }
  return form;
}

void ApplyMotionForm(const MotionForm& form, MotionOptionsRecord& options, TrackerScales& scales) {
  for (const platform::DialogField& field : form.fields) {
    if (field.id == kSameAtAnyFrameRateCheck) options.sameAtAnyFrameRate = field.checked;
    if (field.id == kSmoothCurveRadio)
      options.transitionCurve = field.checked ? TransitionCurve::Smooth : TransitionCurve::Linear;
    const int edit = field.id - kFirstMotionEdit;
    if (edit >= 0 && edit < kMotionOptionCount - 2)
      SetMotionOption(options, kMotionOptionNames[MotionIndexOfEdit(edit)], field.text);
    const int axis = field.id - kFirstScaleEdit;
    if (axis >= 0 && axis < kTrackerAxisCount) SetTrackerScale(scales, kTrackerAxisNames[axis], field.text);
  }
}

bool WriteMotionOptions(const char* path, const MotionOptionsRecord& options, const TrackerScales& scales) {
  static char file[kMostFileBytes];
  std::size_t size = 0;
  if (std::FILE* in = platform::OpenFile(path, "rb")) {
    size = std::fread(file, 1, sizeof file, in);
    const bool whole = std::feof(in) != 0 && std::ferror(in) == 0;
    std::fclose(in);
    if (!whole) return false;  // too long to be a binding file, or unreadable: left alone
  }
  char motionText[kMotionOptionCount][32];
  const char* motionValues[kMotionOptionCount];
  for (int index = 0; index < kMotionOptionCount; ++index) {
    MotionOptionText(options, index, motionText[index], sizeof motionText[index]);
    motionValues[index] = motionText[index];
  }
  char scaleText[kTrackerAxisCount][32];
  const char* scaleValues[kTrackerAxisCount];
  for (int axis = 0; axis < kTrackerAxisCount; ++axis) {
    TrackerScaleText(scales, axis, scaleText[axis], sizeof scaleText[axis]);
    scaleValues[axis] = scaleText[axis];
  }
  const SectionOptions sections[] = {{"[HeadTracker]", kTrackerAxisNames, scaleValues, kTrackerAxisCount},
                                     {"[Motion]", kMotionOptionNames, motionValues, kMotionOptionCount}};
  // Written beside the old file, which is replaced only by a complete new one.
  char fresh[kPathCapacity];
  if (!FormatText(fresh, sizeof fresh, "%s.new", path)) return false;
  std::FILE* out = platform::OpenFile(fresh, "wb");
  if (out == nullptr) return false;
  const bool written = RewriteSections(file, size, sections, 2, out) && std::fflush(out) == 0;
  if (std::fclose(out) != 0 || !written || !platform::ReplaceFileWith(path, fresh)) {
    platform::RemoveFile(fresh);
    return false;
  }
  return true;
}

void ShowMotionDialog(platform::WindowHandle owner) {
  MotionForm form = FillMotionForm(MotionOptions, HeadTracker.scales);
  if (platform::RunModalDialog(Shell.moduleInstance, VAROLEN_MOTION_DIALOG, owner, form.fields,
                               kMotionFieldCount, true) != platform::DialogResult::Accepted) {
    return;
  }
  ApplyMotionForm(form, MotionOptions, HeadTracker.scales);  // at once, from the next frame
  char path[kPathCapacity];
  if (!SimulatorFilePath(path, "Varolen2004.cfg") ||
      !WriteMotionOptions(path, MotionOptions, HeadTracker.scales)) {
    platform::ShowMessageBox(kMotionOptionsNotSaved);
  }
}

}  // namespace varolen
