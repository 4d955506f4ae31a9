// libFuzzer target: the binding file's sections besides the key bindings, [HeadTracker] and
// [Motion], read from any bytes as start-up reads them.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "cockpit/motion.h"
#include "tracker/head_tracker.h"

namespace {

bool Within(double value, double least, double most) {
  return std::isfinite(value) && value >= least && value <= most;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (file == nullptr) return 0;
  varolen::TrackerScales scales;
  varolen::ReadTrackerScales(file, scales);
  std::rewind(file);
  varolen::MotionOptionsRecord options = varolen::DefaultMotionOptions();
  varolen::ReadMotionOptions(file, options);
  std::fclose(file);
  // Every scale a number within -10 to 10, every option within its range.
  for (const double scale : {scales.yaw, scales.pitch, scales.roll, scales.x, scales.y, scales.z}) {
    if (!Within(scale, -10.0, 10.0)) __builtin_trap();
  }
  const bool inRange = Within(options.transitionSeconds, 0.2, 3.0) && Within(options.yieldToLook, 0.0, 1.0) &&
                       Within(options.levelHead, 0.0, 1.0) && Within(options.levelHeadLimit, 0.0, 45.0) &&
                       Within(options.lookIntoTurn, 0.0, 1.0) && Within(options.lookIntoTurnLimit, 0.0, 45.0);
  if (!inRange) __builtin_trap();
  return 0;
}
