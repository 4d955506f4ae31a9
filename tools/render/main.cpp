// Renders what the host showed during a substitute-simulator run: a WebM video
// of the flight and stills at given moments, from the run's trace.csv and its
// scenario. See docs/simhost.md.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "encoder.h"
#include "renderer.h"
#include "scenario.h"
#include "scene.h"
#include "trace.h"

namespace {

constexpr int kWidth = 640, kHeight = 360;
constexpr double kFramesPerSecond = 15.0;

// The trace's frame showing the moment `time` (the last one at or before it).
const render::TraceFrame& FrameAt(const std::vector<render::TraceFrame>& frames, double time) {
  const auto after =
      std::upper_bound(frames.begin(), frames.end(), time + 1e-6,
                       [](double t, const render::TraceFrame& frame) { return t < frame.time; });
  return after == frames.begin() ? frames.front() : *(after - 1);
}

struct Still {
  double time;
  std::string path;
};

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Renders what the host showed during a run of the substitute simulator."};
  std::string scenarioPath, tracePath, videoPath;
  double speed = 1.0;
  std::vector<std::string> stillArguments;
  app.add_option("scenario", scenarioPath, "Scenario file (TOML)")->required()->check(CLI::ExistingFile);
  app.add_option("trace", tracePath, "The run's trace.csv")->required()->check(CLI::ExistingFile);
  app.add_option("--video", videoPath,
                 "Write the flight as a WebM (VP9) video, 640x360 at 15 frames a second");
  app.add_option("--speed", speed, "Play the flight this many times faster in the video")
      ->check(CLI::Range(0.01, 1000.0));
  app.add_option("--still", stillArguments,
                 "TIME:PATH.png: a picture of the moment TIME seconds into the run");
  CLI11_PARSE(app, argc, argv);

  std::vector<Still> stills;
  for (const std::string& argument : stillArguments) {
    const std::size_t colon = argument.find(':');
    char* end = nullptr;
    const double time = colon == std::string::npos ? NAN : std::strtod(argument.c_str(), &end);
    if (colon == std::string::npos || end != argument.c_str() + colon || !std::isfinite(time) ||
        colon + 1 == argument.size()) {
      std::fprintf(stderr, "render: --still wants TIME:PATH, not \"%s\"\n", argument.c_str());
      return 2;
    }
    stills.push_back({time, argument.substr(colon + 1)});
  }

  std::string error;
  const std::optional<simhost::Scenario> scenario = simhost::LoadScenario(scenarioPath, error);
  if (!scenario) {
    std::fprintf(stderr, "render: %s\n", error.c_str());
    return 1;
  }
  std::vector<render::TraceFrame> frames;
  if (!render::ReadTrace(tracePath, frames, error)) {
    std::fprintf(stderr, "render: %s\n", error.c_str());
    return 1;
  }
  const render::Scene scene = render::SceneOf(*scenario);
  render::Renderer renderer(kWidth, kHeight);
  if (!renderer.Ready()) {
    std::fprintf(stderr, "render: no OpenGL context (OSMesa)\n");
    return 1;
  }

  long lifted = 0;
  double deepest = 0;
  const auto draw = [&](double time) -> const std::vector<std::uint8_t>& {
    const render::View view = render::ViewOf(scene, FrameAt(frames, time));
    if (view.belowGround > 0) ++lifted;
    deepest = std::max(deepest, view.belowGround);
    renderer.Draw(scene, view);
    return renderer.Picture();
  };

  for (const Still& still : stills) {
    if (!render::WritePicture(still.path, draw(still.time), kWidth, kHeight, error)) {
      std::fprintf(stderr, "render: %s\n", error.c_str());
      return 1;
    }
  }
  if (!videoPath.empty()) {
    render::VideoEncoder video(videoPath, kWidth, kHeight, kFramesPerSecond);
    const double last = frames.back().time;
    const long count = std::lround(std::floor(last / speed * kFramesPerSecond)) + 1;
    for (long index = 0; index < count && video.Good(); ++index)
      video.Add(draw(static_cast<double>(index) * speed / kFramesPerSecond));
    if (!video.Finish(error)) {
      std::fprintf(stderr, "render: %s\n", error.c_str());
      return 1;
    }
    std::printf("video: %s, %ld frames\n", videoPath.c_str(), count);
  }
  if (lifted > 0)
    std::printf("observer under the ground in %ld pictures (up to %.2f m), shown lifted above it\n", lifted,
                deepest);
  return 0;
}
