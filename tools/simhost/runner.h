// Plays a scenario on a host frame by frame and writes the trace.
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host.h"
#include "scenario.h"

namespace simhost {

struct RunSummary {
  long frames = 0;
  long inputs = 0;
  long consumed = 0;
  std::vector<std::string> problems;  // inputs the host could not deliver, for example
  std::vector<MenuEntry> finalMenu;
  int hostPopupItems = 0;
};

// `progress` is called now and then with the fraction done. With `motion`,
// also a row a frame of the motion the module added to the view.
RunSummary RunScenario(const Scenario& scenario, Host& host, std::FILE* trace,
                       const std::function<void(double)>& progress = {}, std::FILE* motion = nullptr);

void WriteSummary(const Scenario& scenario, const RunSummary& run,
                  const std::vector<std::string>& messageBoxes, const std::vector<std::string>& extraLines,
                  std::FILE* out);

}  // namespace simhost
