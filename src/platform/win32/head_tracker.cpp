// The tracker's block through a read-only view of its named mapping.
#include "platform/head_tracker.h"

#include <windows.h>

namespace varolen::platform {

namespace {

HANDLE mapping = nullptr;
const volatile LONG* block = nullptr;

}  // namespace

bool OpenHeadTrackerBlock() {
  if (block != nullptr) return true;
  mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, kHeadTrackerBlockName);
  if (mapping == nullptr) return false;
  // A block smaller than the protocol's cannot be mapped whole: no tracker.
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, kHeadTrackerBlockSize);
  if (view == nullptr) {
    CloseHandle(mapping);
    mapping = nullptr;
    return false;
  }
  block = static_cast<const volatile LONG*>(view);
  return true;
}

bool HeadTrackerBlockOpen() { return block != nullptr; }

void CloseHeadTrackerBlock() {
  if (block != nullptr) UnmapViewOfFile(const_cast<LONG*>(block));
  if (mapping != nullptr) CloseHandle(mapping);
  block = nullptr;
  mapping = nullptr;
}

std::uint32_t HeadTrackerWord(std::uint32_t offset) {
  if (block == nullptr || offset % 4 != 0 || offset >= kHeadTrackerBlockSize) return 0;
  // An aligned 32-bit read is one access: a field the tracker stores with an
  // interlocked exchange is seen whole, old or new.
  return static_cast<std::uint32_t>(block[offset / 4]);
}

}  // namespace varolen::platform
