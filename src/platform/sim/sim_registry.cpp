// An in-memory registry under HKEY_LOCAL_MACHINE.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "platform/registry.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace {

struct Key {
  std::map<std::string, std::vector<std::uint8_t>> values;  // by lower-case name
  bool denied = false;
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

struct RegistryState {
  std::map<std::string, Key> keys;                // by lower-case path
  std::map<std::string, std::string> valueNames;  // spelling of each value name as stored
  std::vector<Key*> open;
};

RegistryState& State() {
  static RegistryState state;
  return state;
}

Key* OpenKey(platform::RegistryKey handle) {
  auto& open = State().open;
  return handle >= 1 && handle <= open.size() ? open[handle - 1] : nullptr;
}

platform::RegistryKey Remember(Key& key) {
  State().open.push_back(&key);
  return State().open.size();
}

}  // namespace

void ResetRegistry() { State() = RegistryState{}; }

void SetRegistryBytes(const std::string& keyPath, const std::string& name, std::vector<std::uint8_t> bytes) {
  State().keys[Lower(keyPath)].values[Lower(name)] = std::move(bytes);
  State().valueNames[Lower(keyPath) + "\\" + Lower(name)] = name;
}

void SetRegistryText(const std::string& keyPath, const std::string& name, const std::string& text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  SetRegistryBytes(keyPath, name, std::move(bytes));
}

std::optional<std::string> RegistryText(const std::string& keyPath, const std::string& name) {
  auto key = State().keys.find(Lower(keyPath));
  if (key == State().keys.end()) return std::nullopt;
  auto value = key->second.values.find(Lower(name));
  if (value == key->second.values.end()) return std::nullopt;
  const auto& bytes = value->second;
  return std::string(bytes.begin(), std::find(bytes.begin(), bytes.end(), 0));
}

std::vector<std::string> RegistryValueNames(const std::string& keyPath) {
  std::vector<std::string> names;
  auto key = State().keys.find(Lower(keyPath));
  if (key == State().keys.end()) return names;
  for (const auto& [name, bytes] : key->second.values) {
    names.push_back(State().valueNames[Lower(keyPath) + "\\" + name]);
  }
  return names;
}

bool RegistryKeyExists(const std::string& keyPath) { return State().keys.count(Lower(keyPath)) != 0; }

void DenyRegistryAccess(const std::string& keyPath) { State().keys[Lower(keyPath)].denied = true; }

}  // namespace sim

namespace platform {

bool OpenRegistryKey(RegistryRoot /*root*/, const char* path, RegistryKey* key) {
  auto found = sim::State().keys.find(sim::Lower(path));
  if (found == sim::State().keys.end() || found->second.denied) return false;
  *key = sim::Remember(found->second);
  return true;
}

bool CreateRegistryKey(RegistryRoot /*root*/, const char* path, RegistryKey* key) {
  sim::detail::LogEvent(std::string("CreateRegistryKey ") + path);
  sim::Key& created = sim::State().keys[sim::Lower(path)];
  if (created.denied) return false;
  *key = sim::Remember(created);
  return true;
}

void CloseRegistryKey(RegistryKey key) {
  if (sim::OpenKey(key) != nullptr) sim::State().open[key - 1] = nullptr;
}

bool QueryRegistryValue(RegistryKey key, const char* name, std::uint8_t* buffer, std::uint32_t capacity,
                        std::uint32_t* size) {
  sim::detail::LogEvent(std::string("QueryRegistryValue ") + name);
  sim::Key* open = sim::OpenKey(key);
  if (open == nullptr) return false;
  auto value = open->values.find(sim::Lower(name));
  if (value == open->values.end()) return false;
  const auto& bytes = value->second;
  *size = static_cast<std::uint32_t>(std::min<std::size_t>(bytes.size(), capacity));
  if (*size != 0) std::memcpy(buffer, bytes.data(), *size);
  return true;
}

bool SetRegistryString(RegistryKey key, const char* name, const char* text, std::uint32_t size) {
  sim::detail::LogEvent(std::string("SetRegistryString ") + name + "=" + text);
  sim::Key* open = sim::OpenKey(key);
  if (open == nullptr) return false;
  // The open handle may refer to the key through another spelling of its path.
  for (auto& [path, candidate] : sim::State().keys) {
    if (&candidate == open) {
      sim::SetRegistryBytes(path, name, std::vector<std::uint8_t>(text, text + size));
      return true;
    }
  }
  return false;
}

}  // namespace platform
}  // namespace varolen
