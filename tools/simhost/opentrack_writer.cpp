#include "opentrack_writer.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace simhost {

namespace {

// opentrack converts with a single-precision factor.
constexpr auto kRadiansPerDegree = static_cast<float>(3.14159265358979323846 / 180.0);

std::uint32_t Word(float value) {
  std::uint32_t word;
  std::memcpy(&word, &value, sizeof word);
  return word;
}

}  // namespace

BlockPose BlockPoseOf(const HeadInWords& head, const CurveLimits& limits) {
  // opentrack's own pose: yaw positive right, pitch up, roll left; centimetres
  // left, up, back; each clamped by its curve.
  const double yaw = std::clamp(-head.turnedLeft, -limits.yaw, limits.yaw);
  const double pitch = std::clamp(head.lookingUp, -limits.pitch, limits.pitch);
  const double roll = std::clamp(head.tiltedLeft, -limits.roll, limits.roll);
  const auto move = [&limits](double centimetres) {
    return std::clamp(centimetres, -limits.translation, limits.translation);
  };
  // As it stores them: yaw and pitch negated, radians, millimetres.
  return {static_cast<float>(-yaw * kRadiansPerDegree), static_cast<float>(-kRadiansPerDegree * pitch),
          static_cast<float>(roll * kRadiansPerDegree), static_cast<float>(move(head.movedLeft) * 10),
          static_cast<float>(move(head.movedUp) * 10),  static_cast<float>(move(head.movedBack) * 10)};
}

OpentrackWriter::OpentrackWriter(Store store, const CurveLimits& limits)
    : store_(std::move(store)), limits_(limits) {}

void OpentrackWriter::Start() {
  started_ = true;
  posed_ = false;
  dataId_ = 1;
  store_(kBlockDataId, dataId_);
  store_(kBlockCameraWidth, 100);
  store_(kBlockCameraHeight, 250);
}

void OpentrackWriter::StorePose(const BlockPose& pose) {
  store_(kBlockX, Word(pose.x));
  store_(kBlockY, Word(pose.y));
  store_(kBlockZ, Word(pose.z));
  store_(kBlockYaw, Word(pose.yaw));
  store_(kBlockPitch, Word(pose.pitch));
  store_(kBlockRoll, Word(pose.roll));
  // The first pose after the start sets the id to 0; every later one adds 1.
  dataId_ = posed_ ? dataId_ + 1 : 0;
  posed_ = true;
  store_(kBlockDataId, dataId_);
  written_ = pose;
}

void OpentrackWriter::Pose(const HeadInWords& head) {
  if (started_) StorePose(BlockPoseOf(head, limits_));
}

void OpentrackWriter::Stop() {
  if (!started_) return;
  // The zero pose goes through the same negations: yaw and pitch are -0.0.
  StorePose(BlockPoseOf({}, limits_));
  started_ = false;
}

}  // namespace simhost
