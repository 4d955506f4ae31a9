#include "platform/sim/sim_platform.h"

#include "platform/sim/sim_state.h"

namespace varolen::sim {

void ResetBasics();
void ResetRegistry();
void ResetDesktop();
void ResetFiles();
void ResetHeadTracker();
void ResetSound();

namespace {
std::vector<std::string>& EventLog() {
  static std::vector<std::string> events;
  return events;
}
}  // namespace

namespace detail {
void LogEvent(std::string line) { EventLog().push_back(std::move(line)); }
}  // namespace detail

const std::vector<std::string>& Events() { return EventLog(); }
void ClearEvents() { EventLog().clear(); }

void ResetPlatform() {
  detail::ClearRegions();
  ResetBasics();
  ResetRegistry();
  ResetDesktop();
  ResetFiles();
  ResetSound();
  ResetHeadTracker();
  ClearEvents();
}

}  // namespace varolen::sim
