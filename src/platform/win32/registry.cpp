// The registry through ADVAPI32, opened with full access as the settings store expects.
#include "platform/registry.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace varolen::platform {

namespace {

HKEY RootKey(RegistryRoot /*root*/) { return HKEY_LOCAL_MACHINE; }

// Beyond this a value is not one of ours; it is not read at all.
constexpr DWORD kLargestValueRead = 1u << 20;

}  // namespace

bool OpenRegistryKey(RegistryRoot root, const char* path, RegistryKey* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExA(RootKey(root), path, 0, KEY_ALL_ACCESS, &opened) != ERROR_SUCCESS) return false;
  *key = reinterpret_cast<RegistryKey>(opened);
  return true;
}

bool CreateRegistryKey(RegistryRoot root, const char* path, RegistryKey* key) {
  HKEY created = nullptr;
  char emptyClass[] = "";
  if (RegCreateKeyExA(RootKey(root), path, 0, emptyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &created, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  *key = reinterpret_cast<RegistryKey>(created);
  return true;
}

void CloseRegistryKey(RegistryKey key) { RegCloseKey(reinterpret_cast<HKEY>(key)); }

bool QueryRegistryValue(RegistryKey key, const char* name, std::uint8_t* buffer, std::uint32_t capacity,
                        std::uint32_t* size) {
  const HKEY handle = reinterpret_cast<HKEY>(key);
  DWORD length = capacity;
  LONG result = RegQueryValueExA(handle, name, nullptr, nullptr, buffer, &length);
  if (result == ERROR_SUCCESS) {
    *size = length;
    return true;
  }
  if (result != ERROR_MORE_DATA || length > kLargestValueRead) return false;
  // A value longer than the buffer is read whole once and cut (start-up only).
  std::vector<std::uint8_t> whole(length);
  result = RegQueryValueExA(handle, name, nullptr, nullptr, whole.data(), &length);
  if (result != ERROR_SUCCESS) return false;
  *size = length < capacity ? length : capacity;
  std::memcpy(buffer, whole.data(), *size);
  return true;
}

bool SetRegistryString(RegistryKey key, const char* name, const char* text, std::uint32_t size) {
  return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        size) == ERROR_SUCCESS;
}

}  // namespace varolen::platform
