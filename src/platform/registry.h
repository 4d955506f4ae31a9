// The Windows registry, as far as the settings store uses it.
#pragma once

#include <cstdint>

namespace varolen::platform {

enum class RegistryRoot : std::uint32_t { LocalMachine };

using RegistryKey = std::uintptr_t;

// Open an existing key with full access; false when it is missing or refused.
bool OpenRegistryKey(RegistryRoot root, const char* path, RegistryKey* key);
// Create a key (non-volatile, full access); false when refused.
bool CreateRegistryKey(RegistryRoot root, const char* path, RegistryKey* key);
void CloseRegistryKey(RegistryKey key);

// Copies the value's raw bytes, whatever its type, into `buffer`; a longer value
// is cut at `capacity`. Returns false when the value is missing. `size` receives
// the number of bytes copied.
bool QueryRegistryValue(RegistryKey key, const char* name, std::uint8_t* buffer, std::uint32_t capacity,
                        std::uint32_t* size);
// Stores `size` bytes of `text` (its terminating zero included) as a string value.
bool SetRegistryString(RegistryKey key, const char* name, const char* text, std::uint32_t size);

}  // namespace varolen::platform
