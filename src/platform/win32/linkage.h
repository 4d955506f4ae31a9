// The records through which the host links the module: it reads Linkage and
// writes its panel-service table into ImportTable's first entry.
#pragma once

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

#if defined(__i386__)
static_assert(sizeof(ImportTableRecord) == 16);
static_assert(sizeof(LinkageRecord) == 28);
#endif

inline constexpr std::uint32_t kPanelServiceTableId = 0x0000000F;

}  // namespace varolen

// Exported undecorated: the host finds them by these names.
extern "C" {
extern __declspec(dllexport) varolen::ImportTableRecord ImportTable;
extern __declspec(dllexport) varolen::LinkageRecord Linkage;
}
