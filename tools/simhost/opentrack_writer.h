// A head tracker as opentrack writes the FreeTrack 2.0 block (its output
// "freetrack 2.0 Enhanced"), from the facts of opentrack's own writer. The
// tests, the scenario player and the Win32 host's tracker thread all write
// the block through this, so that what the module reads is checked against
// the tracker, never against the module's own idea of the block.
//
// What opentrack writes: the pose as six 32-bit floats at byte 12, each stored
// on its own; yaw, pitch, roll in radians and x, y, z in millimetres. Its own
// pose has yaw positive to the right and pitch positive up, and it negates
// both as it writes them, so in the block yaw is positive with the head
// turned left and pitch positive with the head pitched down; roll is positive
// tilted left, x positive moved to the pilot's left, y up, z back (away from
// the screen). The pose's id (DataID, at byte 0) is 1 when tracking starts,
// 0 with the first pose, then one more after every pose. At Stop it writes
// one all-zero pose with a new id, then the id stands still; after a crash
// the last pose stays and the id stands still.
#pragma once

#include <cstdint>
#include <functional>

namespace simhost {

// The pilot's head in words: degrees turned left, looking up, tilted left;
// centimetres moved left, up and back. Negative values turn or move the other way.
struct HeadInWords {
  double turnedLeft = 0.0, lookingUp = 0.0, tiltedLeft = 0.0;
  double movedLeft = 0.0, movedUp = 0.0, movedBack = 0.0;
};

// Each axis's output is clamped by its curve's maximum: by default 180
// degrees for yaw and roll, 90 for pitch, 75 cm for the translations; users
// may set up to 180 degrees and 600 cm.
struct CurveLimits {
  double yaw = 180.0, pitch = 90.0, roll = 180.0;  // degrees
  double translation = 75.0;                       // centimetres
};

// The block's fields, byte offsets.
inline constexpr std::uint32_t kBlockDataId = 0;
inline constexpr std::uint32_t kBlockCameraWidth = 4;
inline constexpr std::uint32_t kBlockCameraHeight = 8;
inline constexpr std::uint32_t kBlockYaw = 12, kBlockPitch = 16, kBlockRoll = 20;
inline constexpr std::uint32_t kBlockX = 24, kBlockY = 28, kBlockZ = 32;

// The six pose fields as opentrack stores them (yaw, pitch, roll, x, y, z).
struct BlockPose {
  float yaw, pitch, roll, x, y, z;
};
BlockPose BlockPoseOf(const HeadInWords& head, const CurveLimits& limits = {});

class OpentrackWriter {
 public:
  // One interlocked store of a 32-bit field at a byte offset of the block.
  using Store = std::function<void(std::uint32_t offset, std::uint32_t word)>;

  explicit OpentrackWriter(Store store, const CurveLimits& limits = {});

  // Tracking starts (the block freshly made, or made again): the id is 1.
  void Start();
  // One pose (250 of them a second while tracking runs, also while the
  // camera has lost the face: the pose is then held).
  void Pose(const HeadInWords& head);
  // Tracking stops: one all-zero pose with a new id.
  void Stop();

  bool Started() const { return started_; }
  // A pose was written since tracking last started.
  bool Posed() const { return posed_; }
  std::uint32_t DataId() const { return dataId_; }
  // The pose fields as last stored.
  const BlockPose& Written() const { return written_; }

 private:
  void StorePose(const BlockPose& pose);

  Store store_;
  CurveLimits limits_;
  bool started_ = false;
  bool posed_ = false;  // a pose was written since the start
  std::uint32_t dataId_ = 0;
  BlockPose written_ = {};
};

}  // namespace simhost
