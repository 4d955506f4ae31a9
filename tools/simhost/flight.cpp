#include "flight.h"

#include <cmath>

namespace simhost {

namespace {

double Mix(double from, double to, double fraction) { return from + (to - from) * fraction; }

// Heading the short way round, kept within [0, 360).
double MixHeading(double from, double to, double fraction) {
  double change = std::fmod(to - from, 360.0);
  if (change > 180.0) change -= 360.0;
  if (change < -180.0) change += 360.0;
  double heading = std::fmod(from + change * fraction, 360.0);
  return heading < 0.0 ? heading + 360.0 : heading;
}

}  // namespace

FlightState FlightStateAt(const Scenario& scenario, double time) {
  const auto& path = scenario.path;
  if (time <= path.front().time) return path.front();
  if (time >= path.back().time) return path.back();
  std::size_t next = 1;
  while (path[next].time < time) ++next;
  const Keyframe& a = path[next - 1];
  const Keyframe& b = path[next];
  const double f = (time - a.time) / (b.time - a.time);
  FlightState state = a;
  state.time = time;
  state.latitude = Mix(a.latitude, b.latitude, f);
  state.longitude = Mix(a.longitude, b.longitude, f);
  state.altitude = Mix(a.altitude, b.altitude, f);
  state.pitch = Mix(a.pitch, b.pitch, f);
  state.bank = Mix(a.bank, b.bank, f);
  state.heading = MixHeading(a.heading, b.heading, f);
  for (int axis = 0; axis < 3; ++axis) state.velocity[axis] = Mix(a.velocity[axis], b.velocity[axis], f);
  state.groundElevation = Mix(a.groundElevation, b.groundElevation, f);
  state.speed = Mix(a.speed, b.speed, f);
  state.wind = Mix(a.wind, b.wind, f);
  state.buffet = Mix(a.buffet, b.buffet, f);
  state.rudder = Mix(a.rudder, b.rudder, f);
  return state;
}

namespace {

constexpr double kFeetToMetres = 0.3048;
constexpr double kKnotsToMetresPerSecond = 1852.0 / 3600.0;
// The host's latitude variable counts this many metres a degree.
constexpr double kLatitudeMetresPerDegree = 111130.0;
constexpr double kLongitudeUnitsPerTurn = 16777216.0 * 16777216.0;

}  // namespace

// Keyframes hold the attitude as the host gives it, the rest in the units a
// scenario is written in (feet, knots, degrees).
const std::array<HostVariableFact, 16> kHostVariables = {{
    {2, "GROUND_ALTITUDE", "metres x 256", "",
     [](const FlightState& s) { return s.groundElevation * kFeetToMetres * 256.0; }},
    {60, "AIRCRAFT_ON_GROUND", "flag", "non-zero on the ground",
     [](const FlightState& s) { return s.onGround ? 1.0 : 0.0; }},
    {61, "AIRSPEED", "knots", "", [](const FlightState& s) { return s.speed; }},
    {71, "PLANE_LATITUDE", "metres north", "north positive",
     [](const FlightState& s) { return s.latitude * kLatitudeMetresPerDegree; }},
    {72, "PLANE_LONGITUDE", "2^48 per turn", "east positive",
     [](const FlightState& s) { return s.longitude / 360.0 * kLongitudeUnitsPerTurn; }},
    {73, "PLANE_ALTITUDE", "metres", "up positive",
     [](const FlightState& s) { return s.altitude * kFeetToMetres; }},
    {77, "PLANE_PITCH_DEGREES", "degrees", "positive nose down",
     [](const FlightState& s) { return s.pitch; }},
    {79, "PLANE_BANK_DEGREES", "degrees", "positive left wing down",
     [](const FlightState& s) { return s.bank; }},
    {86, "PLANE_HEADING_DEGREES_TRUE", "degrees true", "clockwise from north, 0 to 360",
     [](const FlightState& s) { return s.heading; }},
    {343, "AMBIENT_WIND_VEL", "knots", "", [](const FlightState& s) { return s.wind; }},
    {349, "ANGLE_OF_ATTACK_INDICATOR", "1/32768", "buffets below 0.3",
     [](const FlightState& s) { return s.buffet; }},
    {551, "FORWARD_GROUND_VELOCITY", "feet per second", "forward positive",
     [](const FlightState& s) { return s.velocity[2]; }},
    {552, "SIDE_GROUND_VELOCITY", "feet per second", "right positive",
     [](const FlightState& s) { return s.velocity[0]; }},
    {553, "VERTICAL_GROUND_VELOCITY", "feet per second", "up positive",
     [](const FlightState& s) { return s.velocity[1]; }},
    {786, "RUDDER_DEFLECTION", "radians", "positive right rudder",
     [](const FlightState& s) { return s.rudder; }},
    {832, "GPS_GROUND_SPEED", "metres per second", "",
     [](const FlightState& s) { return s.speed * kKnotsToMetresPerSecond; }},
}};

double HostVariable(const FlightState& state, std::uint32_t id) {
  for (const HostVariableFact& variable : kHostVariables) {
    if (variable.id == id) return variable.value(state);
  }
  return 0.0;
}

}  // namespace simhost
