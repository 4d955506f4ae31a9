#include "camera/approach_view.h"

#include <cmath>

#include "camera/fly_by.h"
#include "camera/observer.h"

namespace varolen {

namespace {
ApproachAnchorRecord anchor;
// The parked observer's height above the ground.
constexpr double kAnchorHeightFeet = 10.0;

// Unchanged in level flight or without forward speed.
void UpdateApproachAnchor(const AircraftStateRecord& aircraft, const CameraSettingsRecord& settings) {
  Vec3 direction = aircraft.bodyVelocity;
  Normalize(direction);
  const double vertical = std::fabs(direction.y);
  const double forward = std::fabs(direction.z);
  if (vertical == 0.0 || forward == 0.0) return;
  // Height times horizontal over vertical speed: the ground distance to touchdown.
  Vec3 offset = {settings.ApproachViewX * kFeetToMetres, 0.0,
                 aircraft.heightAboveGround * kFeetToMetres * forward / vertical +
                     settings.ApproachViewZ * kFeetToMetres};
  RotateHeading(offset, aircraft.track * kDegreesToRadians);
  OffsetPosition(aircraft.position, offset, anchor.position);
  anchor.position.altitude = aircraft.groundElevation + kAnchorHeightFeet;
}

}  // namespace

const ApproachAnchorRecord& ApproachAnchor = anchor;

void RunOutsideCameras(const FrameInput& frame) {
  if (anchor.set == 0) {
    anchor.position = frame.aircraft.position;
    anchor.set = 1;
  }
  const CameraSettingsRecord& settings = frame.settings;
  const bool high = frame.aircraft.heightAboveGround > kApproachHeightFeet;
  if (high) UpdateApproachAnchor(frame.aircraft, settings);
  if (settings.FlyByActive || (settings.ApproachActive && high)) {
    RunFlyByCycle(frame);
  } else if (settings.ApproachActive) {
    SetObserverPosition(anchor.position);
  }
}

void ResetApproachAnchor() { anchor = {}; }

}  // namespace varolen
