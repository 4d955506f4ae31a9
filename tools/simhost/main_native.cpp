// simhost: plays a scenario with the module's core in this process, on a
// virtual clock, and writes the trace and summary of the run.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>

#include "native_host.h"
#include "runner.h"
#include "scenario.h"

namespace {

void ShowProgressBar(double fraction) {
  constexpr int kWidth = 40;
  const int filled = static_cast<int>(fraction * kWidth);
  std::fprintf(stderr, "\r[%.*s%*s] %3d%%", filled, "########################################",
               kWidth - filled, "", static_cast<int>(fraction * 100.0));
  if (fraction >= 1.0) std::fputc('\n', stderr);
}

// A whole flight whose trace is thrown away; the next start-up resets the module.
void PlayEarlierFlight(const simhost::Scenario& scenario, const std::string& folder) {
  std::FILE* trace = std::tmpfile();
  auto host = simhost::StartNativeHost(scenario, folder);
  simhost::RunScenario(scenario, *host, trace);
  simhost::StopNativeHost(*host);
  std::fclose(trace);
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Substitute simulator for Varolen 2004 (native).\n"
      "Plays a scenario file with the module's core on a virtual clock and writes\n"
      "OUT/trace.csv (one row per frame), OUT/motion.csv (the motion the module\n"
      "added to the view, a row per frame) and OUT/summary.txt. See docs/simhost.md."};
  std::string scenarioPath;
  std::string out;
  std::string before;
  bool quiet = false;
  int frameRate = 0;
  app.add_option("scenario", scenarioPath, "Scenario file (TOML)")->required()->check(CLI::ExistingFile);
  app.add_option("-o,--out", out, "Output folder (default: out/<scenario name>)");
  app.add_option("--after", before,
                 "First play this other scenario in the same process (its trace is not kept), then reset "
                 "the module and play SCENARIO: the run must equal one in a fresh process")
      ->check(CLI::ExistingFile);
  app.add_option("--frame-rate", frameRate, "Frames a second instead of the scenario's")
      ->check(CLI::Range(1, 1000));
  app.add_flag("-q,--quiet", quiet, "No progress bar");
  CLI11_PARSE(app, argc, argv);

  std::string error;
  auto scenario = simhost::LoadScenario(scenarioPath, error);
  const auto earlier = before.empty() ? std::nullopt : simhost::LoadScenario(before, error);
  if (!scenario || (!before.empty() && !earlier)) {
    std::fprintf(stderr, "simhost: %s\n", error.c_str());
    return 2;
  }
  if (frameRate != 0) scenario->frameRate = frameRate;
  if (out.empty()) out = "out/" + std::filesystem::path(scenarioPath).stem().string();
  std::filesystem::create_directories(out);
  const std::string folder = std::filesystem::absolute(out).string() + "/simulator";
  if (earlier) PlayEarlierFlight(*earlier, folder);

  std::FILE* trace = std::fopen((out + "/trace.csv").c_str(), "w");
  std::FILE* summary = std::fopen((out + "/summary.txt").c_str(), "w");
  std::FILE* motion = std::fopen((out + "/motion.csv").c_str(), "w");
  if (trace == nullptr || summary == nullptr || motion == nullptr) {
    std::fprintf(stderr, "simhost: cannot write to %s\n", out.c_str());
    return 2;
  }
  auto host = simhost::StartNativeHost(*scenario, folder);
  const bool showProgress =
      !quiet && isatty(STDERR_FILENO) && scenario->duration * scenario->frameRate > 20000;
  const auto run = simhost::RunScenario(
      *scenario, *host, trace, showProgress ? ShowProgressBar : std::function<void(double)>{}, motion);
  simhost::StopNativeHost(*host);
  std::vector<std::string> lines = host->DialogLines();
  lines.push_back("host: native");
  for (const std::string& line : simhost::RegistryLines()) lines.push_back(line);
  simhost::WriteSummary(*scenario, run, host->MessageBoxes(), lines, summary);
  std::fclose(trace);
  std::fclose(summary);
  std::fclose(motion);
  if (!quiet)
    std::printf("%s: %ld frames, %ld inputs (%ld consumed) -> %s\n", scenarioPath.c_str(), run.frames,
                run.inputs, run.consumed, out.c_str());
  for (const std::string& problem : run.problems) std::fprintf(stderr, "simhost: %s\n", problem.c_str());
  return run.problems.empty() ? 0 : 1;
}
