#include "ui/setup_model.h"

#include <cmath>
#include <cstdlib>

#include "host/text.h"

namespace varolen {

namespace {

platform::DialogField Text(int id, const char* format, double value) {
  platform::DialogField field = {id, true, {}, false, 0};
  FormatText(field.text, sizeof field.text, format, value);
  return field;
}

platform::DialogField Number(int id, std::int32_t value) {
  platform::DialogField field = {id, true, {}, false, 0};
  FormatText(field.text, sizeof field.text, "%d", value);
  return field;
}

platform::DialogField Check(int id, bool checked, int radioGroup = 0) {
  return {id, false, {}, checked, radioGroup};
}

double Clamp(double value, double low, double high) {
  return value < low ? low : (value > high ? high : value);
}

}  // namespace

platform::DialogField* SetupForm::Find(int id) {
  for (platform::DialogField& field : fields) {
    if (field.id == id) return &field;
  }
  return nullptr;
}

SetupForm FillSetupForm(const CameraSettingsRecord& s) {
  return {{
      Number(kFlyByDurationEdit, s.FlyByDuration),
      Number(kRelativeAltitudeEdit, s.FlyByRelAltitude),
      Number(kMinimumDistanceEdit, s.FlyByMinDistance),
      // A placement outside 0 to 2 leaves all three unchecked.
      Check(kAlwaysRightRadio, s.FlyByCameraPlacement == 0, 1),
      Check(kAlwaysLeftRadio, s.FlyByCameraPlacement == 1, 1),
      Check(kRandomRadio, s.FlyByCameraPlacement == 2, 1),
      Check(kTravellingCheck, s.FlyByTravelling),
      Text(kLateralOffsetEdit, "%.2f", s.ApproachViewX),
      Text(kLongitudinalOffsetEdit, "%.2f", s.ApproachViewZ),
      Text(kHeadLatencyEdit, "%.2f", s.ViewTurbRate),
      Text(kGroundTurbulenceEdit, "%.2f", s.GroundTurbRate),
      Text(kBuffetingEdit, "%.2f", s.BuffetTurbRate),
      Text(kRunningSpeedEdit, "%.2f", s.RunningSpeed),
      Check(kHeadLatencyCheck, s.ViewTurbOn),
      Check(kGroundTurbulenceCheck, s.GroundTurbOn),
      Check(kBuffetingCheck, s.BuffetTurbOn),
      Check(kSmoothViewCheck, s.SmoothView),
  }};
}

void ApplySetupForm(SetupForm& form, CameraSettingsRecord& s) {
  const auto integer = [&form](int id) { return ParseInteger(form.Find(id)->text); };
  const auto real = [&form](int id) { return ParseTypedDouble(form.Find(id)->text); };
  const auto checked = [&form](int id) { return form.Find(id)->checked; };

  s.FlyByDuration = integer(kFlyByDurationEdit);
  s.FlyByRelAltitude = integer(kRelativeAltitudeEdit);
  const std::int32_t minimum = integer(kMinimumDistanceEdit);
  // The most negative number has no positive counterpart: the largest stands in.
  s.FlyByMinDistance = minimum == INT32_MIN ? INT32_MAX : std::abs(minimum);
  // The last checked radio button wins; none checked leaves the placement.
  if (checked(kAlwaysRightRadio)) s.FlyByCameraPlacement = 0;
  if (checked(kAlwaysLeftRadio)) s.FlyByCameraPlacement = 1;
  if (checked(kRandomRadio)) s.FlyByCameraPlacement = 2;
  s.FlyByTravelling = checked(kTravellingCheck);
  s.ApproachViewX = real(kLateralOffsetEdit);
  s.ApproachViewZ = real(kLongitudinalOffsetEdit);
  s.ViewTurbRate = Clamp(real(kHeadLatencyEdit), 0.0, 2.0);
  s.GroundTurbRate = Clamp(real(kGroundTurbulenceEdit), 0.0, 2.0);
  s.BuffetTurbRate = Clamp(real(kBuffetingEdit), 0.0, 2.0);
  const double running = real(kRunningSpeedEdit);
  s.RunningSpeed = running < 0.0 ? 0.0 : running;
  s.ViewTurbOn = checked(kHeadLatencyCheck);
  s.GroundTurbOn = checked(kGroundTurbulenceCheck);
  s.BuffetTurbOn = checked(kBuffetingCheck);
  s.SmoothView = checked(kSmoothViewCheck);
}

}  // namespace varolen
