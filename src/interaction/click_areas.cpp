#include "interaction/click_areas.h"

#include <cmath>

#include "cockpit/pick_ray.h"
#include "host/host_layout.h"
#include "platform/desktop.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::BlockField;

using model_list::kCall;
using model_list::kCallLength;
using model_list::kDeepestCall;

constexpr std::uint16_t kArea = 0xF003;
constexpr std::uint32_t kAreaLength = 38;
constexpr std::uint32_t kAreaWithShapeLength = 42;
constexpr std::uint16_t kClickableKind = 1;
// The list is host data: its records are bounded so that a list that loops
// cannot hold the host up.
constexpr int kMostRecords = 100000;

struct Search {
  const double (&ray)[6];
  platform::HostReader reader;
  int records = 0;
};

// Area centres count from the list's base; nested lists of later calls count
// from the last area's centre.
std::uint32_t SearchList(Search& search, HostAddress record, const Vec3& base, int depth) {
  if (depth > kDeepestCall) return 0;
  Vec3 callBase = base;
  for (; ++search.records <= kMostRecords;) {
    const std::uint8_t* head = search.reader.Bytes(record, 2);
    if (head == nullptr) return 0;
    const auto opcode = BlockField<std::uint16_t>(head, 0);
    if (opcode == kCall) {
      const std::uint8_t* call = search.reader.Bytes(record, kCallLength);
      if (call == nullptr) return 0;
      const std::uint32_t found =
          SearchList(search, record + BlockField<std::uint32_t>(call, 2), callBase, depth + 1);
      if (found != 0) return found;
      record += kCallLength;
    } else if (opcode == kArea) {
      const std::uint8_t* area = search.reader.Bytes(record, kAreaLength);
      if (area == nullptr) return 0;
      const auto length = BlockField<std::uint16_t>(area, 2);
      if (length < kAreaLength) return 0;
      area = search.reader.Bytes(record, length);
      if (area == nullptr) return 0;
      const auto skip = BlockField<std::uint32_t>(area, 4);
      const Vec3 centre = {base.x + BlockField<float>(area, 10), base.y + BlockField<float>(area, 14),
                           base.z + BlockField<float>(area, 18)};
      callBase = centre;
      const double radius = BlockField<float>(area, 22);
      double t0 = 0.0, t1 = 0.0;
      if (!RaySphereHit(search.ray, centre, radius * radius, t0, t1)) {
        record += skip + length;  // the covered records go with it
        continue;
      }
      const bool answers =
          BlockField<std::uint16_t>(area, 8) == kClickableKind &&
          (BlockField<std::uint32_t>(area, 26) != 0 || BlockField<std::uint32_t>(area, 30) != 0 ||
           BlockField<std::uint32_t>(area, 34) != 0);
      if (answers) {
        const std::uint32_t shape = length == kAreaWithShapeLength ? BlockField<std::uint32_t>(area, 38) : 0;
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

std::uint32_t FindClickArea(const double (&ray)[6], HostAddress list) {
  // A ray that is no numbers (a window of no size gives one) points at nothing.
  for (const double value : ray) {
    if (!std::isfinite(value)) return 0;
  }
  Search search{ray, {}};
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
