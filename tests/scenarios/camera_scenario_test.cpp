// Whole flights in the substitute simulator, judged from their traces as a
// pilot would watch them: every fly-by placement ahead of the aircraft on the
// chosen side, the travelling camera sliding aside, and the approach camera
// parked near the touchdown point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "native_host.h"
#include "runner.h"
#include "scenario.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using Row = std::map<std::string, double>;

// The scenario's flight; with `startClock`, begun at that multimedia clock
// reading; with `frameRate`, at that many frames a second; with `settings`,
// those registry values stored as well.
std::vector<Row> Play(const std::string& name, std::optional<std::uint32_t> startClock = std::nullopt,
                      int frameRate = 0,
                      const std::vector<std::pair<std::string, std::string>>& settings = {}) {
  testing::ResetModule();
  std::string error;
  auto scenario = simhost::LoadScenario(std::string(VAROLEN_SOURCE_DIR) + "/data/scenarios/" + name, error);
  EXPECT_TRUE(scenario.has_value()) << error;
  if (!scenario) return {};
  if (startClock) scenario->startClock = *startClock;
  if (frameRate != 0) scenario->frameRate = frameRate;
  scenario->registry.insert(scenario->registry.end(), settings.begin(), settings.end());
  const auto folder = testing::TestFolder() / name;
  std::FILE* trace = std::tmpfile();
  auto host = simhost::StartNativeHost(*scenario, folder.string());
  const auto run = simhost::RunScenario(*scenario, *host, trace);
  simhost::StopNativeHost(*host);
  EXPECT_TRUE(run.problems.empty());

  std::rewind(trace);
  std::vector<std::string> columns;
  std::vector<Row> rows;
  char line[4096];
  while (std::fgets(line, sizeof line, trace) != nullptr) {
    std::stringstream fields(line);
    std::string field;
    if (columns.empty()) {
      while (std::getline(fields, field, ',')) columns.push_back(field.substr(0, field.find('\n')));
      continue;
    }
    Row row;
    for (std::size_t index = 0; std::getline(fields, field, ','); ++index) {
      field = field.substr(0, field.find('\n'));
      // The sounds are a list; "-" is a column the host has nothing for.
      if (columns[index] != "sounds" && field != "-") row[columns[index]] = std::stod(field);
    }
    rows.push_back(row);
  }
  std::fclose(trace);
  return rows;
}

// The observer relative to the aircraft, in metres along the track and to its right.
void Relative(const Row& row, double& along, double& right) {
  const double latitude = row.at("latitude") * M_PI / 180;
  double longitude = row.at("observer_longitude") - row.at("longitude");
  longitude -= 360.0 * std::round(longitude / 360.0);
  const double north = (row.at("observer_latitude") - row.at("latitude")) * M_PI / 180 * 6367310.0;
  const double east = longitude * M_PI / 180 * 6367310.0 * std::cos(latitude);
  const double heading = row.at("heading") * M_PI / 180;
  along = east * std::sin(heading) + north * std::cos(heading);
  right = east * std::cos(heading) - north * std::sin(heading);
}

bool Moved(const Row& before, const Row& after) {
  return before.at("observer_latitude") != after.at("observer_latitude") ||
         before.at("observer_longitude") != after.at("observer_longitude");
}

// Fly-by distance of the settings these scenarios use: 12 s cycles, 150 ft at least.
double FlyByDistance(double knots) { return std::max(knots * 1852.0 / 3600.0 * 12 * 0.5, 150 * 0.3048); }

// Windows' clock runs on across shut-downs (fast start-up), so days of uptime
// are common, and it wraps after 49.7 days. A flight flown after ten days, or
// through the wrap, is the flight flown after ten minutes: the same cameras,
// cockpit effects, settings and sounds in every frame.
TEST(CameraScenarios, DaysOfUptimeAndTheClocksWrapChangeNoFlight) {
  const struct {
    const char* scenario;
    std::uint32_t startClock;
  } cases[] = {
      {"circuit_travelling.toml", 864000000},            // ten days up
      {"circuit_travelling.toml", 4294967295u - 60000},  // the wrap a minute in
      {"cockpit_turn_and_pull_up.toml", 4294967295u - 20000},
      {"approach_landing.toml", 4294967295u - 30000},
  };
  for (const auto& c : cases) {
    const std::vector<Row> usual = Play(c.scenario);
    const std::vector<Row> later = Play(c.scenario, c.startClock);
    ASSERT_EQ(later.size(), usual.size()) << c.scenario;
    int differing = 0;
    for (std::size_t frame = 0; frame < usual.size(); ++frame) {
      Row a = usual[frame], b = later[frame];
      a.erase("clock");
      b.erase("clock");
      if (a != b && differing++ < 3)
        ADD_FAILURE() << c.scenario << " from " << c.startClock << ": frame " << frame << " differs";
    }
    EXPECT_EQ(differing, 0) << c.scenario << " from " << c.startClock;
  }
}

