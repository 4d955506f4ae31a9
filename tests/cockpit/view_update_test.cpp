// The cockpit view update on host view records: take-over, eye keys,
// transitions, the spot camera and the write-back.
#include "cockpit/view_update.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cockpit/host_view.h"
#include "host/host_layout.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

namespace field = view_record;
using simhost::ViewRecordSpec;

class ViewUpdate : public testing::ModuleTest {
 protected:
  // One host view record; the controller has found the host's blocks.
  HostAddress Start(const ViewRecordSpec& view) {
    record_ = StartWithHost({view})[0];
    testing::SetFlight({});
    DiscoverHostModules(controller_);
    controller_.TickStep = 0.1;
    return record_;
  }
  template <typename Value>
  Value Host(std::uint32_t offset) {
    return platform::ReadHost<Value>(record_ + offset);
  }

  CockpitControllerRecord& controller_ = CockpitController;
  HostAddress record_ = 0;
};

TEST_F(ViewUpdate, ACockpitPanelViewIsLeftAlone) {
  Start({.kind = 1});
  const auto before = testing::HostRecord(record_);
  EXPECT_EQ(UpdateCockpitView(controller_, 1), 0);
  EXPECT_EQ(controller_.InCockpitView, 1);
  EXPECT_EQ(testing::HostRecord(record_), before);
}

TEST_F(ViewUpdate, FirstUpdateRebuildsTheOrientationAndKeepsEyeAndZoom) {
  Start({.kind = 2,
         .eyeBase = {0.5, 1.0, 2.0},
         .eyeOffset = {-0.25, 0.125, 0.5},
         .zoom = 1.5,
         .pitch = 10,
         .heading = 20});
  platform::WriteHost<std::int32_t>(record_ + field::kDirectionStep, 1);  // looking 45 degrees further right
  EXPECT_EQ(UpdateCockpitView(controller_, 1), 1);
  EXPECT_EQ(Host<std::int16_t>(field::kEyeOffset), -64);
  EXPECT_EQ(Host<std::int16_t>(field::kEyeOffset + 4), 128);
  EXPECT_EQ(Host<std::int16_t>(field::kZoom), 96);
  EXPECT_EQ(Host<std::int32_t>(field::kDirectionStep), 0);
  EXPECT_NEAR(controller_.ViewAngles.heading, 65, 1e-4);
  EXPECT_NEAR(controller_.ViewAngles.pitch, 10, 1e-4);
  EXPECT_EQ(Host<std::int16_t>(field::kHeading),
            static_cast<std::int16_t>(std::trunc(controller_.ViewAngles.heading / 360 * 65536)));
  // The rebuilt matrix looks 65 degrees right and 10 down, with no bank.
  const double forward[3] = {Host<float>(field::kMatrix + 32), Host<float>(field::kMatrix + 36),
                             Host<float>(field::kMatrix + 40)};
  EXPECT_NEAR(std::atan2(forward[0], forward[2]) * 180 / M_PI, 65, 1e-4);
  EXPECT_NEAR(-std::asin(forward[1]) * 180 / M_PI, 10, 1e-4);
  EXPECT_NEAR(Host<float>(field::kMatrix + 4), 0.0, 1e-6);
  // Nothing moves: the next updates write the same record.
  const auto written = testing::HostRecord(record_);
  for (int tick = 0; tick < 3; ++tick) UpdateCockpitView(controller_, 1);
  EXPECT_EQ(testing::HostRecord(record_), written);
}

TEST_F(ViewUpdate, HostChangesAreTakenOverAndStopATransition) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}});
  UpdateCockpitView(controller_, 1);
  controller_.TargetEyePosition = {0, 1, 3};
  BeginViewTransition(controller_);  // under way towards z = 3
  EXPECT_GT(controller_.EyePosition.z, 2.0);
  platform::WriteHost<std::int16_t>(record_ + field::kEyeOffset, 128);  // the host moves the eye 0.5 right
  UpdateCockpitView(controller_, 1);
  EXPECT_EQ(controller_.EyePosition.x, 0.5);
  EXPECT_EQ(controller_.TargetEyePosition.z, controller_.EyePosition.z);
  const double stopped = controller_.EyePosition.z;
  UpdateCockpitView(controller_, 1);
  EXPECT_EQ(controller_.EyePosition.z, stopped);
}

