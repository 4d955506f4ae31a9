#include "camera/fly_by.h"

#include <algorithm>
#include <cmath>

#include "camera/observer.h"
#include "platform/random.h"

namespace varolen {

namespace {
FlyByCameraRecord flyBy;

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
  const double aside = std::max(flyBy.distance / 10.0, kLeastSideMetres);
  Vec3 offset = {aside * flyBy.side, 0.0, flyBy.distance};
  if (settings.FlyByTravelling) offset.x = 0.0;
  RotatePitch(offset, aircraft.pitch * kDegreesToRadians);
  RotateHeading(offset, aircraft.track * kDegreesToRadians);
  GeoPosition camera;
  OffsetPosition(aircraft.position, offset, camera);
  // Only half of the height difference along the path.
  camera.altitude = offset.y * 0.5 * kMetresToFeet + aircraft.position.altitude + settings.FlyByRelAltitude;
  SetObserverPosition(camera);
  flyBy.camera = camera;
  flyBy.placementHeading = aircraft.heading;
  flyBy.placed = true;
}

void TrackFlyByCamera(const AircraftStateRecord& aircraft, const CameraSettingsRecord& settings) {
  double distance = 0.0;
  double course = 0.0;
  GreatCircle(flyBy.camera, aircraft.position, distance, course);
  // Measured from the placed point: aside by as much as the aircraft is inside the minimum distance.
  Vec3 slide = {0.0, 0.0, 0.0};
  const double least = MinimumDistanceMetres(settings);
  if (!(std::fabs(least) < distance)) slide.x = (least - distance) * flyBy.side;
  RotateHeading(slide, flyBy.placementHeading * kDegreesToRadians);
  GeoPosition camera;
  OffsetPosition(flyBy.camera, slide, camera);
  camera.altitude = flyBy.camera.altitude;
  SetObserverPosition(camera);
}

}  // namespace

const FlyByCameraRecord& FlyByCamera = flyBy;

void RunFlyByCycle(const FrameInput& frame) {
  const CameraSettingsRecord& settings = frame.settings;
  flyBy.cycleTimer -= frame.step;
  // Placed first, whatever the timer says: the travelling camera slides only
  // from a placed camera, never from the zeroed record (0 N 0 E).
  if (flyBy.cycleTimer < 0.0f || !flyBy.placed) {
    flyBy.cycleTimer = static_cast<float>(settings.FlyByDuration);
    flyBy.side = ChooseSide(settings.FlyByCameraPlacement, flyBy.side);
    // The ground speed in metres per second: the aircraft comes abeam half-way through the cycle.
    flyBy.distance = frame.aircraft.groundSpeed * settings.FlyByDuration * 0.5;
    const double least = MinimumDistanceMetres(settings);
    if (least > flyBy.distance) flyBy.distance = least;
    PlaceFlyByCamera(frame.aircraft, settings);
  }
  if (settings.FlyByTravelling) TrackFlyByCamera(frame.aircraft, settings);
}

void ResetFlyByCamera() { flyBy = {}; }

}  // namespace varolen
