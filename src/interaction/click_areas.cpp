#include "interaction/click_areas.h"

#include <cmath>

#include "cockpit/pick_ray.h"
#include "host/host_layout.h"
#include "interaction/model_list.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::BlockField;

constexpr std::uint16_t kArea = 0xF003;
constexpr std::uint32_t kAreaLength = 38;
constexpr std::uint32_t kAreaWithShapeLength = 42;
constexpr std::uint16_t kClickableKind = 1;
constexpr long kMostRecords = 100000;

// Area centres count from the list's base; nested lists of later calls count
// from the last area's centre. The first area on the ray that answers a
// button ends the search.
struct AreaSearch {
  const double (&ray)[6];
  Vec3 base;
  Vec3 callBase;
  std::uint32_t& found;

  AreaSearch Nested() const { return {ray, callBase, callBase, found}; }

  std::int64_t Record(std::uint16_t opcode, HostAddress record, platform::HostReader& reader) {
    if (opcode != kArea) return kEndOfList;
    const std::uint8_t* area = reader.Bytes(record, kAreaLength);
    if (area == nullptr) return kEndOfList;
    const auto length = BlockField<std::uint16_t>(area, 2);
    if (length < kAreaLength) return kEndOfList;
    area = reader.Bytes(record, length);
    if (area == nullptr) return kEndOfList;
    const auto skip = BlockField<std::uint32_t>(area, 4);
    const Vec3 centre = {base.x + BlockField<float>(area, 10), base.y + BlockField<float>(area, 14),
                         base.z + BlockField<float>(area, 18)};
    callBase = centre;
    const double radius = BlockField<float>(area, 22);
    double t0 = 0.0, t1 = 0.0;
    if (!RaySphereHit(ray, centre, radius * radius, t0, t1))
      return std::int64_t{skip} + length;  // and what it covers
    const bool answers =
        BlockField<std::uint16_t>(area, 8) == kClickableKind &&
        (BlockField<std::uint32_t>(area, 26) != 0 || BlockField<std::uint32_t>(area, 30) != 0 ||
         BlockField<std::uint32_t>(area, 34) != 0);
    if (!answers) return length;  // into the records the area covers
    const std::uint32_t shape = length == kAreaWithShapeLength ? BlockField<std::uint32_t>(area, 38) : 0;
    found = shape != 0 ? shape : 1;
    return kEndOfWalk;
  }
};

}  // namespace

std::uint32_t FindClickArea(const double (&ray)[6], HostAddress list) {
  // A ray that is no numbers (a window of no size gives one) points at nothing.
  for (const double value : ray) {
    if (!std::isfinite(value)) return 0;
  }
  std::uint32_t found = 0;
  AreaSearch search{ray, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, found};
  ModelListWalk walk{{}, kMostRecords};
  WalkModelList(walk, list, search);
  return found;
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
