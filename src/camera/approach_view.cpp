#include "camera/approach_view.h"

#include <cmath>

#include "camera/aircraft_snapshot.h"
#include "camera/fly_by.h"
#include "camera/observer.h"
#include "host/settings.h"

namespace varolen {

ApproachAnchorRecord ApproachAnchor;

namespace {
// The parked observer's height above the ground.
constexpr double kAnchorHeightFeet = 10.0;
}  // namespace

void UpdateApproachAnchor() {
  const AircraftStateRecord& aircraft = AircraftState;
  Vec3 direction = aircraft.bodyVelocity;
  Normalize(direction);
  const double vertical = std::fabs(direction.y);
  const double forward = std::fabs(direction.z);
  if (vertical == 0.0 || forward == 0.0) return;
  // Height times horizontal over vertical speed: the ground distance to touchdown.
  Vec3 offset = {CameraSettings.ApproachViewX * kFeetToMetres, 0.0,
                 aircraft.heightAboveGround * kFeetToMetres * forward / vertical +
                     CameraSettings.ApproachViewZ * kFeetToMetres};
  RotateHeading(offset, aircraft.track * kDegreesToRadians);
  OffsetPosition(aircraft.position, offset, ApproachAnchor.position);
  ApproachAnchor.position.altitude = aircraft.groundElevation + kAnchorHeightFeet;
}

void RunOutsideCameras() {
  if (ApproachAnchor.set == 0) {
    ApproachAnchor.position = AircraftState.position;
    ApproachAnchor.set = 1;
  }
  const bool high = AircraftState.heightAboveGround > kApproachHeightFeet;
  if (high) UpdateApproachAnchor();
  const CameraSettingsRecord& settings = CameraSettings;
  if (settings.FlyByActive != 0 || (settings.ApproachActive != 0 && high)) {
    RunFlyByCycle();
  } else if (settings.ApproachActive != 0) {
    SetObserverPosition(ApproachAnchor.position);
  }
}

}  // namespace varolen
