#include "interaction/ground_probe.h"

#include <cmath>
#include <cstring>

#include "cockpit/pick_ray.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::HostReadable;
using platform::ReadHost;

constexpr double kEarthRadius = 6367310.0;  // metres
constexpr double kQuarterTurn = 1.5707963267496;

// The host's object list and models.
constexpr std::uint32_t kObjectListHeaderSize = 16;
constexpr std::uint32_t kObjectArrayOffset = 12;
constexpr std::uint32_t kObjectRecordSize = 104;
constexpr std::uint32_t kObjectModelOffset = 96;
constexpr std::uint32_t kModelHeaderSize = 200;
constexpr std::uint32_t kModelTag = 124;  // "PNTR"
constexpr std::uint32_t kModelEntryCount = 128;
constexpr std::uint32_t kModelEntries = 132;
constexpr std::uint32_t kModelEntrySize = 8;

// Geometry list records.
constexpr std::uint16_t kCall = 0xF000;
constexpr std::uint16_t kPlacement = 0xF002;
constexpr std::uint16_t kSphere = 0xF004;
constexpr std::uint16_t kTriangles = 0xF005;
constexpr std::uint32_t kCallLength = 6;
constexpr std::uint32_t kPlacementLength = 30;
constexpr std::uint32_t kSphereLength = 26;
constexpr std::uint32_t kTriangleSize = 48;
// The lists are host data: nesting and length are bounded, so that a list that
// loops cannot hold the host up.
constexpr int kDeepestCall = 32;
constexpr long kMostRecords = 1000000;
// More objects than a host loads: a count beyond it is not the host's.
constexpr std::int32_t kMostObjects = 100000;

struct Walk {
  GroundProbe& probe;
  long records = 0;
};

void WalkList(Walk& walk, HostAddress record, const Vec3& base, int depth) {
  if (depth > kDeepestCall) return;
  Vec3 origin = base;  // where the last placement put the object
  Vec3 centre = base;  // the last bounding sphere's centre
  while (++walk.records <= kMostRecords && HostReadable(record, 2)) {
    const std::uint16_t opcode = ReadHost<std::uint16_t>(record);
    if (opcode == kCall) {
      if (!HostReadable(record, kCallLength)) return;
      WalkList(walk, record + ReadHost<std::uint32_t>(record + 2), centre, depth + 1);
      record += kCallLength;
    } else if (opcode == kPlacement) {
      if (!HostReadable(record, kPlacementLength)) return;
      const Vec3 placed = {ReadHost<float>(record + 2), ReadHost<float>(record + 6),
                           kEarthRadius + ReadHost<float>(record + 10)};
      const Vec3 reference = {walk.probe.latitude, walk.probe.longitude, kEarthRadius + walk.probe.altitude};
      origin = GeoOffset(placed, reference);
      record += kPlacementLength;
    } else if (opcode == kSphere) {
      if (!HostReadable(record, kSphereLength)) return;
      const std::uint16_t length = ReadHost<std::uint16_t>(record + 2);
      const std::uint32_t skip = ReadHost<std::uint32_t>(record + 4);
      if (length < kSphereLength || skip == 0) return;
      centre = {origin.x + ReadHost<float>(record + 10), origin.y + ReadHost<float>(record + 14),
                origin.z + ReadHost<float>(record + 18)};
      const double radius = ReadHost<float>(record + 22);
      double t0 = 0.0, t1 = 0.0;
      // A missed sphere hides the whole branch it bounds.
      record += RaySphereHit(walk.probe.ray, centre, 2.0 * radius * radius, t0, t1) ? length : skip;
    } else if (opcode == kTriangles) {
      if (!HostReadable(record, 6)) return;
      const std::uint32_t count = ReadHost<std::uint32_t>(record + 2);
      const std::uint64_t bytes = std::uint64_t{count} * kTriangleSize;
      const std::uint8_t* triangles =
          bytes < 0x10000000u ? platform::HostBlock(record + 6, static_cast<std::uint32_t>(bytes)) : nullptr;
      if (triangles == nullptr && count != 0) return;
      for (std::uint32_t index = 0; index < count; ++index) {
        float triangle[12];
        std::memcpy(triangle, triangles + std::uint64_t{index} * kTriangleSize, sizeof triangle);
        const double t = RayTriangleHit(triangle, walk.probe.ray, centre);
        if (t < walk.probe.nearest) walk.probe.nearest = t;
      }
      record += 6 + static_cast<std::uint32_t>(bytes);
    } else {
      return;
    }
  }
}

}  // namespace

GroundProbe ProbeAt(double latitude, double longitude) {
  return {latitude, longitude, 0.0, {0.0, kProbeHeight, 0.0, 0.0, -1.0, 0.0}, kNothingFound};
}

