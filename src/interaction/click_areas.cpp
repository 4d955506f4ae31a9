#include "interaction/click_areas.h"

#include "cockpit/pick_ray.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::HostReadable;
using platform::ReadHost;

constexpr std::uint16_t kCall = 0xF000;
constexpr std::uint16_t kArea = 0xF003;
constexpr std::uint32_t kCallLength = 6;
constexpr std::uint32_t kAreaLength = 38;
constexpr std::uint32_t kAreaWithShapeLength = 42;
constexpr std::uint16_t kClickableKind = 1;
// The list is host data: nested calls and records are bounded so that a list
// that loops or nests without end cannot hold the host up.
constexpr int kDeepestCall = 32;
constexpr int kMostRecords = 100000;

struct Search {
  const CockpitControllerRecord& controller;
  int records = 0;
};

// Area centres count from the list's base; nested lists of later calls count
// from the last area's centre.
std::uint32_t SearchList(Search& search, HostAddress record, const Vec3& base, int depth) {
  if (depth > kDeepestCall) return 0;
  Vec3 callBase = base;
  for (; ++search.records <= kMostRecords;) {
    if (!HostReadable(record, 2)) return 0;
    const std::uint16_t opcode = ReadHost<std::uint16_t>(record);
    if (opcode == kCall) {
      if (!HostReadable(record, kCallLength)) return 0;
      const std::uint32_t found =
          SearchList(search, record + ReadHost<std::uint32_t>(record + 2), callBase, depth + 1);
      if (found != 0) return found;
      record += kCallLength;
    } else if (opcode == kArea) {
      if (!HostReadable(record, kAreaLength)) return 0;
      const std::uint16_t length = ReadHost<std::uint16_t>(record + 2);
      if (length < kAreaLength || !HostReadable(record, length)) return 0;
      const std::uint32_t skip = ReadHost<std::uint32_t>(record + 4);
      const Vec3 centre = {base.x + ReadHost<float>(record + 10), base.y + ReadHost<float>(record + 14),
                           base.z + ReadHost<float>(record + 18)};
      callBase = centre;
      const double radius = ReadHost<float>(record + 22);
      double t0 = 0.0, t1 = 0.0;
      if (!RaySphereHit(search.controller.PickRay, centre, radius * radius, t0, t1)) {
        record += skip + length;  // the covered records go with it
        continue;
      }
      const bool answers =
          ReadHost<std::uint16_t>(record + 8) == kClickableKind &&
          (ReadHost<std::uint32_t>(record + 26) != 0 || ReadHost<std::uint32_t>(record + 30) != 0 ||
           ReadHost<std::uint32_t>(record + 34) != 0);
      if (answers) {
        const std::uint32_t shape = length == kAreaWithShapeLength ? ReadHost<std::uint32_t>(record + 38) : 0;
        return shape != 0 ? shape : 1;
      }
      record += length;  // into the records the area covers
    } else {
      return 0;
    }
  }
  return 0;
}

}  // namespace

std::uint32_t FindClickArea(const CockpitControllerRecord& controller, HostAddress list) {
  Search search{controller};
  return SearchList(search, list, {0.0, 0.0, 0.0}, 0);
}

void SetPointerShape(std::uint32_t areaCode) {
  using platform::PointerShape;
  switch (areaCode) {
    case 0:
      return platform::ShowPointer(PointerShape::Arrow);
    case 2:
      return platform::ShowPointer(PointerShape::ShapeA);
    case 3:
      return platform::ShowPointer(PointerShape::ShapeB);
    case 4:
      return platform::ShowPointer(PointerShape::ShapeC);
    default:
      return platform::ShowPointer(PointerShape::Hand);
  }
}

}  // namespace varolen
