// Head tracking: the pilot's own head, read from a FreeTrack 2.0 tracker's
// shared block every frame, becomes an offset of the cockpit view (heading,
// pitch, bank and eye) and of the walking pilot's head. The offset is added
// where the views are composed; it never enters the view angles, targets,
// presets or view files.
//
// The block's signs are opentrack's, which writes it for nearly every pilot:
// yaw positive with the head turned left, pitch positive with the head pitched
// down (opentrack negates its own up-positive pitch as it writes), roll
// positive tilted left; x positive moved to the pilot's left, y up, z back.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace varolen {

// Stale: no new pose for half a second (a crash, or a frozen tracker).
// Stopped: the tracker wrote its all-zero pose at Stop and fell silent (an
// all-zero pose with poses after it is opentrack's Zero or centring).
enum class TrackerState : std::int32_t { Absent = 0, Live = 1, Stale = 2, Stopped = 3 };

// A pose as the tracker writes it: degrees (yaw positive left, pitch positive
// down, roll positive left), each within 180, and millimetres (x left, y up,
// z back).
struct TrackerPose {
  double yaw, pitch, roll;
  double x, y, z;
};

// What the views get: degrees of view heading (right), pitch (down) and bank,
// and the eye's move in eye units in the head's frame (x right, y up, z
// forward), which the view's heading turns into the cockpit's.
struct TrackerOffset {
  double heading, pitch, bank;
  double x, y, z;
};

// The user's scale of each axis (a negative one inverts it), from the
// binding file's [HeadTracker] section.
struct TrackerScales {
  double yaw = 1.0, pitch = 1.0, roll = 1.0, x = 1.0, y = 1.0, z = 1.0;
};

struct HeadTrackerRecord {
  TrackerState state;
  std::uint32_t lastDataId;
  std::uint32_t poseReading;      // clock reading (milliseconds) of the last new pose
  std::uint32_t nextOpenReading;  // clock reading of the next try to find the block
  bool openTried;
  TrackerPose pose;  // the last good pose
  // A zero pose came after the head's: the Stop, unless poses follow it.
  bool zeroPending;
  std::uint32_t zeroReading;
  TrackerPose centre;  // the pose taken as straight ahead
  TrackerScales scales;
  TrackerOffset applied;  // what the views get this frame
  // The easing between the pose and zero: from where, since when, for how long.
  TrackerOffset easeFrom;
  std::uint32_t easeReading;
  std::uint32_t easeMilliseconds;
  bool easingToPose;
};

extern HeadTrackerRecord HeadTracker;

// One frame: finds the block (at most once a second while there is none),
// reads a new pose if there is one, and eases the offset. `enabled` is the
// "Head tracker" setting; off, the offset eases to zero as for a stale tracker.
// `reading` is the multimedia clock; its exact readings time the tracker.
void UpdateHeadTracker(bool enabled, std::uint32_t reading);

// The present pose becomes straight ahead while the tracker runs: forgotten
// when it stops, goes absent or has been stale for 5 s, since the tracker
// centres itself again as it starts.
void CentreHeadTracker();

// Lets the block go (at shut-down) and forgets the tracker.
void CloseHeadTracker();

// The record as a freshly loaded module has it, scales included.
void ResetHeadTrackerState();

// Reads the [HeadTracker] section: "Yaw", "Pitch", "Roll", "X", "Y", "Z", each
// "= number" (a decimal point or comma); other names, and values that are no
// finite number, are skipped; values are kept within -10 to 10.
void ReadTrackerScales(std::FILE* file, TrackerScales& scales);

// The axes by the names the binding file and the Motion dialog give them.
inline constexpr int kTrackerAxisCount = 6;
extern const char* const kTrackerAxisNames[kTrackerAxisCount];
// Sets the named axis's scale from its text as the file does.
void SetTrackerScale(TrackerScales& scales, const char* name, const char* value);
// The scale of axis `axis` (of kTrackerAxisNames) as the file writes it.
void TrackerScaleText(const TrackerScales& scales, int axis, char* text, std::size_t capacity);

}  // namespace varolen
