// The host memory the builder lays out, read the way the module reads it, and
// the observer position decoded from the module's words.
#include "host_builder.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host/host_layout.h"
#include "host/text.h"
#include "native_host.h"
#include "platform/host_memory.h"
#include "platform/sim/sim_platform.h"

namespace simhost {
namespace {

namespace platform = varolen::platform;
namespace sim = varolen::sim;

std::string HostText(HostAddress address) {
  std::string text;
  for (char c; (c = platform::ReadHost<char>(address)) != 0; ++address) text += c;
  return text;
}

TEST(HostBuilder, ModuleListLeadsToBothHostModules) {
  sim::ResetPlatform();
  SimulatedHostMemory memory;
  BuildHostMemory(Scenario{.views = {ViewRecordSpec{}}}, memory);
  std::map<std::string, HostAddress> values;
  for (HostAddress node = platform::ReadHost<std::uint32_t>(0x47D15C); node != 0;
       node = platform::ReadHost<std::uint32_t>(node)) {
    values[HostText(platform::ReadHost<std::uint32_t>(node + 4))] =
        platform::ReadHost<std::uint32_t>(node + 12);
  }
  EXPECT_EQ(values["G3D.DLL"], kG3dBase);
  EXPECT_EQ(values["GLOBAL.DLL"], kGlobalBase);
  EXPECT_TRUE(values.count("_.DLL"));
  // The blocks the module reaches from them exist.
  EXPECT_TRUE(platform::HostReadable(kG3dBase + varolen::kG3dViewMatrixOffset, 64));
  EXPECT_TRUE(platform::HostReadable(kGlobalBase + varolen::kGlobalViewOrientationOffset, 12));
}

TEST(HostBuilder, EachSelectorListsTheViewRecordsInOrder) {
  sim::ResetPlatform();
  SimulatedHostMemory memory;
  Scenario scenario;
  scenario.viewSetSelector = 5;
  scenario.views = {ViewRecordSpec{.kind = 3},
                    ViewRecordSpec{.kind = 2, .eyeBase = {0.5, 1.0, 2.0}, .zoom = 1.5}};
  const HostLayout layout = BuildHostMemory(scenario, memory);
  const HostAddress sets = platform::ReadHost<std::uint32_t>(0x47D0B4);
  EXPECT_EQ(platform::ReadHost<std::int32_t>(0x47D0BC), 5);
  for (std::uint32_t offset : {0x20u, 0x30u, 0x40u}) {
    const HostAddress windows = platform::ReadHost<std::uint32_t>(sets + offset);
    ASSERT_EQ(platform::ReadHost<std::int32_t>(sets + offset + 8), 2);
    for (std::uint32_t index = 0; index < 2; ++index) {
      const HostAddress window = platform::ReadHost<std::uint32_t>(windows + 4 * index);
      EXPECT_EQ(platform::ReadHost<std::uint32_t>(window + 0x18), layout.viewRecords[index]);
    }
  }
  const ViewRecordState view = ReadViewRecord(memory, layout.viewRecords[1]);
  EXPECT_EQ(view.kind, 2);
  EXPECT_EQ(view.eye[2], 2.0);
  EXPECT_EQ(view.zoom, 1.5);
  EXPECT_EQ(platform::ReadHost<std::int16_t>(layout.viewRecords[1] + 0x2E), 96);  // zoom x 64
}

TEST(HostBuilder, ViewAnglesSurviveTheOrientationMatrix) {
  sim::ResetPlatform();
  SimulatedHostMemory memory;
  Scenario scenario;
  scenario.views = {ViewRecordSpec{.pitch = 10.0, .heading = 90.0}};
  const HostLayout layout = BuildHostMemory(scenario, memory);
  const ViewRecordState view = ReadViewRecord(memory, layout.viewRecords[0]);
  EXPECT_NEAR(view.pitch, 10.0, 1e-5);
  EXPECT_NEAR(view.heading, 90.0, 1e-5);
  EXPECT_NEAR(view.bank, 0.0, 1e-5);
  // The heading word: a quarter turn of 65536.
  EXPECT_EQ(platform::ReadHost<std::int16_t>(layout.viewRecords[0] + 0x90), 16384);
}

TEST(HostBuilder, ObserverWordsDecodeToDegreesAndMetres) {
  sim::ResetPlatform();
  SimulatedHostMemory memory;
  BuildHostMemory(Scenario{.views = {ViewRecordSpec{}}}, memory);
  // Latitude 45 degrees is 5000850 m north; longitude 90 degrees east a quarter of 2^32.
  platform::WriteHost<std::int32_t>(0x20CE3D54, 5000850);
  platform::WriteHost<std::uint32_t>(0x20CE3D50, 0x80000000u);  // half a metre more
  platform::WriteHost<std::int32_t>(0x20CE3D5C, 1073741824);
  platform::WriteHost<std::int16_t>(0x20CE3D64, -12);
  const ObserverPosition observer = ReadObserver(memory);
  EXPECT_NEAR(observer.latitude, 45.0 + 0.5 / 10001700.0 * 90.0, 1e-12);
  EXPECT_DOUBLE_EQ(observer.longitude, 90.0);
  EXPECT_EQ(observer.altitude, -12.0);
}

}  // namespace
}  // namespace simhost
