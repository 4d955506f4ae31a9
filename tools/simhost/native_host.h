// The native host: the module's core over the simulated platform, in this process.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host.h"
#include "scenario.h"

namespace simhost {

// The host builder's memory in the simulated address space.
class SimulatedHostMemory : public HostMemoryWriter, public HostMemoryReader {
 public:
  void Map(HostAddress base, std::uint32_t size) override;
  void Write(HostAddress address, const void* bytes, std::uint32_t size) override;
  void Read(HostAddress address, void* bytes, std::uint32_t size) override;
};

// Clears every piece of module-lifetime state and the simulated platform, as
// a fresh process would have them.
void ResetModuleAndPlatform();

// Lays out the simulator folder (under `folder`), the registry, windows and
// memory, then starts the module. Shut down with Stop().
std::unique_ptr<Host> StartNativeHost(const Scenario& scenario, const std::string& folder);
// Stops the module, as unloading it would.
void StopNativeHost(Host& host);
// The module's registry values, "registry: Name=Text", by name.
std::vector<std::string> RegistryLines();

}  // namespace simhost
