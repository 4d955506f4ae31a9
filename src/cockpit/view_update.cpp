#include "cockpit/view_update.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "cockpit/body_motion.h"
#include "cockpit/head_motion.h"
#include "cockpit/motion.h"
#include "cockpit/movement_keys.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/settings.h"
#include "host/view_writer.h"
#include "maths/numeric.h"
#include "maths/view_math.h"
#include "platform/host_memory.h"
#include "tracker/head_tracker.h"

namespace varolen {

namespace {
CockpitViewRecord cockpitView;
}  // namespace

const CockpitViewRecord& CockpitViewState = cockpitView;

namespace {

namespace field = view_record;
using platform::BlockField;
using platform::SetBlockField;

bool BodyMotionOn() { return MotionOptions.touchdown > 0.0 || MotionOptions.loadFactor > 0.0; }

void RunBody(const AircraftStateRecord& aircraft, double step) {
  const HostReadings& host = aircraft.host;
  RunBodyMotion({host.onGround != 0.0, aircraft.pitch, aircraft.bank, aircraft.heading, host.bodyVelocity.z,
                 host.bodyVelocity.x, host.bodyVelocity.y},
                step, MotionOptions.touchdown, MotionOptions.loadFactor);
}

constexpr double kHeadTurnRate = 35.0;  // degrees per second while a head key is held
constexpr double kLongestLean = 0.5;    // eye units (metres) the tracked head moves the eye at most

void MoveEye(CockpitViewRecord& controller, Vec3 move) {
  RotateHeading(move, controller.ViewAngles.heading * kDegreesToRadians);
  controller.EyePosition.x += move.x;
  controller.EyePosition.y += move.y;
  controller.EyePosition.z += move.z;
}

// The movement keys; false when any is held (the module's own move then wins
// over whatever the host did to the record).
bool MoveByKeys(CockpitViewRecord& controller, double s) {
  Angles& angles = controller.ViewAngles;
  const struct {
    bool MovementKeysRecord::*flag;
    Vec3 move;
    double heading;
    double pitch;
  } keys[] = {
      {&MovementKeysRecord::PilotForward, {0, 0, s}, 0, 0},
      {&MovementKeysRecord::PilotBackward, {0, 0, -s}, 0, 0},
      {&MovementKeysRecord::PilotStepRight, {s, 0, 0}, 0, 0},
      {&MovementKeysRecord::PilotStepLeft, {-s, 0, 0}, 0, 0},
      {&MovementKeysRecord::PilotHeadRight, {0, 0, 0}, kHeadTurnRate * s, 0},
      {&MovementKeysRecord::PilotHeadLeft, {0, 0, 0}, -kHeadTurnRate * s, 0},
      {&MovementKeysRecord::PilotHeadUp, {0, 0, 0}, 0, -kHeadTurnRate * s},
      {&MovementKeysRecord::PilotHeadDown, {0, 0, 0}, 0, kHeadTurnRate * s},
      {&MovementKeysRecord::PilotUp, {0, s, 0}, 0, 0},
      {&MovementKeysRecord::PilotDown, {0, -s, 0}, 0, 0},
  };
  bool detect = true;
  for (const auto& key : keys) {
    if (MovementKeys.*key.flag == 0) continue;
    if (key.heading != 0.0 || key.pitch != 0.0) {
      angles.heading += key.heading;
      angles.pitch = std::clamp(angles.pitch + key.pitch, -kMostViewPitch, kMostViewPitch);
    } else {
      MoveEye(controller, key.move);
    }
    controller.TargetEyePosition = controller.EyePosition;
    controller.TargetViewAngles = angles;
    detect = false;
  }
  return detect;
}

// The record's orientation rows; false when one of them is no number.
bool MatrixRows(const std::uint8_t* record, float (&rows)[3][3]) {
  bool finite = true;
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column) {
      rows[row][column] =
          BlockField<float>(record, field::kMatrix + field::kMatrixRowStride * row + 4 * column);
      finite = finite && std::isfinite(rows[row][column]);
    }
  }
  return finite;
}

