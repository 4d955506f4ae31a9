// The Motion dialog: every [Motion] option and the head tracker's scales,
// set while flying. OK puts them to work at once and writes them into the
// binding file's [Motion] and [HeadTracker] sections in place, every other
// byte of the file kept; a file that cannot be written is left whole and the
// pilot is told so.
#pragma once

#include "cockpit/motion.h"
#include "platform/dialogs.h"
#include "tracker/head_tracker.h"
#include "ui/dialog_resources.h"

namespace varolen {

// Control identifiers of the Motion dialog.
enum MotionControl {
  kSameAtAnyFrameRateCheck = 2000,
  kFirstMotionEdit = 2001,  // TransitionSeconds, YieldToLook, ... LoadFactor: the numbers, in their order
  kLinearCurveRadio = 2020,
  kSmoothCurveRadio = 2021,
  kFirstScaleEdit = 2030,  // the head tracker's Yaw, Pitch, Roll, X, Y, Z
};
// The check box, eight numbers, two radio buttons, six scales.
inline constexpr int kMotionFieldCount = 17;

inline constexpr const char* kMotionOptionsNotSaved =
    "The motion options are in effect, but Varolen2004.cfg could not be written: they will be lost when the "
    "simulator closes. The file may be read-only or in use; it is as it was.";

struct MotionForm {
  platform::DialogField fields[kMotionFieldCount];
};

// The options as the dialog shows them, and what OK makes of the controls:
// a number that is no number keeps its option, one beyond its range is held
// at its end (a decimal point or comma), as the binding file's are.
MotionForm FillMotionForm(const MotionOptionsRecord& options, const TrackerScales& scales);
void ApplyMotionForm(const MotionForm& form, MotionOptionsRecord& options, TrackerScales& scales);

// Writes the options into the binding file at `path`; false, the file as it
// was, when it cannot.
bool WriteMotionOptions(const char* path, const MotionOptionsRecord& options, const TrackerScales& scales);

// Modal; returns when the dialog closes.
void ShowMotionDialog(platform::WindowHandle owner);

}  // namespace varolen