// The keys and presets flight, as a pilot would watch it: the eye forward two
// seconds (1 unit a second), stored as preset 1; the head 52.5 degrees right,
// the eye back a second along that heading; preset 1 recalled, back in half a
// second; then the settings switched by their keys.
TEST(CameraScenarios, ThePresetFlightStoresAndRecallsTheView) {
  const std::vector<Row> rows = Play("cockpit_keys_and_presets.toml");
  const auto at = [&rows](double time) -> const Row& {
    for (const Row& row : rows) {
      if (row.at("time") >= time - 1e-6) return row;
    }
    return rows.back();
  };
  constexpr double kEyeWord = 1.0 / 256;  // the eye is written in 1/256 units
  EXPECT_EQ(at(3.9).at("eye_z"), 1.5) << "the host's view until the internal view is on";
  EXPECT_NEAR(at(7.1).at("eye_z"), 3.5, kEyeWord);
  EXPECT_NEAR(at(10.6).at("view_heading"), 52.5, 0.01);
  const double turned = 52.5 * M_PI / 180;
  EXPECT_NEAR(at(12.1).at("eye_x"), -0.35 - std::sin(turned), 2 * kEyeWord);
  EXPECT_NEAR(at(12.1).at("eye_z"), 3.5 - std::cos(turned), 2 * kEyeWord);
  // On the way back: every frame nearer, none past.
  double heading = 52.5;
  for (const Row& row : rows) {
    if (row.at("time") <= 13.0 || row.at("time") > 13.5) continue;
    if (heading > 0.0) {
      EXPECT_LT(row.at("view_heading"), heading) << row.at("time");
    }
    EXPECT_GE(row.at("view_heading"), 0.0) << row.at("time");
    heading = row.at("view_heading");
  }
  EXPECT_GT(at(13.1).at("view_heading"), 0.0) << "a transition, not a jump";
  const Row& back = at(13.6);
  EXPECT_NEAR(back.at("eye_x"), -0.35, kEyeWord);
  EXPECT_NEAR(back.at("eye_z"), 3.5, kEyeWord);
  EXPECT_NEAR(back.at("view_heading"), 0.0, 1e-4);
  const Row& last = rows.back();
  EXPECT_EQ(last.at("fly_by"), 0);
  EXPECT_EQ(last.at("approach"), 1);
  EXPECT_EQ(last.at("wheel_zoom"), 0);
  EXPECT_EQ(last.at("internal_view"), 1);
}

