// The host variables the module looks up, each id named once, and the tie
// between a subsystem's table of variable records and the enumeration that
// indexes it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/host_variables.h"

namespace varolen {

// Ids of the host's panel variables, with the units and signs of its panel SDK
// (docs/host-facts.md).
namespace host_variable {
inline constexpr std::uint32_t kGroundElevation = 2;      // metres x 256
inline constexpr std::uint32_t kOnGround = 60;            // 1 or 0
inline constexpr std::uint32_t kUnused61 = 61;            // looked up, never used
inline constexpr std::uint32_t kLatitude = 71;            // metres north of the equator
inline constexpr std::uint32_t kLongitude = 72;           // 2^48 units per turn
inline constexpr std::uint32_t kAltitude = 73;            // metres
inline constexpr std::uint32_t kPitch = 77;               // degrees, positive nose down
inline constexpr std::uint32_t kBank = 79;                // degrees, positive left wing down
inline constexpr std::uint32_t kHeading = 86;             // degrees
inline constexpr std::uint32_t kWind = 343;               // knots
inline constexpr std::uint32_t kBuffet = 349;             // the host's buffeting input
inline constexpr std::uint32_t kLongitudinalSpeed = 551;  // feet per second
inline constexpr std::uint32_t kLateralSpeed = 552;       // feet per second
inline constexpr std::uint32_t kVerticalSpeed = 553;      // feet per second
inline constexpr std::uint32_t kRudder = 786;             // radians, positive right rudder
inline constexpr std::uint32_t kGroundSpeed = 832;        // metres per second
}  // namespace host_variable

// The host's earth, each factor named for the field it converts; the view
// record's latitude counts its degree a little longer than the variable does,
// and each keeps its own.
// Variable 71 in degrees: metres / 111130.
inline constexpr double kLatitudeVariableMetresPerDegree = 111130.0;
// Variable 72 to turns: 2^48 units a turn, divided by 2^24 twice.
inline constexpr double kLongitudeVariableUnitsStep = 16777216.0;
// Variable 2: metres x 256.
inline constexpr double kGroundElevationVariableUnitsPerMetre = 256.0;
// The observer record's latitude: metres a quarter circle (111130 a degree).
inline constexpr double kObserverLatitudeMetresPerQuarterTurn = 10001700.0;
// The observer record's longitude: 2^31 units a half turn.
inline constexpr double kObserverLongitudeUnitsPerHalfTurn = 2147483648.0;
// A view record's latitude words: metres north. The walking pilot reads
// variable 71 with it too, so that a pilot who steps out stands where the
// aircraft is.
inline constexpr double kViewLatitudeMetresPerDegree = 111130.52399516014;
// A view record's longitude words: 2^32 units a turn.
inline constexpr double kViewLongitudeUnitsPerDegree = 11930464.711111;

// One record of a table: the enumerator that indexes it and the host's id.
template <typename Index>
struct HostVariableSlot {
  Index index;
  std::uint32_t id;
};

// True when every slot sits at its enumerator's place, so that a table whose
// rows were reordered does not compile.
template <typename Index, std::size_t Count>
constexpr bool SlotsInIndexOrder(const HostVariableSlot<Index> (&slots)[Count]) {
  for (std::size_t place = 0; place < Count; ++place) {
    if (static_cast<std::size_t>(slots[place].index) != place) return false;
  }
  return true;
}

// The records of a table as a freshly loaded module has them: the ids, no values.
template <typename Index, std::size_t Count>
constexpr std::array<platform::ModuleVariable, Count> FreshVariables(
    const HostVariableSlot<Index> (&slots)[Count]) {
  std::array<platform::ModuleVariable, Count> records{};
  for (std::size_t place = 0; place < Count; ++place) records[place].id = slots[place].id;
  return records;
}

}  // namespace varolen
