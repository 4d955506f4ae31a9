// The observer words as the host reads them: 32.32 fixed point coordinates and
// 16-bit metres, written only where they may be.
#include "camera/observer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/host_layout.h"
#include "platform/host_memory.h"
#include "platform/sim/sim_platform.h"

namespace varolen {
namespace {

class ObserverWords : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::ResetPlatform();
    sim::MapHostRegion(0x20CE0000, 0x10000);
    UseHostAddresses();
    // A sentinel in every word shows which ones were written.
    for (HostAddress word = 0x20CE3D50; word < 0x20CE3D68; word += 4)
      platform::WriteHost<std::uint32_t>(word, 0xDDDDDDDD);
  }
  void TearDown() override { ForgetHostAddresses(); }
  static std::uint32_t Word(HostAddress address) { return platform::ReadHost<std::uint32_t>(address); }
  static std::uint16_t AltitudeWord() { return platform::ReadHost<std::uint16_t>(0x20CE3D64); }
};

TEST_F(ObserverWords, AreTheHostsFixedPoint) {
  const struct {
    GeoPosition position;
    std::uint32_t latitudeInteger, latitudeFraction, longitudeInteger, longitudeFraction;
    std::uint16_t altitude;
  } cases[] = {
      {{M_PI / 4, M_PI / 2, 1000.0}, 5000850, 0, 1073741824, 0, 304},
      // u = 5000850.25 metres north: a quarter of 2^32 - 1, truncated.
      {{5000850.25 / 10001700.0 * M_PI / 2, 0, 0}, 5000850, 1073741823, 0, 0, 0},
      // South and west are split with the floor: -5.25 is -6 and three quarters.
      {{-5.25 / 10001700.0 * M_PI / 2, -1.5 / 2147483648.0 * M_PI, -10.0},
       0xFFFFFFFAu,
       3221225471u,
       0xFFFFFFFEu,
       2147483647u,
       static_cast<std::uint16_t>(-3)},
      // Above 65535 m only the low 16 bits of the metres.
      {{0, 0, 70000.0 / 0.3048 + 0.5}, 0, 0, 0, 0, static_cast<std::uint16_t>(70000 & 0xFFFF)},
  };
  for (const auto& c : cases) {
    SetObserverPosition(c.position);
    EXPECT_EQ(Word(0x20CE3D54), c.latitudeInteger);
    EXPECT_EQ(Word(0x20CE3D50), c.latitudeFraction);
    EXPECT_EQ(Word(0x20CE3D5C), c.longitudeInteger);
    EXPECT_EQ(Word(0x20CE3D58), c.longitudeFraction);
    EXPECT_EQ(AltitudeWord(), c.altitude);
  }
  EXPECT_EQ(Word(0x20CE3D60), 0xDDDDDDDDu) << "the altitude fraction is never written";
}

TEST_F(ObserverWords, ValuesThatAreNoNumberLeaveTheirWordsAlone) {
  SetObserverPosition({std::nan(""), 1e300, std::numeric_limits<double>::infinity()});
  EXPECT_EQ(Word(0x20CE3D54), 0xDDDDDDDDu);
  EXPECT_EQ(Word(0x20CE3D5C), 0xDDDDDDDDu);  // 1e300 units do not fit 64 bits
  EXPECT_EQ(AltitudeWord(), 0xDDDDu);
}

TEST_F(ObserverWords, NothingIsWrittenIntoMemoryThatIsNotWritableOrBeforeStartup) {
  sim::SetHostRegionAccess(0x20CE0000, sim::kReadable);
  SetObserverPosition({0.5, 0.5, 1000});  // the simulated memory stops the test on a bad write
  ForgetHostAddresses();
  sim::SetHostRegionAccess(0x20CE0000, sim::kReadWrite);
  SetObserverPosition({0.5, 0.5, 1000});
  EXPECT_EQ(Word(0x20CE3D54), 0xDDDDDDDDu);
}

}  // namespace
}  // namespace varolen
