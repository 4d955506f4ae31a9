// libFuzzer target: the head tracker's scales, read from any bytes as the
// binding file's [HeadTracker] section.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>

#include "tracker/head_tracker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (file == nullptr) return 0;
  varolen::TrackerScales scales;
  varolen::ReadTrackerScales(file, scales);
  std::fclose(file);
  // Every scale a number within -10 to 10.
  for (const double scale : {scales.yaw, scales.pitch, scales.roll, scales.x, scales.y, scales.z}) {
    if (!std::isfinite(scale) || std::fabs(scale) > 10.0) __builtin_trap();
  }
  return 0;
}
