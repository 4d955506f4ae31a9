#include "tracker/head_tracker.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "host/sections.h"
#include "host/text.h"
#include "maths/geometry.h"
#include "platform/head_tracker.h"

namespace varolen {

HeadTrackerRecord HeadTracker;

namespace {

// The block's fields: the pose's id, then the pose, each 4 bytes.
constexpr std::uint32_t kDataId = 0;
constexpr std::uint32_t kPose = 12;  // yaw, pitch, roll (radians), x, y, z (millimetres)

constexpr std::uint32_t kRetryMilliseconds = 1000;
constexpr std::uint32_t kStaleMilliseconds = 500;  // no new pose this long: the tracker crashed or froze
constexpr std::uint32_t kForgetCentreMilliseconds = 5000;
constexpr std::uint32_t kEaseOutMilliseconds = 500;
constexpr std::uint32_t kEaseInMilliseconds = 200;
// opentrack writes an all-zero pose at Stop and then nothing; it writes zeros
// too while its Zero toggle is held and as it centres, with poses following.
// A zero pose counts as the Stop once no pose has followed it for this long.
constexpr std::uint32_t kStopMilliseconds = 100;
// No tracker writes beyond these: a saturated curve writes float(pi) or
// float(pi / 2), a hair over 180 or 90 degrees, and translations reach 6 m.
constexpr double kMostDegreesWritten = 180.5;
constexpr double kMostMillimetresWritten = 6000.0;
constexpr double kMostDegrees = 180.0;
constexpr double kMostPitchDegrees = 90.0;
constexpr double kMostEyeUnits = 0.5;  // eye units read as metres
constexpr double kMostScale = 10.0;

float WordFloat(std::uint32_t word) {
  float value;
  std::memcpy(&value, &word, sizeof word);
  return value;
}

void ReadPoseWords(std::uint32_t (&words)[6]) {
  for (std::uint32_t field = 0; field < 6; ++field)
    words[field] = platform::HeadTrackerWord(kPose + 4 * field);
}

// A pose of numbers a tracker writes, its angles held within 180 degrees, or false.
bool PoseOf(const std::uint32_t (&words)[6], TrackerPose& pose) {
  const double values[6] = {WordFloat(words[0]) * kRadiansToDegrees,
                            WordFloat(words[1]) * kRadiansToDegrees,
                            WordFloat(words[2]) * kRadiansToDegrees,
                            WordFloat(words[3]),
                            WordFloat(words[4]),
                            WordFloat(words[5])};
  for (int index = 0; index < 6; ++index) {
    const double most = index < 3 ? kMostDegreesWritten : kMostMillimetresWritten;
    if (!(std::fabs(values[index]) <= most)) return false;  // NaN fails too
  }
  const auto angle = [](double degrees) { return std::clamp(degrees, -kMostDegrees, kMostDegrees); };
  pose = {angle(values[0]), angle(values[1]), angle(values[2]), values[3], values[4], values[5]};
  return true;
}

// The pose the tracker writes as it stops (-0.0 counts as 0.0).
bool IsZero(const TrackerPose& pose) {
  return pose.yaw == 0.0 && pose.pitch == 0.0 && pose.roll == 0.0 && pose.x == 0.0 && pose.y == 0.0 &&
         pose.z == 0.0;
}

// Into (-180, 180]: a head turned past the back is turned the short way.
double Around(double degrees) {
  if (degrees > 180.0) return degrees - 360.0;
  if (degrees <= -180.0) return degrees + 360.0;
  return degrees;
}

// The views' offset for the pose: turning the head left turns the view left,
// pitching it down looks down, tilting left banks left; the eye follows the
// head (x left and z back in the block, right and forward in the eye).
TrackerOffset OffsetOf(const TrackerPose& pose, const TrackerPose& centre, const TrackerScales& scale) {
  return {std::clamp(-Around(pose.yaw - centre.yaw) * scale.yaw, -kMostDegrees, kMostDegrees),
          std::clamp((pose.pitch - centre.pitch) * scale.pitch, -kMostPitchDegrees, kMostPitchDegrees),
          std::clamp(Around(pose.roll - centre.roll) * scale.roll, -kMostDegrees, kMostDegrees),
          std::clamp(-(pose.x - centre.x) / 1000.0 * scale.x, -kMostEyeUnits, kMostEyeUnits),
          std::clamp((pose.y - centre.y) / 1000.0 * scale.y, -kMostEyeUnits, kMostEyeUnits),
          std::clamp(-(pose.z - centre.z) / 1000.0 * scale.z, -kMostEyeUnits, kMostEyeUnits)};
}

TrackerOffset Between(const TrackerOffset& from, const TrackerOffset& to, double share) {
  if (share >= 1.0) return to;
  const auto mix = [share](double a, double b) { return a + (b - a) * share; };
  return {mix(from.heading, to.heading),
          mix(from.pitch, to.pitch),
          mix(from.bank, to.bank),
          mix(from.x, to.x),
          mix(from.y, to.y),
          mix(from.z, to.z)};
}

// Finds the block, at most once a second while there is none.
void FindBlock(HeadTrackerRecord& t, std::uint32_t reading) {
  if (platform::HeadTrackerBlockOpen()) return;
  if (t.openTried && static_cast<std::int32_t>(reading - t.nextOpenReading) < 0) return;
  t.openTried = true;
  t.nextOpenReading = reading + kRetryMilliseconds;
  if (!platform::OpenHeadTrackerBlock()) return;
  // What stands in the block now is no news: a pose counts once its id changes.
  t.lastDataId = platform::HeadTrackerWord(kDataId);
  t.poseReading = reading - kStaleMilliseconds;
  t.state = TrackerState::Stale;
}

enum class BlockNews { None, Pose, Zero };

// The pose between two reads of its id; read again if the tracker wrote meanwhile.
BlockNews ReadBlock(HeadTrackerRecord& t) {
  std::uint32_t words[6];
  const std::uint32_t before = platform::HeadTrackerWord(kDataId);
  ReadPoseWords(words);
  std::uint32_t id = platform::HeadTrackerWord(kDataId);
  if (id != before) ReadPoseWords(words);
  const bool fresh = id != t.lastDataId;
  t.lastDataId = id;
  TrackerPose pose;
  if (!fresh || !PoseOf(words, pose)) return BlockNews::None;
  // A head is never at zero to the bit: a zero pose after a head's is the
  // tracker stopping, zeroing or centring, which the poses after it tell.
  if (IsZero(pose) && !IsZero(t.pose) && !t.zeroPending) return BlockNews::Zero;
  t.pose = pose;
  return BlockNews::Pose;
}

}  // namespace

void UpdateHeadTracker(bool enabled, std::uint32_t reading) {
  HeadTrackerRecord& t = HeadTracker;
  if (enabled) FindBlock(t, reading);
  if (!platform::HeadTrackerBlockOpen()) {
    t.state = TrackerState::Absent;
    t.centre = {};
    t.zeroPending = false;
  } else if (enabled) {
    switch (ReadBlock(t)) {
      case BlockNews::Pose:
        t.poseReading = reading;
        t.state = TrackerState::Live;
        t.zeroPending = false;
        break;
      case BlockNews::Zero:
        // The last pose holds while it is not yet known what the zero is.
        t.zeroPending = true;
        t.zeroReading = reading;
        break;
      case BlockNews::None:
        if (t.zeroPending && reading - t.zeroReading >= kStopMilliseconds) {
          t.zeroPending = false;
          t.pose = {};
          t.state = TrackerState::Stopped;
          t.centre = {};
        }
        break;
    }
    const std::uint32_t quiet = reading - t.poseReading;
    if (t.state == TrackerState::Live && quiet >= kStaleMilliseconds) t.state = TrackerState::Stale;
    if (t.state == TrackerState::Stale && quiet >= kForgetCentreMilliseconds) t.centre = {};
  }
  // Live, the offset is the pose (eased in over 0.2 s when it comes back);
  // otherwise it eases to zero over 0.5 s from where it is.
  const bool toPose = enabled && t.state == TrackerState::Live;
  if (toPose != t.easingToPose) {
    t.easeFrom = t.applied;
    t.easeReading = reading;
    t.easeMilliseconds = toPose ? kEaseInMilliseconds : kEaseOutMilliseconds;
    t.easingToPose = toPose;
  }
  const TrackerOffset target = toPose ? OffsetOf(t.pose, t.centre, t.scales) : TrackerOffset{};
  t.applied = Between(t.easeFrom, target,
                      static_cast<double>(reading - t.easeReading) / static_cast<double>(t.easeMilliseconds));
}

void CentreHeadTracker() {
  if (HeadTracker.state != TrackerState::Absent) HeadTracker.centre = HeadTracker.pose;
}

void CloseHeadTracker() {
  platform::CloseHeadTrackerBlock();
  HeadTracker.state = TrackerState::Absent;
  HeadTracker.centre = {};
}

void ResetHeadTrackerState() {
  platform::CloseHeadTrackerBlock();
  HeadTracker = {};
  HeadTracker.easeMilliseconds = kEaseOutMilliseconds;
}

const char* const kTrackerAxisNames[kTrackerAxisCount] = {"Yaw", "Pitch", "Roll", "X", "Y", "Z"};

namespace {
constexpr double TrackerScales::*kAxisScales[kTrackerAxisCount] = {
    &TrackerScales::yaw, &TrackerScales::pitch, &TrackerScales::roll,
    &TrackerScales::x,   &TrackerScales::y,     &TrackerScales::z};
}  // namespace

void SetTrackerScale(TrackerScales& scales, const char* name, const char* value) {
  double number = 0.0;
  if (!SectionNumber(value, number)) return;
  for (int axis = 0; axis < kTrackerAxisCount; ++axis) {
    if (EqualIgnoringCase(name, kTrackerAxisNames[axis]))
      scales.*kAxisScales[axis] = std::clamp(number, -kMostScale, kMostScale);
  }
}

void TrackerScaleText(const TrackerScales& scales, int axis, char* text, std::size_t capacity) {
  FormatText(text, capacity, "%g", scales.*kAxisScales[axis]);
}

void ReadTrackerScales(std::FILE* file, TrackerScales& scales) {
  const auto take = [](void* context, const char* name, const char* value) {
    SetTrackerScale(*static_cast<TrackerScales*>(context), name, value);
  };
  ReadSectionValues(file, "[HeadTracker]", take, &scales);
}

}  // namespace varolen