// The head tracker through a taxi and take-off: the view follows the head in
// every axis, a crash is eased out without a jump and the restart eased in;
// the module's centre lasts until the tracker stops with the head turned,
// which eases out too; a curve held at its end keeps the tracker live.
TEST(CameraScenarios, TheViewFollowsTheTrackedHeadThroughItsTroubles) {
  const std::vector<Row> rows = Play("cockpit_head_tracker.toml");
  const auto at = [&rows](double time) -> const Row& {
    for (const Row& row : rows) {
      if (row.at("time") >= time - 1e-6) return row;
    }
    return rows.back();
  };
  const auto offset = [](const Row& row) {
    return std::remainder(row.at("view_heading") - row.at("heading_word"), 360.0);
  };
  const auto steadyBetween = [&rows](double from, double to) {
    double worst = 0.0;
    for (std::size_t frame = 1; frame < rows.size(); ++frame) {
      if (rows[frame].at("time") < from || rows[frame].at("time") > to) continue;
      worst = std::max(worst,
                       std::fabs(rows[frame].at("tracker_heading") - rows[frame - 1].at("tracker_heading")));
    }
    return worst;
  };
  EXPECT_NEAR(offset(at(6.0)), -40.0, 3.0) << "looking 40 left (the head effects on)";
  EXPECT_NEAR(at(6.0).at("tracker_heading"), -40.0, 1e-3);
  EXPECT_NEAR(at(11.0).at("tracker_bank"), -5.0, 1e-3) << "tilted right";
  EXPECT_NEAR(at(14.0).at("tracker_pitch"), -15.0, 1e-3) << "looking up";
  EXPECT_NEAR(at(19.0).at("tracker_x"), 0.04, 1e-4) << "moved 4 cm right";
  EXPECT_NEAR(at(18.0).at("eye_z") - at(3.0).at("eye_z"), 0.14, 2.0 / 256)
      << "leaning 14 cm toward the panel";
  // The crash at 24 s: still the frozen pose for half a second, then eased out.
  EXPECT_EQ(at(24.3).at("tracker_state"), 1);
  EXPECT_EQ(at(24.6).at("tracker_state"), 2);
  EXPECT_EQ(at(25.2).at("tracker_heading"), 0.0);
  EXPECT_LT(steadyBetween(24.0, 31.0), 4.0) << "no jump going out (29 degrees in 0.5 s) or coming back";
  EXPECT_NEAR(at(31.0).at("tracker_heading"), -20.0, 1e-3) << "back, and eased in";
  // Centred at 36 s with the head 20 right; stopped at 43 s with it 25 left.
  EXPECT_NEAR(at(40.0).at("tracker_heading"), -25.0, 1e-3) << "5 left of a centre 20 right";
  EXPECT_EQ(at(43.1).at("tracker_state"), 3) << "stopped";
  EXPECT_LT(steadyBetween(43.0, 44.0), 3.1) << "45 degrees eased out over half a second";
  EXPECT_EQ(at(43.6).at("tracker_heading"), 0.0);
  EXPECT_NEAR(at(47.5).at("tracker_heading"), -12.5, 1e-3) << "started again: the centre went with the stop";
  for (double time = 52.7; time < 56.0; time += 0.1) {
    EXPECT_EQ(at(time).at("tracker_state"), 1) << time;
    EXPECT_EQ(std::fabs(at(time).at("tracker_heading")), 180.0) << "the curve's end, " << time;
  }
  EXPECT_EQ(at(64.9).at("tracker_state"), 3) << "stopped";
  EXPECT_EQ(rows.back().at("tracker_heading"), 0.0);
}

// A fresh install with opentrack running: no setting stored, so the host
// keeps its own virtual cockpit, and the tracked head alone turns it.
TEST(CameraScenarios, OnAFreshInstallTheViewFollowsTheTrackedHead) {
  const std::vector<Row> rows = Play("head_tracker_fresh_install.toml");
  for (const Row& row : rows) {
    if (row.at("time") < 3.0) continue;
    ASSERT_EQ(row.at("internal_view"), 0);
    ASSERT_EQ(row.at("tracker_state"), 1) << row.at("time");
    const double heading = std::remainder(row.at("view_heading") - row.at("heading_word"), 360.0);
    EXPECT_NEAR(heading, -row.at("head_yaw_left"), 0.01) << row.at("time");
    EXPECT_NEAR(row.at("view_pitch"), row.at("head_pitch_down"), 0.01) << row.at("time");
  }
}

TEST(CameraScenarios, CircuitPlacementsLieAheadOnTheChosenSide) {
  const struct {
    const char* scenario;
    int side;  // +1 right, -1 left, 0 either
  } cases[] = {{"circuit_right.toml", 1}, {"circuit_left.toml", -1}, {"circuit_random.toml", 0}};
  for (const auto& c : cases) {
    const std::vector<Row> rows = Play(c.scenario);
    ASSERT_GT(rows.size(), 1000u);
    int placements = 0, rightOnes = 0;
    for (std::size_t frame = 1; frame < rows.size(); ++frame) {
      if (!Moved(rows[frame - 1], rows[frame])) continue;
      ++placements;
      double along = 0, right = 0;
      Relative(rows[frame], along, right);
      const double distance = FlyByDistance(rows[frame].at("speed"));
      const double pitch = rows[frame].at("pitch") * M_PI / 180;
      EXPECT_NEAR(along, distance * std::cos(pitch), 0.02 * distance) << c.scenario << " frame " << frame;
      // A tenth of the distance aside, at least 15 m: clear of the wing.
      EXPECT_NEAR(std::fabs(right), std::max(distance / 10, 15.0), 0.02 * distance)
          << c.scenario << " frame " << frame;
      if (c.side != 0) {
        EXPECT_EQ(right > 0 ? 1 : -1, c.side) << c.scenario << " frame " << frame;
      }
      rightOnes += right > 0 ? 1 : 0;
    }
    EXPECT_GE(placements, 25) << c.scenario;
    if (c.side == 0) {
      EXPECT_GT(rightOnes, placements / 5) << "random sides";
      EXPECT_LT(rightOnes, placements * 4 / 5) << "random sides";
    }
  }
}

