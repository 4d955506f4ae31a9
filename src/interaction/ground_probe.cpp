#include "interaction/ground_probe.h"

#include <cmath>
#include <cstring>

#include "cockpit/pick_ray.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/model_list.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

using platform::BlockField;
using platform::HostReadable;
using platform::ReadHost;

// The lists are host data: their records are bounded, so that a list that
// loops cannot hold the host up.
constexpr long kMostRecords = 1000000;
// More objects than a host loads: a count beyond it is not the host's.
constexpr std::int32_t kMostObjects = 100000;

// The reference point's side of GeoOffset, worked out once per probe: every
// placement of every object is measured from the same point.
struct ReferenceFrame {
  Vec3 centre;  // the reference, earth-centred
  double headingCos, headingSin;
  double pitchCos, pitchSin;
  double quarterCos, quarterSin;
};

ReferenceFrame FrameAt(const Vec3& reference) {
  const double heading = reference.y * kDegreesToRadians;
  const double pitch = -reference.x * kDegreesToRadians;
  return {GeoToCartesian(reference),
          std::cos(heading),
          std::sin(heading),
          std::cos(pitch),
          std::sin(pitch),
          std::cos(kQuarterTurnRadians),
          std::sin(kQuarterTurnRadians)};
}

// RotateHeading and RotatePitch with their sine and cosine given.
void TurnHeading(Vec3& v, double c, double s) { v = {c * v.x + s * v.z, v.y, c * v.z - s * v.x}; }
void TurnPitch(Vec3& v, double c, double s) { v = {v.x, c * v.y - s * v.z, s * v.y + c * v.z}; }

// Earth-centred positions of the placements met lately. Scenery stands still:
// each frame meets the placements of the last, and their sines and cosines
// need working out only once. Entries are keyed by the record's exact bits;
// four to a set, so that a few thousand objects seldom push each other out.
struct KnownPlacement {
  std::uint32_t bits[3];
  bool used;
  Vec3 position;
};
struct KnownPlacementSet {
  KnownPlacement ways[4];
  unsigned next;  // the way to replace next
};
constexpr int kKnownPlacementSetBits = 10;
KnownPlacementSet knownPlacements[1 << kKnownPlacementSetBits];

}  // namespace

void ForgetKnownPlacements() {
  for (KnownPlacementSet& set : knownPlacements) set = {};
}

namespace {

Vec3 PlacementPosition(const float (&placement)[3]) {
  std::uint32_t bits[3];
  std::memcpy(bits, placement, sizeof bits);
  // Neighbouring placements differ only in their low bits: mix every bit into the top ones.
  std::uint32_t hash = bits[0] ^ (bits[1] * 0x85EBCA77u) ^ (bits[2] * 0xC2B2AE3Du);
  hash = (hash ^ (hash >> 16)) * 0x85EBCA6Bu;
  hash = (hash ^ (hash >> 13)) * 0xC2B2AE35u;
  hash ^= hash >> 16;
  KnownPlacementSet& set = knownPlacements[hash >> (32 - kKnownPlacementSetBits)];
  for (const KnownPlacement& known : set.ways) {
    if (known.used && std::memcmp(known.bits, bits, sizeof bits) == 0) return known.position;
  }
  KnownPlacement& known = set.ways[set.next];
  set.next = (set.next + 1) % 4u;
  known = {{bits[0], bits[1], bits[2]},
           true,
           GeoToCartesian({placement[0], placement[1], kOffsetSphereRadius + placement[2]})};
  return known.position;
}

Vec3 OffsetFrom(const Vec3& a, const ReferenceFrame& frame) {
  Vec3 d = {a.x - frame.centre.x, a.y - frame.centre.y, a.z - frame.centre.z};
  TurnHeading(d, frame.headingCos, frame.headingSin);
  TurnPitch(d, frame.pitchCos, frame.pitchSin);
  TurnPitch(d, frame.quarterCos, frame.quarterSin);
  return d;
}

// A placement puts the object's origin; a bounding sphere's centre is the
// origin of the triangles that follow it and of the nested lists.
struct GeometryWalk {
  GroundProbe& probe;
  const ReferenceFrame& frame;
  Vec3 origin;
  Vec3 centre;

  GeometryWalk Nested() const { return {probe, frame, centre, centre}; }

