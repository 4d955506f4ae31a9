// libFuzzer target: the binding file reader with any bytes as the file.
#include <cstdint>
#include <cstdio>

#include "input/key_bindings.h"

namespace {
varolen::KeyBinding storage[varolen::kBindingCapacity];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (file == nullptr) return 0;
  varolen::KeyBindingTable table = {varolen::kBindingCapacity, 0, storage};
  varolen::ReadKeyBindingsFrom(file, "Keyboard", table);
  std::fclose(file);
  // Every binding stays within its fields.
  for (int index = 0; index < table.count; ++index) {
    const varolen::KeyBinding& binding = storage[index];
    if (binding.commandName[varolen::kCommandNameCapacity - 1] != '\0') __builtin_trap();
    if (binding.nullZone < 0 || binding.nullZone > 100) __builtin_trap();
  }
  return 0;
}