TEST(CameraScenarios, ApproachCameraWaitsAtTheTouchdownPoint) {
  const std::vector<Row> rows = Play("approach_landing.toml");
  ASSERT_GT(rows.size(), 1000u);
  std::size_t low = 0, touchdown = 0;
  int placementsAbove = 0;
  for (std::size_t frame = 1; frame < rows.size(); ++frame) {
    const double height = rows[frame].at("altitude") - rows[frame].at("ground_elevation");
    if (low == 0 && height < 199.0) low = frame;
    if (touchdown == 0 && rows[frame].at("on_ground") == 1) touchdown = frame;
    if (low == 0 && Moved(rows[frame - 1], rows[frame])) ++placementsAbove;
  }
  ASSERT_NE(low, 0u);
  ASSERT_NE(touchdown, 0u);
  EXPECT_GE(placementsAbove, 15) << "fly-bys while the aircraft is high";
  // Parked from the first low frame to the end, 10 ft above the ground.
  for (std::size_t frame = low + 1; frame < rows.size(); ++frame) {
    ASSERT_FALSE(Moved(rows[frame - 1], rows[frame])) << "frame " << frame;
  }
  EXPECT_EQ(rows[low].at("observer_altitude"), std::trunc((rows[low].at("ground_elevation") + 10) * 0.3048));
  // Ahead of the aircraft while it descends, and near where it touches down:
  // 300 ft further along and 60 ft to the right, as the scenario's offsets say.
  double along = 0, right = 0;
  Relative(rows[low], along, right);
  EXPECT_GT(along, 0.0);
  Relative(rows[touchdown], along, right);
  EXPECT_NEAR(right, 60 * 0.3048, 2.0);
  EXPECT_NEAR(along, 300 * 0.3048, 150.0);
}

TEST(CockpitScenarios, HeadMotionFollowsTheFlight) {
  // A steady rate-three turn (0.1 degree per frame at 30 frames per second)
  // with the default latency rate 0.6 holds the head 0.1 x 0.6 x 3 / (1 - 0.9)
  // = 1.8 degrees into the turn; level again, it returns.
  const std::vector<Row> turn = Play("cockpit_turn_and_pull_up.toml");
  ASSERT_GT(turn.size(), 1800u);
  const auto headingOffset = [](const Row& row) {
    return std::remainder(row.at("view_heading") - row.at("heading_word"), 360.0);
  };
  EXPECT_NEAR(headingOffset(turn[30 * 25]), 1.8, 0.01);
  EXPECT_NEAR(headingOffset(turn[30 * 48]), 0.0, 0.01);
  EXPECT_EQ(turn[30 * 64].at("view_kind"), 4) << "the host's spot view";
  EXPECT_EQ(turn[30 * 68].at("view_kind"), 2);

  // Buffeting shakes the view only while the host reports it (11 to 22 s).
  const std::vector<Row> stall = Play("cockpit_stall_warning.toml");
  const auto pitchRange = [&](double from, double to) {
    double low = 1e9, high = -1e9;
    for (const Row& row : stall) {
      if (row.at("time") < from || row.at("time") > to) continue;
      low = std::min(low, row.at("view_pitch"));
      high = std::max(high, row.at("view_pitch"));
    }
    return high - low;
  };
  EXPECT_GT(pitchRange(12, 22), 0.5);
  EXPECT_LT(pitchRange(4, 9.5), 0.05);
}

// Taxiing over rough ground the view leads into the turn steadily, as the
// rudder steers, not in the steps of the host's heading: with the head's own
// motion off, the view's heading beyond the module's is the lead alone.
TEST(CockpitScenarios, TheLeadWhileTaxiingIsSteadyAtAnyFrameRate) {
  for (const int rate : {20, 24, 30, 50, 60, 75, 100, 120, 144}) {
    const std::vector<Row> flight = Play("cockpit_motion_options.toml", std::nullopt, rate,
                                         {{"ViewTurbOn", "0"}, {"GroundTurbOn", "0"}, {"BuffetTurbOn", "0"}});
    double biggest = 0, lead = 0, most = 0;
    for (std::size_t frame = 1; frame < flight.size() && flight[frame].at("on_ground") != 0; ++frame) {
      const Row& row = flight[frame];
      const double before = lead;
      lead = std::remainder(row.at("view_heading") - row.at("heading_word"), 360.0);
      if (frame > 1) biggest = std::max(biggest, std::fabs(lead - before));
      most = std::max(most, std::fabs(lead));
    }
    EXPECT_LT(biggest, 0.2) << rate << " frames a second";
    EXPECT_NEAR(most, 90.0 / 11.0, 0.05)
        << "half of two seconds of the turn onto the runway, 90/11 degrees a second";
  }
}

