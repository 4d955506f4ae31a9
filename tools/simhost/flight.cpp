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
  return state;
}

double HostVariable(const FlightState& state, std::uint32_t id) {
  constexpr double kFeetToMetres = 0.3048;
  switch (id) {
    case 2:
      return state.groundElevation * kFeetToMetres * 256.0;
    case 60:
      return state.onGround ? 1.0 : 0.0;
    case 71:
      return state.latitude * 111130.0;
    case 72:
      return state.longitude / 360.0 * 16777216.0 * 16777216.0;
    case 73:
      return state.altitude * kFeetToMetres;
    case 77:
      return state.pitch;
    case 79:
      return state.bank;
    case 86:
      return state.heading;
    case 343:
      return state.wind;
    case 349:
      return state.buffet;
    case 551:
      return state.velocity[2];
    case 552:
      return state.velocity[0];
    case 553:
      return state.velocity[1];
    case 832:
      return state.speed;
    default:
      return 0.0;
  }
}

}  // namespace simhost
