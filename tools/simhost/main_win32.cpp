// simhost.exe: the substitute simulator as a real Win32 program. It lays the
// host's memory out at the host's fixed addresses, loads the module from
// Modules\Varolen2004.dll with LoadLibrary, links its panel-service table,
// points the module's clock, key-state and pointer imports at the scenario,
// and plays the scenario through real windows, menus, hooks and messages.
// Its parts lie in win32/: the host's memory, its windows and message pump,
// the scenario's input through the module's imports, the user at the host's
// dialogs, and the report beside the trace.
#include <windows.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "runner.h"
#include "scenario.h"
#include "win32/dialogs.h"
#include "win32/report.h"
#include "win32/tracker_block.h"
#include "win32/win32_host.h"

namespace {

int Run(int argc, char** argv) {
  CLI::App app{
      "Substitute simulator for Varolen 2004 (Win32, run under Wine).\n"
      "Loads FOLDER\\Modules\\Varolen2004.dll, plays a scenario through real windows,\n"
      "hooks and messages, and writes OUT\\trace.csv and OUT\\summary.txt."};
  std::string scenarioPath, out = "out", folder = "simulator", module = "Varolen2004.dll";
  bool keepRegistry = false, installed = false, withoutModule = false, exitLoaded = false,
       trackerThread = false;
  int reloads = 0;
  std::string screenshots, sounds;
  app.add_option("scenario", scenarioPath, "Scenario file (TOML)")->required();
  app.add_option("-o,--out", out, "Output folder");
  app.add_option("-f,--folder", folder, "The simulator folder to lay out");
  app.add_option("-m,--module", module, "The module file to install into FOLDER\\Modules");
  app.add_flag("--installed", installed,
               "Run the module as installed in FOLDER (by the release archive): lay nothing out");
  app.add_flag("--keep-registry", keepRegistry, "Start from the registry as the last run left it");
  app.add_option("--reloads", reloads, "After the scenario, unload and load the module this many times");
  app.add_flag("--without-module", withoutModule,
               "Do not load the module: what the frame messages cost the host alone (summary: frame_cost)");
  app.add_flag("--exit-loaded", exitLoaded,
               "End the process with the module still loaded, as the simulator does when it quits "
               "(the summary then has no registry lines)");
  app.add_flag(
      "--tracker-thread", trackerThread,
      "A head tracker of its own thread writes 250 poses a second in real time while the scenario runs");
  app.add_option("--dialog-screenshots", screenshots, "Save a picture of each of the module's dialogs here");
  app.add_option("--sounds", sounds, "The module's wave files, to install into FOLDER\\Varolen\\Sound");
  CLI11_PARSE(app, argc, argv);

  std::string error;
  const auto scenario = simhost::LoadScenario(scenarioPath, error);
  if (!scenario) {
    std::fprintf(stderr, "simhost: %s\n", error.c_str());
    return 2;
  }
  try {
    std::filesystem::create_directories(out);
    if (!screenshots.empty()) {
      std::filesystem::create_directories(screenshots);
      simhost::win32::User.screenshotFolder = screenshots;
    }
    simhost::win32::Win32Host host(*scenario, std::filesystem::absolute(folder).string(), module, installed,
                                   keepRegistry, installed ? "" : sounds);
    if (!withoutModule) host.Load();
    std::FILE* trace = std::fopen((out + "\\trace.csv").c_str(), "w");
    std::FILE* summary = std::fopen((out + "\\summary.txt").c_str(), "w");
    if (trace == nullptr || summary == nullptr) throw std::runtime_error("cannot write to " + out);
    const DWORD userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    std::optional<simhost::win32::TrackerWriterThread> tracker;
    if (trackerThread) tracker.emplace();
    const auto run = simhost::RunScenario(*scenario, host, trace);
    tracker.reset();
    auto lines = host.DialogLines();
    lines.push_back("user_objects: " + std::to_string(userObjects) + " at the start, " +
                    std::to_string(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) + " at the end");
    if (reloads > 0 && !withoutModule) {
      for (const std::string& line : simhost::win32::Reload(host, reloads)) lines.push_back(line);
    }
    // Ending the process with the module loaded: Windows detaches it as the process ends.
    if (!exitLoaded) host.Unload();
    for (const std::string& line : host.ReportLines()) lines.push_back(line);
    if (!exitLoaded) {
      for (const std::string& line : simhost::win32::RegistryLines()) lines.push_back(line);
    }
    simhost::WriteSummary(*scenario, run, host.MessageBoxes(), lines, summary);
    std::fclose(trace);
    std::fclose(summary);
    for (const std::string& problem : run.problems) std::fprintf(stderr, "simhost: %s\n", problem.c_str());
    return run.problems.empty() ? 0 : 1;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "simhost: %s\n", failure.what());
    return 2;
  }
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (...) {
    std::fputs("simhost: an unexpected failure\n", stderr);
    return 2;
  }
}