TEST(CockpitScenarios, TheMotionOptionsOfTheBindingFileHoldAtAnyFrameRate) {
  const auto headingOffset = [](const Row& row) {
    return std::remainder(row.at("view_heading") - row.at("heading_word"), 360.0);
  };
  for (const int rate : {30, 144}) {
    const std::vector<Row> flight = Play("cockpit_motion_options.toml", std::nullopt, rate);
    ASSERT_EQ(flight.size(), 104u * rate);
    const auto at = [&](double seconds) {
      return flight[static_cast<std::size_t>(std::lround(seconds * rate))];
    };
    // In the rate-three turn: the head 1.8 degrees into it, as at 30 frames
    // a second, and the view half of two seconds' turn ahead.
    EXPECT_NEAR(headingOffset(at(70)), 1.8 + 0.5 * 3 * 2, 0.05 * 4.8) << rate;
    // Banked 30 degrees right (-30, as the host counts it), the level head
    // rolls the view half as far the other way: its left side 15 degrees down.
    EXPECT_NEAR(at(70).at("bank"), -30, 1e-9) << rate;
    EXPECT_NEAR(at(70).at("view_bank"), 15, 0.05 * 15) << rate;
    // Steering at 15 knots onto the runway, 90 degrees in 14 s with the rudder
    // 3 s going in and 3 s coming out: 90/11 degrees a second while it is held.
    // The view half of two seconds' turn ahead, the head a fifth as far into
    // it as in the air.
    const double steering = 90.0 / 11.0;
    EXPECT_NEAR(headingOffset(at(16)), 0.5 * steering * 2 + 1.8 * steering / 3 * 0.2, 0.05 * 9.2) << rate;
    // The straight view called back with the head turned 90 degrees left:
    // smooth over a second, at rest when it starts.
    const double turned = std::remainder(at(8.9).at("heading_word"), 360.0);
    const auto done = [&](double seconds) {
      return 1 - std::remainder(at(seconds).at("heading_word"), 360.0) / turned;
    };
    EXPECT_NEAR(turned, -90, 1.5);
    EXPECT_LT(done(9.0 + 1.0 / rate), 0.01) << rate;
    EXPECT_NEAR(done(9.5), 0.5, 0.1) << rate;
    EXPECT_NEAR(done(10.1), 1.0, 1e-3) << rate;
  }
}

TEST(CockpitScenarios, TheMouseAndTheWalkingPilot) {
  const std::vector<Row> mouse = Play("cockpit_mouse.toml");
  ASSERT_EQ(mouse.size(), 420u);
  const auto at = [](const std::vector<Row>& rows, double seconds) {
    return rows[static_cast<std::size_t>(seconds * 30)];
  };
  EXPECT_EQ(at(mouse, 3.5).at("pointer"), 1) << "the hand over the switch";
  EXPECT_EQ(at(mouse, 4.5).at("pointer"), 3) << "the knob's own shape";
  EXPECT_EQ(at(mouse, 5.5).at("pointer"), 0) << "the arrow over nothing";
  EXPECT_NEAR(at(mouse, 8.5).at("view_heading"), 15.0, 1e-4);
  EXPECT_NEAR(at(mouse, 8.5).at("view_pitch"), 15.0, 1e-4);
  EXPECT_EQ(at(mouse, 9.5).at("zoom"), 76 / 64.0);  // 1.2, truncated to the host's 1/64 steps
  EXPECT_EQ(at(mouse, 13.5).at("zoom"), 36 / 64.0);

  // Stepping out, up the ramp onto the block (3 m, the eye 1.7 m above), off it
  // and back in: the view record is the cockpit view again.
  const std::vector<Row> pilot = Play("walking_pilot.toml");
  EXPECT_EQ(at(pilot, 2.5).at("view_kind"), 2);
  EXPECT_EQ(at(pilot, 5).at("view_kind"), 1250);
  EXPECT_NEAR(at(pilot, 4).at("pilot_altitude"), 426.72 + 1.7, 0.05);
  EXPECT_NEAR(at(pilot, 13).at("pilot_altitude"), 426.72 + 3 + 1.7, 0.05);
  EXPECT_NEAR(at(pilot, 17).at("pilot_altitude"), 426.72 + 1.7, 0.05);
  EXPECT_NEAR(at(pilot, 21.5).at("view_heading"), 270.0, 1e-3) << "the head turned round";
  EXPECT_EQ(at(pilot, 36).at("view_kind"), 2);
}

}  // namespace
}  // namespace varolen