  std::int64_t Record(std::uint16_t opcode, HostAddress record, platform::HostReader& reader) {
    if (opcode == placement_record::kCode) {
      const std::uint8_t* placement = reader.Bytes(record, placement_record::kLength);
      if (placement == nullptr) return kEndOfList;
      float placed[3];
      std::memcpy(placed, placement + placement_record::kPosition, sizeof placed);
      origin = OffsetFrom(PlacementPosition(placed), frame);
      return placement_record::kLength;
    }
    if (opcode == sphere_record::kCode) {
      const std::uint8_t* sphere = reader.Bytes(record, sphere_record::kLength);
      if (sphere == nullptr) return kEndOfList;
      const auto length = BlockField<std::uint16_t>(sphere, bounded_record::kLength);
      const auto skip = BlockField<std::uint32_t>(sphere, bounded_record::kCovers);
      if (length < sphere_record::kLength || skip == 0) return kEndOfList;
      const Vec3 offset = BlockVec3(sphere, bounded_record::kCentre);
      centre = {origin.x + offset.x, origin.y + offset.y, origin.z + offset.z};
      const double radius = BlockField<float>(sphere, bounded_record::kRadius);
      double t0 = 0.0, t1 = 0.0;
      // A missed sphere hides the whole branch it bounds.
      return RaySphereHit(probe.ray, centre, 2.0 * radius * radius, t0, t1) ? length : skip;
    }
    if (opcode == triangles_record::kCode) {
      const std::uint8_t* header = reader.Bytes(record, triangles_record::kHeaderSize);
      if (header == nullptr) return kEndOfList;
      const auto count = BlockField<std::uint32_t>(header, triangles_record::kCount);
      const std::uint64_t bytes = std::uint64_t{count} * triangles_record::kTriangleSize;
      const std::uint8_t* triangles =
          bytes < 0x10000000u
              ? reader.Bytes(record + triangles_record::kHeaderSize, static_cast<std::uint32_t>(bytes))
              : nullptr;
      if (triangles == nullptr && count != 0) return kEndOfList;
      for (std::uint32_t index = 0; index < count; ++index) {
        float triangle[12] = {};
        std::memcpy(triangle, triangles + std::uint64_t{index} * triangles_record::kTriangleSize,
                    sizeof triangle);
        const double t = RayTriangleHit(triangle, probe.ray, centre);
        if (t < probe.nearest) probe.nearest = t;
      }
      return triangles_record::kHeaderSize + static_cast<std::int64_t>(bytes);
    }
    return kEndOfList;
  }
};

}  // namespace

GroundProbe ProbeAt(double latitude, double longitude) {
  return {latitude, longitude, 0.0, {0.0, kProbeHeight, 0.0, 0.0, -1.0, 0.0}, kNothingFound};
}

int ProbeGround(GroundProbe& probe) {
  probe.nearest = kNothingFound;
  const HostAddress list = HostDiscovery.HostObjectList;
  if (list == 0 || !HostReadable(list, object_list::kHeaderSize)) return 0;
  const std::int32_t count = ReadHost<std::int32_t>(list);
  const HostAddress objects = ReadHost<std::uint32_t>(list + object_list::kArray);
  const ReferenceFrame frame =
      FrameAt({probe.latitude, probe.longitude, kOffsetSphereRadius + probe.altitude});
  ModelListWalk walk{{}, kMostRecords};  // one bound for all of the probe's lists
  for (std::int32_t index = 0; index < count && index < kMostObjects; ++index) {
    const HostAddress object = objects + object_list::kRecordSize * static_cast<std::uint32_t>(index);
    const std::uint8_t* record = walk.reader.Bytes(object, object_list::kRecordSize);
    if (record == nullptr) continue;
    const HostAddress model = BlockField<std::uint32_t>(record, object_list::kModel);
    const HostAddress geometry = FindSection(walk.reader, model + object_model::kSectionTable, "BLCK");
    if (geometry == 0) continue;
    GeometryWalk visitor{probe, frame, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};
    WalkModelList(walk, geometry, visitor);
  }
  return 1;
}

void WalkObjectGeometry(HostAddress list, const Vec3& base, GroundProbe& probe) {
  const ReferenceFrame frame =
      FrameAt({probe.latitude, probe.longitude, kOffsetSphereRadius + probe.altitude});
  ModelListWalk walk{{}, kMostRecords};
  GeometryWalk visitor{probe, frame, base, base};
  WalkModelList(walk, list, visitor);
}

Vec3 GeoToCartesian(const Vec3& point) {
  Vec3 v = {0.0, 0.0, -point.z};
  RotatePitch(v, point.x * kDegreesToRadians);
  RotateHeading(v, -point.y * kDegreesToRadians);
  return v;
}

Vec3 GeoOffset(const Vec3& point, const Vec3& reference) {
  return OffsetFrom(GeoToCartesian(point), FrameAt(reference));
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
