// Plays a scenario's head tracker: what a tracker writing 250 poses a second
// into its shared block would have written, up to each frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "host.h"
#include "scenario.h"

namespace simhost {

class TrackerDriver {
 public:
  explicit TrackerDriver(const std::optional<TrackerScript>& script);

  // The tracker's events and stores up to `time` (seconds into the run).
  void RunUntil(double time, Host& host);

  // The trace's columns of the tracker's side: the pose it wrote last,
  // degrees and millimetres ("-" while it wrote none).
  std::string PoseColumns() const;

 private:
  void Apply(TrackerEvent event, Host& host);
  void WritePose(const HeadPose& pose, Host& host);
  HeadPose PoseAt(double time) const;

  std::optional<TrackerScript> script_;
  std::size_t nextEvent_ = 0;
  double nextTick_ = 0.0;
  bool holding_ = false;
  bool writing_ = false;
  std::uint32_t dataId_ = 0;
  std::optional<HeadPose> written_;
};

}  // namespace simhost