TEST_F(ViewUpdate, TransitionsArriveTogetherAfterHalfASecond) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = 350});
  UpdateCockpitView(controller_, 1);
  controller_.TickStep = 0.05;
  controller_.TargetViewAngles = {0, 10, 0};
  controller_.TargetEyePosition = {0.5, 1, 2};
  controller_.TargetZoom = 2.0;
  BeginViewTransition(controller_);  // one step of 0.05 s
  EXPECT_NEAR(controller_.ViewAngleRate.heading, 20, 1e-4);
  for (int tick = 0; tick < 8; ++tick) UpdateCockpitView(controller_, 1);
  EXPECT_LT(controller_.Zoom, 2.0) << "not there after 0.45 s";
  UpdateCockpitView(controller_, 1);
  EXPECT_EQ(controller_.Zoom, 2.0);
  EXPECT_NEAR(controller_.EyePosition.x, 0.5, 1e-12);
  EXPECT_NEAR(std::fmod(controller_.ViewAngles.heading, 360.0), 10, 1e-9);
  EXPECT_EQ(Host<std::int16_t>(field::kZoom), 128);
}

TEST_F(ViewUpdate, KeysMoveTheEyeAlongTheViewHeading) {
  Start({.kind = 2, .eyeBase = {0, 1, 0}, .heading = 90});
  UpdateCockpitView(controller_, 1);
  const Point3 start = controller_.EyePosition;
  controller_.PilotForward = 1;
  for (int tick = 0; tick < 20; ++tick) UpdateCockpitView(controller_, 1);  // 2 s
  EXPECT_NEAR(controller_.EyePosition.x - start.x, 2.0, 1e-3);
  EXPECT_NEAR(controller_.EyePosition.z - start.z, 0.0, 1e-3);
  controller_.PilotForward = 0;
  controller_.PilotHeadLeft = 1;
  const double heading = controller_.ViewAngles.heading;
  UpdateCockpitView(controller_, 1);
  EXPECT_NEAR(controller_.ViewAngles.heading, heading - 3.5, 1e-9);
}

TEST_F(ViewUpdate, TheSpotViewIsOnlyTakenWhenTheMouseOwnsIt) {
  Start({.kind = 4});
  platform::WriteHost<std::int32_t>(record_ + field::kSpotHorizontal, 2560);
  platform::WriteHost<std::int32_t>(record_ + field::kSpotVertical, 512);
  const auto before = testing::HostRecord(record_);
  for (int tick = 0; tick < 3; ++tick) EXPECT_EQ(UpdateCockpitView(controller_, 1), 1);
  EXPECT_EQ(testing::HostRecord(record_), before);

  controller_.UseMouseInSpot = 1;
  platform::WriteHost<std::int16_t>(record_ + field::kSpotHeading, 1);  // a newly seen spot record
  UpdateCockpitView(controller_, 1);
  EXPECT_NEAR(controller_.SpotDistance, 10.198039, 1e-6);
  EXPECT_NEAR(controller_.SpotPitch, -11.309932, 1e-6);
  for (int tick = 0; tick < 2; ++tick) {
    EXPECT_EQ(Host<std::int32_t>(field::kSpotHorizontal), 2560);
    EXPECT_EQ(Host<std::int32_t>(field::kSpotVertical), 511);  // 511.9999999999, truncated
    UpdateCockpitView(controller_, 1);
  }
  // A spot distance beyond what 16 bits hold keeps its value.
  controller_.SpotDistance = 200;
  controller_.SpotPitch = 0;
  UpdateCockpitView(controller_, 0);
  EXPECT_EQ(Host<std::int32_t>(field::kSpotHorizontal), 51200);
}

}  // namespace
}  // namespace varolen