int ProbeGround(const CockpitControllerRecord& controller, GroundProbe& probe) {
  probe.nearest = kNothingFound;
  const HostAddress list = controller.HostObjectList;
  if (list == 0 || !HostReadable(list, kObjectListHeaderSize)) return 0;
  const std::int32_t count = ReadHost<std::int32_t>(list);
  const HostAddress objects = ReadHost<std::uint32_t>(list + kObjectArrayOffset);
  for (std::int32_t index = 0; index < count && index < kMostObjects; ++index) {
    const HostAddress object = objects + kObjectRecordSize * static_cast<std::uint32_t>(index);
    if (!HostReadable(object, kObjectRecordSize)) continue;
    const HostAddress geometry = FindObjectGeometry(object);
    if (geometry != 0) WalkObjectGeometry(geometry, {0.0, 0.0, 0.0}, probe);
  }
  return 1;
}

HostAddress FindObjectGeometry(HostAddress objectRecord) {
  const HostAddress model = ReadHost<std::uint32_t>(objectRecord + kObjectModelOffset);
  if (!HostReadable(model, kModelHeaderSize)) return 0;
  char tag[4];
  platform::ReadHostBytes(model + kModelTag, tag, 4);
  if (std::memcmp(tag, "PNTR", 4) != 0) return 0;
  const std::int32_t count = ReadHost<std::int32_t>(model + kModelEntryCount);
  for (std::int32_t index = 0; index < count; ++index) {
    const HostAddress entry = model + kModelEntries + kModelEntrySize * static_cast<std::uint32_t>(index);
    if (!HostReadable(entry, kModelEntrySize)) return 0;
    platform::ReadHostBytes(entry, tag, 4);
    const std::uint32_t offset = ReadHost<std::uint32_t>(entry + 4);
    if (std::memcmp(tag, "BLCK", 4) == 0 && offset != 0) return entry + offset;
  }
  return 0;
}

void WalkObjectGeometry(HostAddress list, const Vec3& base, GroundProbe& probe) {
  Walk walk{probe};
  WalkList(walk, list, base, 0);
}

Vec3 GeoToCartesian(const Vec3& point) {
  Vec3 v = {0.0, 0.0, -point.z};
  RotatePitch(v, point.x * kDegreesToRadians);
  RotateHeading(v, -point.y * kDegreesToRadians);
  return v;
}

Vec3 GeoOffset(const Vec3& point, const Vec3& reference) {
  const Vec3 a = GeoToCartesian(point);
  const Vec3 b = GeoToCartesian(reference);
  Vec3 d = {a.x - b.x, a.y - b.y, a.z - b.z};
  RotateHeading(d, reference.y * kDegreesToRadians);
  RotatePitch(d, -reference.x * kDegreesToRadians);
  RotatePitch(d, kQuarterTurn);
  return d;
}

double RayTriangleHit(const float (&triangle)[12], const double (&ray)[6], const Vec3& offset) {
  Vec3 a = {triangle[0] + offset.x, triangle[1] + offset.y, triangle[2] + offset.z};
  Vec3 b = {triangle[3] + offset.x, triangle[4] + offset.y, triangle[5] + offset.z};
  Vec3 c = {triangle[6] + offset.x, triangle[7] + offset.y, triangle[8] + offset.z};
  const Vec3 n = {triangle[9], triangle[10], triangle[11]};
  // The plane of the two axes other than the normal's largest.
  int dominant = 0;
  if (std::fabs(n.y) > std::fabs(n.x)) dominant = 1;
  if (std::fabs(n.z) > std::fmax(std::fabs(n.x), std::fabs(n.y))) dominant = 2;
  const auto u = [dominant](const Vec3& p) { return dominant == 0 ? p.y : p.x; };
  const auto v = [dominant](const Vec3& p) { return dominant == 2 ? p.y : p.z; };
  if ((v(b) - v(a)) * (u(b) - u(c)) < (u(b) - u(a)) * (v(b) - v(c))) std::swap(a, b);

  const Vec3 origin = {ray[0], ray[1], ray[2]};
  const Vec3 direction = {ray[3], ray[4], ray[5]};
  const double den = Dot(n, direction);
  if (den > -1e-10 && den < 1e-10) return kNothingFound;
  const double t = (Dot(n, a) - Dot(n, origin)) / den;
  if (t < 1e-10 || t > 1e10) return kNothingFound;
  const Vec3 p = {origin.x + t * direction.x, origin.y + t * direction.y, origin.z + t * direction.z};
  const Vec3* edges[3][2] = {{&a, &b}, {&b, &c}, {&c, &a}};
  for (const auto& edge : edges) {
    const Vec3& s = *edge[0];
    const Vec3& e = *edge[1];
    if (!((u(e) - u(s)) * (v(e) - v(p)) <= (v(e) - v(s)) * (u(e) - u(p)))) return kNothingFound;
  }
  return t;
}

}  // namespace varolen
