// The module allocates nothing once it runs: not in a frame, not for a key, a
// mouse move or a menu command.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "host/host_layout.h"
#include "host/settings.h"
#include "native_host.h"
#include "runner.h"
#include "support/allocation_counter.h"
#include "support/forwarding_host.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

class FramePath : public testing::ModuleTest {};

TEST_F(FramePath, AllocatesNothingOverAThousandFrames) {
  StartWithHost();
  const sim::WindowHandle main = platform::FindTopLevelWindow("FS98MAIN");
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
  testing::Switch(&CameraSettingsRecord::FlyByTravelling, true);
  testing::Switch(&CameraSettingsRecord::ApproachActive, true);
  testing::Flight flight;
  flight.speed = 120;
  flight.forward = 200;
  flight.vertical = -10;
  flight.ground = 1750;  // 250 ft above the ground, sinking below 200 ft half-way
  std::uint32_t clock = 100000;
  for (int frame = 0; frame < 100; ++frame) {  // past the warm-up and the sound start
    testing::SetFlight(flight);
    sim::SetClock(clock += 33);
    sim::TakeThroughHooks(main, kFrameMessage);
  }
  const long before = testing::AllocationCount();
  for (int frame = 0; frame < 1000; ++frame) {
    flight.latitude += 0.00001;
    flight.altitude -= 0.5;  // through 200 ft: fly-bys, then the parked observer
    testing::SetFlight(flight);
    sim::SetClock(clock += 33);
    sim::TakeThroughHooks(main, kFrameMessage);
  }
  EXPECT_EQ(testing::AllocationCount() - before, 0);
}

// Counts what the module allocates while it handles the host's messages, from
// the first second of a flight on. The host's own work (laying out memory,
// reading back the trace) is not counted; a menu command is, but the host
// opening its menu to find the item is not. Nor is the one message in which
// the module sets its sounds up: there the sound device makes its buffers, in
// memory of its own as DirectSound does.
class CountingHost : public testing::ForwardingHost {
 public:
  using ForwardingHost::ForwardingHost;
  long allocations = 0;
  long messages = 0;
  int soundSetUps = 0;
  bool counting = false;

  bool Post(simhost::Target target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    return Count([&] { return ForwardingHost::Post(target, message, wParam, lParam); }, message);
  }
  bool Send(simhost::Target target, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override {
    return Count([&] { return ForwardingHost::Send(target, message, wParam, lParam); }, message);
  }
  void SetClock(std::uint32_t milliseconds) override {
    if (start_ == 0) start_ = milliseconds;
    counting = milliseconds >= start_ + 1000;
    ForwardingHost::SetClock(milliseconds);
  }

 private:
  template <typename Deliver>
  bool Count(Deliver deliver, std::uint32_t message) {
    const std::size_t buffers = sim::SoundBufferCount();
    const long before = testing::AllocationCount();
    const bool consumed = deliver();
    if (sim::SoundBufferCount() != buffers) {
      ++soundSetUps;
    } else if (counting) {
      allocations += testing::AllocationCount() - before;
      if (message == simhost::kFrame) ++messages;
    }
    return consumed;
  }

  std::uint32_t start_ = 0;
};

TEST(Flights, AllocateNothingAfterTheFirstSecond) {
  long frames = 0;
  for (const auto& file : std::filesystem::directory_iterator(VAROLEN_SOURCE_DIR "/data/scenarios")) {
    std::string error;
    const auto scenario = simhost::LoadScenario(file.path().string(), error);
    ASSERT_TRUE(scenario.has_value()) << error;
    // Dialogs are the host's windows: the scripted user's answers are host work.
    if (!scenario->dialogs.empty()) continue;
    auto native = simhost::StartNativeHost(*scenario, (testing::TestFolder() / file.path().stem()).string());
    CountingHost host(*native);
    std::FILE* trace = std::tmpfile();
    simhost::RunScenario(*scenario, host, trace);
    std::fclose(trace);
    simhost::StopNativeHost(*native);
    EXPECT_EQ(host.allocations, 0) << file.path().filename();
    EXPECT_LE(host.soundSetUps, 1) << file.path().filename();
    frames += host.messages;
  }
  EXPECT_GE(frames, 10000);
}

}  // namespace
}  // namespace varolen
