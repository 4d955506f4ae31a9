#include "tracker_driver.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace simhost {

namespace {

constexpr double kTick = 1.0 / 250.0;  // seconds between poses
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;

// The block's fields: the pose's id, then yaw, pitch, roll, x, y, z.
constexpr std::uint32_t kDataId = 0;
constexpr std::uint32_t kYaw = 12, kPitch = 16, kRoll = 20, kX = 24, kY = 28, kZ = 32;

std::uint32_t Word(double value) {
  const auto single = static_cast<float>(value);
  std::uint32_t word;
  std::memcpy(&word, &single, sizeof word);
  return word;
}

}  // namespace

TrackerDriver::TrackerDriver(const std::optional<TrackerScript>& script) : script_(script) {}

HeadPose TrackerDriver::PoseAt(double time) const {
  const auto& poses = script_->poses;
  if (poses.empty()) return {};
  if (time <= poses.front().time) return poses.front();
  for (std::size_t index = 1; index < poses.size(); ++index) {
    const HeadPose& a = poses[index - 1];
    const HeadPose& b = poses[index];
    if (time > b.time) continue;
    const double f = b.time > a.time ? (time - a.time) / (b.time - a.time) : 1.0;
    const auto mix = [f](double x, double y) { return x + (y - x) * f; };
    return {time,          mix(a.yaw, b.yaw), mix(a.pitch, b.pitch), mix(a.roll, b.roll),
            mix(a.x, b.x), mix(a.y, b.y),     mix(a.z, b.z)};
  }
  return poses.back();
}

// As opentrack writes a pose: each field on its own, then the id goes up.
void TrackerDriver::WritePose(const HeadPose& pose, Host& host) {
  host.StoreTrackerWord(kX, Word(pose.x));
  host.StoreTrackerWord(kY, Word(pose.y));
  host.StoreTrackerWord(kZ, Word(pose.z));
  host.StoreTrackerWord(kYaw, Word(pose.yaw * kRadiansPerDegree));
  host.StoreTrackerWord(kPitch, Word(pose.pitch * kRadiansPerDegree));
  host.StoreTrackerWord(kRoll, Word(pose.roll * kRadiansPerDegree));
  host.StoreTrackerWord(kDataId, ++dataId_);
  written_ = pose;
}

void TrackerDriver::Apply(TrackerEvent event, Host& host) {
  switch (event) {
    case TrackerEvent::Live:
      if (!holding_) host.HoldTrackerBlock(true);
      holding_ = writing_ = true;
      break;
    case TrackerEvent::Frozen:
      writing_ = false;
      break;
    case TrackerEvent::Stopped:
      if (holding_) WritePose({}, host);
      writing_ = false;
      break;
    case TrackerEvent::Reset:
      dataId_ = 0;
      if (holding_) host.StoreTrackerWord(kDataId, 0);
      break;
    case TrackerEvent::Absent:
      if (holding_) host.HoldTrackerBlock(false);
      holding_ = writing_ = false;
      break;
  }
}

void TrackerDriver::RunUntil(double time, Host& host) {
  if (!script_) return;
  // Poses and no events: a tracker running from the start.
  if (script_->events.empty() && !holding_ && nextTick_ == 0.0) Apply(TrackerEvent::Live, host);
  for (; nextTick_ <= time + 1e-9; nextTick_ += kTick) {
    while (nextEvent_ < script_->events.size() && script_->events[nextEvent_].time <= nextTick_ + 1e-9) {
      Apply(script_->events[nextEvent_++].event, host);
    }
    if (writing_) WritePose(PoseAt(nextTick_), host);
  }
}

std::string TrackerDriver::PoseColumns() const {
  if (!written_) return "-,-,-,-,-,-";
  char text[160];
  std::snprintf(text, sizeof text, "%.4f,%.4f,%.4f,%.3f,%.3f,%.3f", written_->yaw, written_->pitch,
                written_->roll, written_->x, written_->y, written_->z);
  return text;
}

}  // namespace simhost