// A host matrix that is no set of numbers is not a change the module could
// follow: it is left out of the comparison (and out of the take-over).
bool HostChanged(const std::uint8_t* saved, const std::uint8_t* host) {
  float rows[3][3];
  const bool matrixUsable = MatrixRows(host, rows);
  const struct {
    std::uint32_t offset;
    std::uint32_t size;
  } fields[] = {
      {field::kKind, 4},        {field::kEyeOffset, 6},      {field::kZoom, 2},
      {field::kMatrix, 12},     {field::kMatrix + 16, 12},   {field::kMatrix + 32, 12},
      {field::kSpotHeading, 2}, {field::kSpotHorizontal, 4}, {field::kSpotVertical, 4},
      {field::kOutsideZoom, 2}, {field::kHostBytes, 2},
  };
  for (const auto& f : fields) {
    if (f.offset >= field::kMatrix && f.offset < field::kHeading) {
      if (!matrixUsable) continue;
      // Matrix elements compare as floats: -0.0 equals 0.0.
      for (std::uint32_t element = 0; element < 3; ++element) {
        if (BlockField<float>(saved, f.offset + 4 * element) !=
            BlockField<float>(host, f.offset + 4 * element)) {
          return true;
        }
      }
    } else if (std::memcmp(saved + f.offset, host + f.offset, f.size) != 0) {
      return true;
    }
  }
  return false;
}

void StepTransitions(CockpitViewRecord& c, const CockpitTickRecord& tick) {
  if (MotionOptions.transitionCurve == TransitionCurve::Smooth) {
    ViewPlace place{};
    if (StepSmoothTransition({c.TargetEyePosition, c.TargetViewAngles, c.TargetZoom}, tick.TickTime, place)) {
      c.EyePosition = place.eye;
      c.ViewAngles = place.angles;
      c.Zoom = place.zoom;
    }
    return;
  }
  // The rates are the whole way: it is gone in the transition's time.
  const double step = tick.clock.step / MotionOptions.transitionSeconds;
  ApproachValue(c.EyePosition.x, c.TargetEyePosition.x, c.EyePositionRate.x, step);
  ApproachValue(c.EyePosition.y, c.TargetEyePosition.y, c.EyePositionRate.y, step);
  ApproachValue(c.EyePosition.z, c.TargetEyePosition.z, c.EyePositionRate.z, step);
  ApproachAngle(c.ViewAngles.pitch, c.TargetViewAngles.pitch, c.ViewAngleRate.pitch, step);
  ApproachAngle(c.ViewAngles.heading, c.TargetViewAngles.heading, c.ViewAngleRate.heading, step);
  ApproachAngle(c.ViewAngles.bank, c.TargetViewAngles.bank, c.ViewAngleRate.bank, step);
  ApproachValue(c.Zoom, c.TargetZoom, c.ZoomRate, step);
}

// Where the pilot looks, degrees right: the view's heading with the tracked head.
double LookHeading() { return cockpitView.ViewAngles.heading + HeadTracker.applied.heading; }

// The aircraft's pitch and bank as a pilot looking `lookHeading` degrees right
// sees them: looking sideways, the aircraft's pitch rolls the view and its
// bank pitches it.
Angles TurnedToTheLook(const Angles& angles, double lookHeading) {
  if (lookHeading == 0.0) return angles;  // looking ahead, as most of the time
  Vec3 turned = {angles.pitch, angles.heading, angles.bank};
  RotateHeading(turned, -lookHeading * kDegreesToRadians);
  return {turned.x, turned.y, turned.z};
}

