// State of the simulated platform, shared by its parts.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/sim/sim_platform.h"

namespace varolen::sim::detail {

void LogEvent(std::string line);

struct Region {
  std::uint32_t size;
  unsigned access;
  std::vector<std::uint8_t> bytes;
};

// Regions by base address.
std::map<HostAddress, Region>& Regions();
void ClearRegions();

}  // namespace varolen::sim::detail
