#include "host/host_discovery.h"

#include <cstring>

#include "host/text.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::HostReadable;
using platform::ReadHost;

// The longest module name the module looks for, "GLOBAL.DLL", and its end.
constexpr int kNameCapacity = 11;

// Reads a module name byte by byte, each byte tested; false when the name is
// unreadable or longer than any name looked for.
bool ReadModuleName(platform::HostReader& reader, HostAddress address, char (&name)[kNameCapacity + 1]) {
  for (int index = 0; index <= kNameCapacity; ++index) {
    const std::uint8_t* at = reader.Bytes(address + static_cast<HostAddress>(index), 1);
    if (at == nullptr) return false;
    name[index] = static_cast<char>(*at);
    if (name[index] == '\0') return true;
  }
  return false;
}

// An array of `count` entries of `size` bytes, readable as a whole.
bool ArrayReadable(HostAddress address, std::int32_t count, std::uint32_t size) {
  const std::uint64_t bytes = static_cast<std::uint64_t>(count) * size;
  return count >= 0 && bytes < 0x100000000ull && HostReadable(address, static_cast<std::uint32_t>(bytes));
}

bool IsUsableViewKind(std::int32_t kind) {
  return kind == kCockpitPanelView || kind == kVirtualCockpitView || kind == kSpotView ||
         kind == kWalkingPilotView;
}

// Follows a host pointer at `address` + `offset` once the block at `address`
// has been found readable for `size` bytes; 0 otherwise.
HostAddress Follow(HostAddress address, std::uint32_t size, std::uint32_t offset) {
  return address != 0 && HostReadable(address, size) ? ReadHost<std::uint32_t>(address + offset) : 0;
}

}  // namespace

namespace {
HostDiscoveryRecord discovery;
}  // namespace

const HostDiscoveryRecord& HostDiscovery = discovery;

int DiscoverHostModules() {
  HostDiscoveryRecord& found = discovery;
  const HostAddressRecord& at = HostAddresses;
  found.ModuleList = HostReadable(at.moduleListHead, 4) ? ReadHost<std::uint32_t>(at.moduleListHead) : 0;
  found.ViewSets = HostReadable(at.viewSets, 4) ? ReadHost<std::uint32_t>(at.viewSets) : 0;
  found.ViewSetSelector = at.viewSetSelector;
  if (!HostReadable(found.ModuleList, kModuleNodeSize)) {
    found.ModuleList = 0;
    return 0;
  }
  // A list that loops back on itself ends after as many nodes as a host could load.
  constexpr int kMostNodes = 4096;
  platform::HostReader reader;
  HostAddress node = found.ModuleList;
  for (int visited = 0; node != 0 && visited < kMostNodes; ++visited) {
    const std::uint8_t* bytes = reader.Bytes(node, kModuleNodeSize);
    if (bytes == nullptr) break;
    char name[kNameCapacity + 1];
    const auto value = platform::BlockField<std::uint32_t>(bytes, kModuleNodeValue);
    if (ReadModuleName(reader, platform::BlockField<std::uint32_t>(bytes, kModuleNodeName), name) &&
        !EqualIgnoringCase(name, "_.DLL")) {
      if (found.G3dModule == 0 && EqualIgnoringCase(name, "G3D.DLL")) {
        found.G3dModule = value;
        found.HostObjectList = value + kG3dObjectListOffset;
        found.HostViewMatrix = value + kG3dViewMatrixOffset;
      } else if (found.GlobalModule == 0 && EqualIgnoringCase(name, "GLOBAL.DLL")) {
        found.GlobalModule = value;
        found.HostViewPosition = value + kGlobalViewPositionOffset;
        found.HostViewOrientation = value + kGlobalViewOrientationOffset;
      }
    }
    node = platform::BlockField<std::uint32_t>(bytes, kModuleNodeNext);
  }
  return 1;
}

HostAddress FindCurrentView() {
  const HostDiscoveryRecord& found = discovery;
  if (found.ViewSets == 0 || !HostReadable(found.ViewSetSelector, 4)) return 0;
  const std::int32_t selector = ReadHost<std::int32_t>(found.ViewSetSelector);
  if (selector < kFirstViewSetSelector || selector > kLastViewSetSelector) return 0;
  const std::uint32_t list = found.ViewSets + kViewSetListOffset[selector - kFirstViewSetSelector];
  if (!HostReadable(list, kViewSetCountDistance + 4)) return 0;
  const HostAddress windows = ReadHost<std::uint32_t>(list);
  const std::int32_t count = ReadHost<std::int32_t>(list + kViewSetCountDistance);
  if (count < 1 || !ArrayReadable(windows, count, 4)) return 0;
  for (std::int32_t index = 0; index < count; ++index) {
    const HostAddress window = ReadHost<std::uint32_t>(windows + 4 * static_cast<std::uint32_t>(index));
    if (!HostReadable(window + kWindowRecordViewOffset, 4)) return 0;
    const HostAddress record = ReadHost<std::uint32_t>(window + kWindowRecordViewOffset);
    if (!HostReadable(record, kHostViewRecordSize)) return 0;
    if (IsUsableViewKind(ReadHost<std::int32_t>(record + view_record::kKind))) return record;
  }
  return 0;
}

std::int32_t ViewKindOf(HostAddress view) {
  return platform::ReadHost<std::int32_t>(view + view_record::kKind);
}

bool IsPilotView(std::int32_t kind) {
  return kind == kVirtualCockpitView || kind == kSpotView || kind == kWalkingPilotView;
}

HostAddress FindModelSection(const char (&tag)[5]) {
  using namespace model_path;
  const HostAddress global = discovery.GlobalModule;
  if (global == 0 || !HostReadable(global + kSignature, 4)) return 0;
  char signature[4];
  platform::ReadHostBytes(global + kSignature, signature, 4);
  if (std::memcmp(signature, "08SF", 4) != 0) return 0;
  const HostAddress a = Follow(global + kBlockA, 4, 0);
  const HostAddress b = Follow(a, kBlockASize, kBlockB);
  const HostAddress c = Follow(b, kBlockBSize, kBlockC);
  const HostAddress header = Follow(c, kBlockCSize, kHeader);
  if (header == 0) return 0;
  platform::HostReader reader;
  return FindSection(reader, header + kSectionTable, tag);
}

HostAddress FindSection(platform::HostReader& reader, HostAddress table, const char (&tag)[5]) {
  namespace at = section_table;
  const std::uint8_t* head = reader.Bytes(table, at::kEntries);
  if (head == nullptr || std::memcmp(head, "PNTR", 4) != 0) return 0;
  const auto count = platform::BlockField<std::int32_t>(head, at::kEntryCount);
  for (std::int32_t index = 0; index < count; ++index) {
    const HostAddress entry = table + at::kEntries + at::kEntrySize * static_cast<std::uint32_t>(index);
    const std::uint8_t* bytes = reader.Bytes(entry, at::kEntrySize);
    if (bytes == nullptr) return 0;
    const auto offset = platform::BlockField<std::uint32_t>(bytes, at::kEntryOffset);
    if (std::memcmp(bytes, tag, 4) == 0 && offset != 0) return entry + offset;
  }
  return 0;
}

void ForgetHostModules() { discovery = {}; }

}  // namespace varolen