// Held still while the pointer rests on a click area. The options that follow
// the pilot's look and the aircraft run once a frame.
void RunHeadMotion(const AircraftStateRecord& aircraft, bool pointerOnClickArea, bool frameTick,
                   double step) {
  const HostReadings& host = aircraft.host;
  // Measured in time, the effects move on once a frame; frame by frame, with
  // every view update.
  const bool advance = frameTick || !MotionOptions.sameAtAnyFrameRate;
  if (!pointerOnClickArea && advance) AdvanceTurbulence(step);
  TakeAircraftAttitude({aircraft.pitch, aircraft.heading, aircraft.bank});
  if (pointerOnClickArea) return;
  if (advance) DrawTurbulenceTargets(host.onGround, aircraft.groundSpeed, host.buffet, step);
  ApplyHeadLatency(aircraft.heightAboveGround, LookHeading(), step);
  if (!frameTick || !MotionFollows()) return;
  const Angles& view = cockpitView.ViewAngles;
  const TrackerOffset& head = HeadTracker.applied;
  RunMotionOptions({view.pitch + head.pitch, view.heading + head.heading, view.bank + head.bank},
                   {aircraft.pitch, aircraft.bank, aircraft.heading, host.onGround != 0.0,
                    aircraft.groundSpeed, MotionOptions.lookIntoTurn > 0.0 ? host.rudder : 0.0},
                   step);
  if (BodyMotionOn()) RunBody(aircraft, step);
}

// The eye's move as the module wrote it last: the tracked head's lean and the body motion's.
Vec3 WrittenEye(const CockpitViewRecord& c) {
  return {c.WrittenTrackerEye.x + c.WrittenBodyEye.x, c.WrittenTrackerEye.y + c.WrittenBodyEye.y,
          c.WrittenTrackerEye.z + c.WrittenBodyEye.z};
}

// The module's angles follow what the host or the user did to the view since
// the module last wrote it, by the shortest way; from then on the module owns
// this record.
void TakeOver(CockpitViewRecord& c, HostAddress view, const std::uint8_t* host) {
  // The pilot's head, as the module wrote it into this very record, is no
  // change of the host's: it is taken out before the view is followed.
  const bool ours = c.SavedViewSource == view;
  const Angles head = ours ? c.WrittenTrackerAngles : Angles{};
  const Vec3 lean = ours ? WrittenEye(c) : Vec3{};
  std::memcpy(c.SavedView, host, kHostViewRecordSize);
  c.SavedViewSource = view;
  float rows[3][3];
  if (MatrixRows(host, rows)) {
    Angles seen = ViewAnglesFromMatrix(rows);
    seen.heading += BlockField<std::int32_t>(host, field::kDirectionStep) * 45.0 - head.heading;
    seen.pitch -= head.pitch;
    c.ViewAngles.pitch += AngleDifference(seen.pitch, c.WrittenViewAngles.pitch);
    c.ViewAngles.heading += AngleDifference(seen.heading, c.WrittenViewAngles.heading);
    c.ViewAngles.bank += AngleDifference(seen.bank, c.WrittenViewAngles.bank);
  }
  const Vec3 base = BaseEye(host);
  c.EyePosition = {(base.x + BlockField<std::int16_t>(host, field::kEyeOffset)) / 256.0 - lean.x,
                   (base.y + BlockField<std::int16_t>(host, field::kEyeOffset + 2)) / 256.0 - lean.y,
                   (base.z + BlockField<std::int16_t>(host, field::kEyeOffset + 4)) / 256.0 - lean.z};
  c.Zoom = BlockField<std::int16_t>(host, field::kZoom) / 64.0;
  c.TargetEyePosition = c.EyePosition;
  c.TargetViewAngles = c.ViewAngles;
  c.TargetZoom = c.Zoom;
  c.SpotHeading = BlockField<std::int16_t>(host, field::kSpotHeading) / 65536.0 * 360.0;
  c.SpotZoom = BlockField<std::int16_t>(host, field::kOutsideZoom) / 64.0;
  const Vec3 spot = {0.0, BlockField<std::int32_t>(host, field::kSpotVertical) / 256.0,
                     BlockField<std::int32_t>(host, field::kSpotHorizontal) / 256.0};
  c.SpotPitch = ElevationAngle({0.0, 0.0, 0.0}, spot) * kRadiansToDegrees;
  c.SpotDistance = Length(spot);
}

