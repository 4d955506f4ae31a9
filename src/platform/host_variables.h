// Host variables: the simulator's panel-variable look-up (slot 40 of the
// panel-service table that the host links into ImportTable).
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace varolen::platform {

// Panel-service table: the variable look-up is slot 40.
inline constexpr std::uint32_t kPanelServiceLookupSlot = 40;

// The host's module-variable record as its panel SDK lays it out (MODULE_VAR,
// packed to 4 bytes, 28 in all): the id at byte 0, the host's 32-bit pointer
// and type words, the 64-bit float value at byte 12 (not 8-aligned, hence
// bytes) and the host's previous value at byte 20.
struct ModuleVariable {
  std::uint32_t id = 0;
  std::uint32_t hostPointer = 0;  // a 32-bit host address, whatever the build's pointers
  std::uint32_t hostType = 0;
  std::uint8_t valueBytes[8] = {};
  std::uint8_t previousValueBytes[8] = {};

  double Value() const {
    double value;
    std::memcpy(&value, valueBytes, sizeof value);
    return value;
  }
  void SetValue(double value) { std::memcpy(valueBytes, &value, sizeof value); }
};
static_assert(sizeof(ModuleVariable) == 28 && offsetof(ModuleVariable, valueBytes) == 12,
              "the host writes the value at byte 12 of a 28-byte record");

// Fills in the record's value. Returns false, calling nothing, while the host
// has not linked its panel-service table.
bool LookupHostVariable(ModuleVariable& variable);

// The same, but a value that is not a finite number (a host in trouble) leaves
// the record as it was, so that it never reaches the module's figures.
inline bool LookupFiniteHostVariable(ModuleVariable& variable) {
  const double before = variable.Value();
  if (!LookupHostVariable(variable)) return false;
  if (!std::isfinite(variable.Value())) variable.SetValue(std::isfinite(before) ? before : 0.0);
  return true;
}

}  // namespace varolen::platform
