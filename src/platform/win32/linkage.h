// The records through which the host links the module: it reads Linkage and
// writes its panel-service table into ImportTable's first entry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace varolen {

struct ImportTableEntry {
  std::uint32_t id;
  void* pointer;  // filled by the host
};

struct ImportTableRecord {
  ImportTableEntry entries[2];
};

using LinkageEntry = void(__stdcall*)();

struct LinkageRecord {
  std::uint32_t moduleId;
  LinkageEntry init;
  LinkageEntry deinit;
  std::uint32_t flags;
  std::uint32_t reserved;
  std::uint32_t version;
  void* next;
};

// In the host, whose pointers are 32-bit words, the records are laid out so;
// the 64-bit test build cannot be held to them.
#if defined(__i386__)
static_assert(sizeof(ImportTableRecord) == 16 && offsetof(ImportTableRecord, entries[1]) == 8);
static_assert(offsetof(ImportTableEntry, pointer) == 4);
static_assert(sizeof(LinkageRecord) == 28 && offsetof(LinkageRecord, init) == 4 &&
              offsetof(LinkageRecord, deinit) == 8 && offsetof(LinkageRecord, version) == 20 &&
              offsetof(LinkageRecord, next) == 24);
#endif

inline constexpr std::uint32_t kPanelServiceTableId = 0x0000000F;

}  // namespace varolen

// Exported undecorated: the host finds them by these names.
extern "C" {
extern __declspec(dllexport) varolen::ImportTableRecord ImportTable;
extern __declspec(dllexport) varolen::LinkageRecord Linkage;
}
