#include "tracker_driver.h"

#include <cmath>
#include <cstdio>

namespace simhost {

namespace {

constexpr double kTick = 1.0 / 250.0;  // seconds between poses
constexpr double kDegreesPerRadian = 180.0 / 3.14159265358979323846;

}  // namespace

TrackerDriver::TrackerDriver(const std::optional<TrackerScript>& script, Host& host)
    : script_(script),
      host_(host),
      writer_([&host](std::uint32_t offset, std::uint32_t word) { host.StoreTrackerWord(offset, word); }) {}

HeadInWords TrackerDriver::PoseAt(double time) const {
  const auto& poses = script_->poses;
  if (poses.empty()) return {};
  if (time <= poses.front().time) return poses.front().head;
  for (std::size_t index = 1; index < poses.size(); ++index) {
    const HeadPose& a = poses[index - 1];
    const HeadPose& b = poses[index];
    if (time > b.time) continue;
    const double f = b.time > a.time ? (time - a.time) / (b.time - a.time) : 1.0;
    const auto mix = [f](double x, double y) { return x + (y - x) * f; };
    return {mix(a.head.turnedLeft, b.head.turnedLeft), mix(a.head.lookingUp, b.head.lookingUp),
            mix(a.head.tiltedLeft, b.head.tiltedLeft), mix(a.head.movedLeft, b.head.movedLeft),
            mix(a.head.movedUp, b.head.movedUp),       mix(a.head.movedBack, b.head.movedBack)};
  }
  return poses.back().head;
}

void TrackerDriver::Apply(TrackerEvent event) {
  switch (event) {
    case TrackerEvent::Started:
      // opentrack makes its mapping as tracking starts (or finds it still held).
      if (!holding_) host_.HoldTrackerBlock(true);
      holding_ = writing_ = true;
      writer_.Start();
      break;
    case TrackerEvent::Crashed:
      writing_ = false;
      break;
    case TrackerEvent::Stopped:
      if (writing_) writer_.Stop();
      writing_ = false;
      break;
    case TrackerEvent::Closed:
      if (holding_) host_.HoldTrackerBlock(false);
      holding_ = writing_ = false;
      break;
  }
}

void TrackerDriver::RunUntil(double time) {
  if (!script_) return;
  // Poses and no events: a tracker running from the start.
  if (script_->events.empty() && !holding_ && nextTick_ == 0.0) Apply(TrackerEvent::Started);
  for (; nextTick_ <= time + 1e-9; nextTick_ += kTick) {
    while (nextEvent_ < script_->events.size() && script_->events[nextEvent_].time <= nextTick_ + 1e-9) {
      Apply(script_->events[nextEvent_++].event);
    }
    if (writing_) writer_.Pose(PoseAt(nextTick_));
  }
}

std::string TrackerDriver::PoseColumns() const {
  if (!holding_ || !writer_.Posed()) return "-,-,-,-,-,-";
  const BlockPose& p = writer_.Written();
  char text[160];
  std::snprintf(text, sizeof text, "%.4f,%.4f,%.4f,%.3f,%.3f,%.3f", p.yaw * kDegreesPerRadian,
                p.pitch * kDegreesPerRadian, p.roll * kDegreesPerRadian, static_cast<double>(p.x),
                static_cast<double>(p.y), static_cast<double>(p.z));
  return text;
}

}  // namespace simhost
