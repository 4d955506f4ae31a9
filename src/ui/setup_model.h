// What the Setup dialog shows and what its OK makes of it: the settings as
// the texts and check marks of the dialog's controls, and back.
#pragma once

#include "host/settings.h"
#include "platform/dialogs.h"
#include "ui/dialog_resources.h"

namespace varolen {

// Control identifiers of the Setup dialog.
enum SetupControl {
  kFlyByDurationEdit = 1000,
  kRelativeAltitudeEdit = 1001,
  kAlwaysRightRadio = 1002,
  kAlwaysLeftRadio = 1003,
  kRandomRadio = 1004,
  kTravellingCheck = 1005,
  kMinimumDistanceEdit = 1006,
  kHeadLatencyEdit = 1007,
  kRunningSpeedEdit = 1008,
  kGroundTurbulenceEdit = 1009,
  kHeadLatencyCheck = 1010,
  kGroundTurbulenceCheck = 1011,
  kBuffetingEdit = 1012,
  kBuffetingCheck = 1013,
  kLateralOffsetEdit = 1014,
  kLongitudinalOffsetEdit = 1015,
  kSmoothViewCheck = 1016,
};
inline constexpr int kSetupFieldCount = 17;

// The Setup dialog's controls, in the order they are filled and read.
struct SetupForm {
  platform::DialogField fields[kSetupFieldCount];
  platform::DialogField* Find(int id);
};

// The settings as the dialog shows them: whole numbers with "%d", the others
// with two decimals, the placement as one of three radio buttons.
SetupForm FillSetupForm(const CameraSettingsRecord& settings);

// What OK stores: rates within 0.0 to 2.0, the minimum distance made positive,
// the running speed not negative; text that is no number is 0.
void ApplySetupForm(SetupForm& form, CameraSettingsRecord& settings);

}  // namespace varolen
