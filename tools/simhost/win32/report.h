// What the Win32 host reports beside the trace: what frame messages cost, the
// module's registry values, and the reload check.
#pragma once

#include <string>
#include <vector>

namespace simhost::win32 {

class Win32Host;

// The time from posting a frame message to the host's window procedure
// having it (the module's hook in between), and the module's memory queries.
struct FrameCost {
  std::vector<double> microseconds;
  std::vector<long> queries;

  std::vector<std::string> Lines(bool moduleLoaded) const;
};

// The module's registry values after it was unloaded, "registry: Name=Text", by name.
std::vector<std::string> RegistryLines();

// The module loaded and unloaded again and again in this one process, as a
// host that reloads its modules would: before each unload the fly-by setting is
// switched through the menu; after each load it must read back as it was left.
std::vector<std::string> Reload(Win32Host& host, int times);

}  // namespace simhost::win32