bool IsZero(const Angles& angles) {
  return angles.pitch == 0.0 && angles.heading == 0.0 && angles.bank == 0.0;
}
bool IsZero(const Vec3& point) { return point.x == 0.0 && point.y == 0.0 && point.z == 0.0; }
bool IsZero(const TrackerOffset& head) {
  return head.heading == 0.0 && head.pitch == 0.0 && head.bank == 0.0 && head.x == 0.0 && head.y == 0.0 &&
         head.z == 0.0;
}

// The head's move turned from the head's frame by the view's heading, within reach.
Vec3 LeanOf(const TrackerOffset& head, double headingDegrees) {
  Vec3 lean = {head.x, head.y, head.z};
  RotateHeading(lean, headingDegrees * kDegreesToRadians);
  return {std::clamp(lean.x, -kLongestLean, kLongestLean), std::clamp(lean.y, -kLongestLean, kLongestLean),
          std::clamp(lean.z, -kLongestLean, kLongestLean)};
}

// `effects` is the head motion's offset and `bodyEye` the body motion's move
// of the eye (cockpit axes), none where only the tracked head is composed.
void WriteView(CockpitViewRecord& c, std::int32_t kind, const std::uint8_t* host, const Angles& effects,
               const Vec3& bodyEye) {
  std::uint8_t* saved = c.SavedView;
  c.WrittenTrackerAngles = {};
  c.WrittenTrackerEye = {};
  c.WrittenMotion = {};
  c.WrittenBodyEye = {};
  if (kind != kSpotView) {
    c.WrittenMotion = effects;
    c.WrittenBodyEye = bodyEye;
    // The pilot's own head goes on top of the view and the head motion.
    const TrackerOffset& head = HeadTracker.applied;
    const Angles total = {
        std::clamp(c.ViewAngles.pitch + effects.pitch + head.pitch, -kMostViewPitch, kMostViewPitch),
        c.ViewAngles.heading + effects.heading + head.heading, c.ViewAngles.bank + effects.bank + head.bank};
    // The tracker measures the lean facing the screen: the view's heading without the head's turn.
    const Vec3 lean = LeanOf(head, total.heading - head.heading);
    c.WrittenTrackerAngles = {head.pitch, head.heading, head.bank};
    c.WrittenTrackerEye = lean;
    const Matrix4 rotation = MultiplyMatrix(RotationZ(total.bank * kDegreesToRadians),
                                            MultiplyMatrix(RotationX(total.pitch * kDegreesToRadians),
                                                           RotationY(total.heading * kDegreesToRadians)));
    SetViewRotation(saved, rotation);
    SetViewEye(saved, {(c.EyePosition.x + lean.x + bodyEye.x) * 256.0,
                       (c.EyePosition.y + lean.y + bodyEye.y) * 256.0,
                       (c.EyePosition.z + lean.z + bodyEye.z) * 256.0});
    SetViewZoom(saved, field::kZoom, c.Zoom);
    SetViewWord(saved, field::kHeading, c.ViewAngles.heading / 360.0 * 65536.0);  // without the head motion
  }
  SetBlockField(saved, field::kHostValue, BlockField<std::uint32_t>(host, field::kHostValue));
  if (kind == kSpotView && CameraSettings.UseMouseInSpot) {
    Vec3 spot = {0.0, 0.0, c.SpotDistance};
    RotatePitch(spot, c.SpotPitch * kDegreesToRadians);
    SetViewWord(saved, field::kSpotHeading, c.SpotHeading / 360.0 * 65536.0);
    SetViewZoom(saved, field::kOutsideZoom, c.SpotZoom);
    SetViewLong(saved, field::kSpotHorizontal, std::fabs(spot.z * 256.0));
    SetViewLong(saved, field::kSpotVertical, spot.y * 256.0);
  }
}

