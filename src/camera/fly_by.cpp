#include "camera/fly_by.h"

#include <algorithm>
#include <cmath>

#include "camera/observer.h"
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

double MinimumDistanceMetres(const CameraSettingsRecord& settings) {
  return settings.FlyByMinDistance * kFeetToMetres;
}

void PlaceFlyByCamera(const AircraftStateRecord& aircraft, const CameraSettingsRecord& settings) {
  // A tenth of the distance aside, but never so close that the wing sweeps
  // through the camera on a take-off roll.
  const double aside = std::max(FlyByCamera.distance / 10.0, kLeastSideMetres);
  Vec3 offset = {aside * FlyByCamera.side, 0.0, FlyByCamera.distance};
  if (settings.FlyByTravelling != 0) offset.x = 0.0;
  RotatePitch(offset, aircraft.pitch * kDegreesToRadians);
  RotateHeading(offset, aircraft.track * kDegreesToRadians);
  GeoPosition camera;
  OffsetPosition(aircraft.position, offset, camera);
  // Only half of the height difference along the path.
  camera.altitude = offset.y * 0.5 * kMetresToFeet + aircraft.position.altitude + settings.FlyByRelAltitude;
  SetObserverPosition(camera);
  FlyByCamera.camera = camera;
  FlyByCamera.placementHeading = aircraft.heading;
  FlyByCamera.placed = 1;
}

void TrackFlyByCamera(const AircraftStateRecord& aircraft, const CameraSettingsRecord& settings) {
  double distance = 0.0;
  double course = 0.0;
  GreatCircle(FlyByCamera.camera, aircraft.position, distance, course);
  // Measured from the placed point: aside by as much as the aircraft is inside the minimum distance.
  Vec3 slide = {0.0, 0.0, 0.0};
  const double least = MinimumDistanceMetres(settings);
  if (!(std::fabs(least) < distance)) slide.x = (least - distance) * FlyByCamera.side;
  RotateHeading(slide, FlyByCamera.placementHeading * kDegreesToRadians);
  GeoPosition camera;
  OffsetPosition(FlyByCamera.camera, slide, camera);
  camera.altitude = FlyByCamera.camera.altitude;
  SetObserverPosition(camera);
}

}  // namespace

void RunFlyByCycle(const FrameInput& frame) {
  const CameraSettingsRecord& settings = frame.settings;
  FlyByCamera.cycleTimer -= frame.step;
  // Placed first, whatever the timer says: the travelling camera slides only
  // from a placed camera, never from the zeroed record (0 N 0 E).
  if (FlyByCamera.cycleTimer < 0.0f || FlyByCamera.placed == 0) {
    FlyByCamera.cycleTimer = static_cast<float>(settings.FlyByDuration);
    FlyByCamera.side = ChooseSide(settings.FlyByCameraPlacement, FlyByCamera.side);
    // The ground speed in metres per second: the aircraft comes abeam half-way through the cycle.
    FlyByCamera.distance = frame.aircraft.groundSpeed * settings.FlyByDuration * 0.5;
    const double least = MinimumDistanceMetres(settings);
    if (least > FlyByCamera.distance) FlyByCamera.distance = least;
    PlaceFlyByCamera(frame.aircraft, settings);
  }
  if (settings.FlyByTravelling != 0) TrackFlyByCamera(frame.aircraft, settings);
}

}  // namespace varolen
