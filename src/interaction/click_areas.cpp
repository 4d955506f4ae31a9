#include "interaction/click_areas.h"

#include <cmath>

#include "cockpit/pick_ray.h"
#include "host/host_layout.h"
#include "host/model_list.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::BlockField;

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
    namespace at = click_area_record;
    if (opcode != at::kCode) return kEndOfList;
    const std::uint8_t* area = reader.Bytes(record, at::kLength);
    if (area == nullptr) return kEndOfList;
    const auto length = BlockField<std::uint16_t>(area, bounded_record::kLength);
    if (length < at::kLength) return kEndOfList;
    area = reader.Bytes(record, length);
    if (area == nullptr) return kEndOfList;
    const auto skip = BlockField<std::uint32_t>(area, bounded_record::kCovers);
    const Vec3 offset = BlockVec3(area, bounded_record::kCentre);
    const Vec3 centre = {base.x + offset.x, base.y + offset.y, base.z + offset.z};
    callBase = centre;
    const double radius = BlockField<float>(area, bounded_record::kRadius);
    double t0 = 0.0, t1 = 0.0;
    if (!RaySphereHit(ray, centre, radius * radius, t0, t1))
      return std::int64_t{skip} + length;  // and what it covers
    const bool answers = BlockField<std::uint16_t>(area, at::kKind) == at::kClickable &&
                         (BlockField<std::uint32_t>(area, at::kActions) != 0 ||
                          BlockField<std::uint32_t>(area, at::kActions + 4) != 0 ||
                          BlockField<std::uint32_t>(area, at::kActions + 8) != 0);
    if (!answers) return length;  // into the records the area covers
    const std::uint32_t shape =
        length == at::kLengthWithShape ? BlockField<std::uint32_t>(area, at::kShape) : 0;
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
