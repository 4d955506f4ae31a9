#include "camera/fly_by.h"

#include <algorithm>
#include <cmath>

#include "camera/aircraft_snapshot.h"
#include "camera/observer.h"
#include "host/settings.h"
#include "platform/random.h"

namespace varolen {

FlyByCameraRecord FlyByCamera;

namespace {

// The random side: a draw up to half of the generator's range goes left.
constexpr int kRandomLeftLimit = 16384;

constexpr double kLeastSideMetres = 15.0;

std::int32_t ChooseSide(std::int32_t placement, std::int32_t side) {
  switch (placement) {
    case 0:
      return 1;
    case 1:
      return -1;
    case 2:
      return platform::Rand() <= kRandomLeftLimit ? -1 : 1;
    default:
      return side;
  }
}

double MinimumDistanceMetres() { return CameraSettings.FlyByMinDistance * kFeetToMetres; }

}  // namespace

void RunFlyByCycle() {
  const CameraSettingsRecord& settings = CameraSettings;
  FlyByCamera.cycleTimer -= FrameClock.step;
  // Placed first, whatever the timer says: the travelling camera slides only
  // from a placed camera, never from the zeroed record (0 N 0 E).
  if (FlyByCamera.cycleTimer < 0.0f || FlyByCamera.placed == 0) {
    FlyByCamera.cycleTimer = static_cast<float>(settings.FlyByDuration);
    FlyByCamera.side = ChooseSide(settings.FlyByCameraPlacement, FlyByCamera.side);
    // The ground speed in metres per second: the aircraft comes abeam half-way through the cycle.
    const double speed = FrameVariables[kSpeedVariable].Value();
    FlyByCamera.distance = speed * settings.FlyByDuration * 0.5;
    if (MinimumDistanceMetres() > FlyByCamera.distance) FlyByCamera.distance = MinimumDistanceMetres();
    PlaceFlyByCamera();
  }
  if (settings.FlyByTravelling != 0) TrackFlyByCamera();
}

void PlaceFlyByCamera() {
  const AircraftStateRecord& aircraft = AircraftState;
  // A tenth of the distance aside, but never so close that the wing sweeps
  // through the camera on a take-off roll.
  const double aside = std::max(FlyByCamera.distance / 10.0, kLeastSideMetres);
  Vec3 offset = {aside * FlyByCamera.side, 0.0, FlyByCamera.distance};
  if (CameraSettings.FlyByTravelling != 0) offset.x = 0.0;
  RotatePitch(offset, aircraft.pitch * kDegreesToRadians);
  RotateHeading(offset, aircraft.track * kDegreesToRadians);
  GeoPosition camera;
  OffsetPosition(aircraft.position, offset, camera);
  // Only half of the height difference along the path.
  camera.altitude =
      offset.y * 0.5 * kMetresToFeet + aircraft.position.altitude + CameraSettings.FlyByRelAltitude;
  SetObserverPosition(camera);
  FlyByCamera.camera = camera;
  FlyByCamera.placementHeading = aircraft.heading;
  FlyByCamera.placed = 1;
}

void TrackFlyByCamera() {
  double distance = 0.0;
  double course = 0.0;
  GreatCircle(FlyByCamera.camera, AircraftState.position, distance, course);
  // Measured from the placed point: aside by as much as the aircraft is inside the minimum distance.
  Vec3 slide = {0.0, 0.0, 0.0};
  if (!(std::fabs(MinimumDistanceMetres()) < distance))
    slide.x = (MinimumDistanceMetres() - distance) * FlyByCamera.side;
  RotateHeading(slide, FlyByCamera.placementHeading * kDegreesToRadians);
  GeoPosition camera;
  OffsetPosition(FlyByCamera.camera, slide, camera);
  camera.altitude = FlyByCamera.camera.altitude;
  SetObserverPosition(camera);
}

}  // namespace varolen
