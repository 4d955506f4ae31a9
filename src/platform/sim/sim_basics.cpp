// Host variables, clock, random numbers and the module's file on the simulated platform.
#include <array>
#include <cstdio>

#include "platform/clock.h"
#include "platform/host_variables.h"
#include "platform/process.h"
#include "platform/random.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace {

// Host variable ids are small numbers; a fixed table keeps the look-up free of allocation.
constexpr std::uint32_t kVariableSlots = 1024;

struct BasicsState {
  std::array<double, kVariableSlots> variables{};
  bool variablesLinked = true;
  std::uint64_t variableLookups = 0;
  std::uint32_t clock = 0;
  std::uint32_t randomState = 1;
  std::string moduleFilePath = "C:\\Flight Simulator 9\\Modules\\Varolen2004.dll";
  std::uint32_t threadId = 1;
};

BasicsState& State() {
  static BasicsState state;
  return state;
}

}  // namespace

void ResetBasics() { State() = BasicsState{}; }

void SetHostVariable(std::uint32_t id, double value) {
  if (id < kVariableSlots) State().variables[id] = value;
}
void SetHostVariablesLinked(bool linked) { State().variablesLinked = linked; }
std::uint64_t HostVariableLookups() { return State().variableLookups; }
void SetClock(std::uint32_t milliseconds) { State().clock = milliseconds; }
void AdvanceClock(std::uint32_t milliseconds) { State().clock += milliseconds; }
void SeedRandom(unsigned seed) { State().randomState = seed; }
void SetModuleFilePath(const std::string& path) { State().moduleFilePath = path; }
void SetThreadId(std::uint32_t id) { State().threadId = id; }

}  // namespace sim

namespace platform {

bool LookupHostVariable(ModuleVariable& variable) {
  auto& state = sim::State();
  if (!state.variablesLinked) return false;
  ++state.variableLookups;
  variable.SetValue(variable.id < sim::kVariableSlots ? state.variables[variable.id] : 0.0);
  return true;
}

std::uint32_t TimeGetTime() { return sim::State().clock; }

// A simulated wait passes no time: the virtual clock moves only with the frames.
void SleepMilliseconds(std::uint32_t /*milliseconds*/) {}

// The Microsoft C runtime's generator.
int Rand() {
  auto& state = sim::State().randomState;
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFFu);
}

std::uint32_t ModuleFilePath(ModuleHandle /*module*/, char* buffer, std::uint32_t capacity) {
  sim::detail::LogEvent("ModuleFilePath");
  const std::string& path = sim::State().moduleFilePath;
  if (capacity == 0) return 0;
  std::snprintf(buffer, capacity, "%s", path.c_str());
  return path.size() < capacity ? static_cast<std::uint32_t>(path.size()) : capacity;
}

std::uint32_t CurrentThreadId() {
  sim::detail::LogEvent("CurrentThreadId");
  return sim::State().threadId;
}

}  // namespace platform
}  // namespace varolen
