#include "cockpit/pick_ray.h"

#include <cmath>

#include "host/host_layout.h"
#include "maths/view_math.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {
// The image plane lies 1.2 window lengths ahead of the eye at zoom 1.
constexpr double kImagePlaneDistance = 1.2;
}  // namespace

void ComputePickRay(const std::uint8_t* record, double width, double height, double x, double y,
                    double (&ray)[6]) {
  namespace field = view_record;
  Vec3 eye = {};
  double* axes[] = {&eye.x, &eye.y, &eye.z};
  for (std::uint32_t axis = 0; axis < 3; ++axis) {
    *axes[axis] = (platform::BlockField<std::int16_t>(record, field::kBaseEye + 2 * axis) +
                   platform::BlockField<std::int16_t>(record, field::kEyeOffset + 2 * axis)) *
                  0.00390625;
  }
  const Matrix4 translation = MakeTranslation(eye);
  Matrix4 rotation = {};
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column) {
      rotation.m[4 * row + column] =
          platform::BlockField<float>(record, field::kMatrix + field::kMatrixRowStride * row + 4 * column);
    }
  }
  rotation.m[15] = 1.0f;
  const Matrix4 toCockpit = MultiplyMatrix(rotation, translation);

  double u = x / width - 0.5;
  double v = y / height - 0.5;
  // The longer side of the window spans -0.5 to 0.5.
  if (width < height) {
    u = u * (width / height);
  } else {
    v = v * (height / width);
  }
  v = v * -1.0;
  const Vec3 origin = TransformPoint({0.0, 0.0, 0.0}, toCockpit);
  const double distance =
      platform::BlockField<std::int16_t>(record, field::kZoom) / 64.0 * kImagePlaneDistance;
  const Vec3 point = TransformPoint({u, v, distance}, toCockpit);
  Vec3 direction = {point.x - origin.x, point.y - origin.y, point.z - origin.z};
  Normalize(direction);
  ray[0] = origin.x;
  ray[1] = origin.y;
  ray[2] = origin.z;
  ray[3] = direction.x;
  ray[4] = direction.y;
  ray[5] = direction.z;
}

}  // namespace varolen
