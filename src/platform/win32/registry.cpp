// The registry through ADVAPI32, opened with full access as the settings store expects.
#include "platform/registry.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <new>

namespace varolen::platform {

namespace {

HKEY RootKey(RegistryRoot /*root*/) { return HKEY_LOCAL_MACHINE; }

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
  if (result != ERROR_MORE_DATA) return false;
  // A value longer than the buffer, however long, is read whole once and cut
  // (at start-up only); only a value the process has no room for is missing.
  const std::unique_ptr<std::uint8_t[]> whole(new (std::nothrow) std::uint8_t[length]);
  if (whole == nullptr) return false;
  result = RegQueryValueExA(handle, name, nullptr, nullptr, whole.get(), &length);
  if (result != ERROR_SUCCESS) return false;
  *size = length < capacity ? length : capacity;
  std::memcpy(buffer, whole.get(), *size);
  return true;
}

bool SetRegistryString(RegistryKey key, const char* name, const char* text, std::uint32_t size) {
  return RegSetValueExA(reinterpret_cast<HKEY>(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        size) == ERROR_SUCCESS;
}

}  // namespace varolen::platform