// True when a virtual-cockpit or spot view was processed; `inCockpit` tells
// whether the host shows a cockpit view at all.
bool UpdateView(const CockpitTickRecord& tick, const AircraftStateRecord& aircraft, HostAddress view,
                bool detectHostChanges, bool pointerOnClickArea, bool& inCockpit) {
  CockpitViewRecord& controller = cockpitView;
  if (view == 0) return false;
  std::uint8_t host[kHostViewRecordSize];
  platform::ReadHostBytes(view, host, kHostViewRecordSize);
  const std::int32_t kind = BlockField<std::int32_t>(host, field::kKind);
  inCockpit = kind == kCockpitPanelView || kind == kVirtualCockpitView;
  if (kind != kVirtualCockpitView && kind != kSpotView) return false;

  if (!aircraft.taken) return false;

  const bool detect = MoveByKeys(controller, tick.clock.step) && detectHostChanges;
  // A record the module has not taken over yet counts as changed.
  const bool changed =
      detect && (controller.SavedViewSource != view || HostChanged(controller.SavedView, host));
  StepTransitions(controller, tick);
  RunHeadMotion(aircraft, pointerOnClickArea, detectHostChanges, tick.clock.step);
  if (changed || (kind == kSpotView && !CameraSettings.UseMouseInSpot)) TakeOver(controller, view, host);

  // Only a copy taken over from this very record goes back into it: a copy of
  // another record, or none at all, would overwrite the host's own bytes.
  if (controller.SavedViewSource == view) {
    // The latency is turned to the look as it builds up; the jolts as they show.
    const double look = LookHeading();
    const Angles& latency = HeadMotion.LatencyOffset;
    const Angles turbulence = TurnedToTheLook(HeadMotion.TurbOffset, look);
    const Angles effects = {latency.pitch + turbulence.pitch, latency.heading + turbulence.heading,
                            latency.bank + turbulence.bank};
    Angles added = MotionFollows() ? WithMotionOptions(effects, look) : effects;
    Vec3 bodyEye = {};
    if (BodyMotionOn()) {
      // What the body feels yields to the pilot's look as the other effects do.
      const BodyMotionAdded body = BodyMotionNow(MotionOptions.touchdown, MotionOptions.loadFactor);
      const double shown = EffectsShown();
      added.pitch += body.pitch * shown;
      bodyEye = {body.eye.x * shown, body.eye.y * shown, body.eye.z * shown};
    }
    WriteView(controller, kind, host, added, bodyEye);
    if (platform::HostWritable(view, kHostViewRecordSize)) {
      platform::WriteHostBytes(view, controller.SavedView, kHostViewRecordSize);
    }
    controller.WrittenViewAngles = controller.ViewAngles;
  }
  KeepAircraftAttitude();
  return true;
}

}  // namespace

CockpitViewUpdate UpdateCockpitView(const CockpitTickRecord& tick, const AircraftStateRecord& aircraft,
                                    bool detectHostChanges, bool pointerOnClickArea) {
  CockpitViewUpdate update = {};
  update.view = FindCurrentView();
  update.processed =
      UpdateView(tick, aircraft, update.view, detectHostChanges, pointerOnClickArea, update.inCockpit);
  update.buffetLevel = HeadMotion.BuffetLevel;
  return update;
}

bool TrackedHeadToWrite() {
  const CockpitViewRecord& controller = cockpitView;
  return !IsZero(HeadTracker.applied) || !IsZero(controller.WrittenTrackerAngles) ||
         !IsZero(controller.WrittenTrackerEye);
}

int UpdateTrackedHeadView() {
  CockpitViewRecord& controller = cockpitView;
  const HostAddress view = FindCurrentView();
  if (view == 0) return 0;
  std::uint8_t host[kHostViewRecordSize];
  platform::ReadHostBytes(view, host, kHostViewRecordSize);
  if (BlockField<std::int32_t>(host, field::kKind) != kVirtualCockpitView) return 0;
  // The record is the host's alone while no head is in it or going into it.
  const bool ours = controller.SavedViewSource == view;
  const bool headInRecord =
      ours && !(IsZero(controller.WrittenTrackerAngles) && IsZero(controller.WrittenTrackerEye));
  if (!headInRecord && IsZero(HeadTracker.applied)) return 0;
  if (!ours || HostChanged(controller.SavedView, host)) TakeOver(controller, view, host);
  WriteView(controller, kVirtualCockpitView, host, {}, {});
  if (platform::HostWritable(view, kHostViewRecordSize))
    platform::WriteHostBytes(view, controller.SavedView, kHostViewRecordSize);
  controller.WrittenViewAngles = controller.ViewAngles;
  return 1;
}

