// Plays a scenario's head tracker: what opentrack, writing 250 poses a second
// into its shared block, would have written up to each frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host.h"
#include "opentrack_writer.h"
#include "scenario.h"

namespace simhost {

class TrackerDriver {
 public:
  TrackerDriver(const std::optional<TrackerScript>& script, Host& host);

  // The tracker's events and poses up to `time` (seconds into the run).
  void RunUntil(double time);

  // The trace's columns of the tracker's side: the pose in the block as it
  // stands, in the block's own signs (yaw left, pitch down, roll left,
  // degrees; x left, y up, z back, millimetres); "-" while it holds none.
  std::string PoseColumns() const;

 private:
  void Apply(TrackerEvent event);
  HeadInWords PoseAt(double time) const;

  std::optional<TrackerScript> script_;
  Host& host_;
  OpentrackWriter writer_;
  std::size_t nextEvent_ = 0;
  double nextTick_ = 0.0;
  bool holding_ = false;  // the block exists
  bool writing_ = false;  // poses go into it
};

}  // namespace simhost