void BeginViewTransition(bool pointerOnClickArea) {
  CockpitViewRecord& c = cockpitView;
  for (double* angle : {&c.ViewAngles.pitch, &c.ViewAngles.heading, &c.ViewAngles.bank,
                        &c.TargetViewAngles.pitch, &c.TargetViewAngles.heading, &c.TargetViewAngles.bank}) {
    *angle = NormalizeDegrees(*angle);
  }
  c.EyePositionRate = {std::fabs(c.TargetEyePosition.x - c.EyePosition.x),
                       std::fabs(c.TargetEyePosition.y - c.EyePosition.y),
                       std::fabs(c.TargetEyePosition.z - c.EyePosition.z)};
  c.ViewAngleRate = {std::fabs(AngleDifference(c.TargetViewAngles.pitch, c.ViewAngles.pitch)),
                     std::fabs(AngleDifference(c.TargetViewAngles.heading, c.ViewAngles.heading)),
                     std::fabs(AngleDifference(c.TargetViewAngles.bank, c.ViewAngles.bank))};
  c.ZoomRate = std::fabs(c.TargetZoom - c.Zoom);
  if (MotionOptions.transitionCurve == TransitionCurve::Smooth)
    BeginSmoothTransition({c.EyePosition, c.ViewAngles, c.Zoom},
                          {c.TargetEyePosition, c.TargetViewAngles, c.TargetZoom}, CockpitTick.TickTime);
  // Between the frames: the view moves on by the last tick's step.
  UpdateCockpitView(CockpitTick, AircraftState, false, pointerOnClickArea);
}

void MoveCockpitViewTo(const ViewPlace& targets, bool atOnce, bool pointerOnClickArea) {
  CockpitViewRecord& c = cockpitView;
  c.TargetEyePosition = targets.eye;
  c.TargetViewAngles = targets.angles;
  c.TargetZoom = targets.zoom;
  if (atOnce) {
    c.EyePosition = c.TargetEyePosition;
    c.ViewAngles = c.TargetViewAngles;
    c.Zoom = c.TargetZoom;
  }
  BeginViewTransition(pointerOnClickArea);
}

namespace {

void KeepCockpitView(CockpitViewRecord& c) {
  c.TargetEyePosition = c.EyePosition;
  c.TargetViewAngles = c.ViewAngles;
  c.TargetZoom = c.Zoom;
}

}  // namespace

void TurnCockpitView(double heading, double pitch) {
  CockpitViewRecord& c = cockpitView;
  c.ViewAngles.heading += heading;
  c.ViewAngles.pitch = std::clamp(c.ViewAngles.pitch + pitch, -kMostViewPitch, kMostViewPitch);
  KeepCockpitView(c);
}

void ZoomCockpitView(double zoom) {
  CockpitViewRecord& c = cockpitView;
  c.Zoom = zoom;
  KeepCockpitView(c);
}

void TurnSpotView(double heading, double pitch) {
  CockpitViewRecord& c = cockpitView;
  c.SpotHeading += heading;
  // Up to straight above or below, not over the top and down the other side.
  c.SpotPitch = std::clamp(c.SpotPitch + pitch, -kMostViewPitch, kMostViewPitch);
}

void ZoomSpotView(double zoom) { cockpitView.SpotZoom = zoom; }

void ClearCockpitView() {
  // Zero bytes, padding and all, so that equal records are equal bytes.
  // All-zero bytes are 0.0 in IEEE 754 floats, the only kind the module runs on.
  // cppcheck-suppress memsetClassFloat
  std::memset(&cockpitView, 0, sizeof cockpitView);
}

}  // namespace varolen
