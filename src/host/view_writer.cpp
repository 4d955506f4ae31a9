#include "host/view_writer.h"

#include <cstring>

#include "host/host_layout.h"
#include "host/host_variables.h"
#include "maths/numeric.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

namespace field = view_record;

template <typename Word>
void SetTruncated(std::uint8_t* record, std::uint32_t offset, double value) {
  Word word{};
  if (EncodeTruncated(value, word)) platform::SetBlockField(record, offset, word);
}

}  // namespace

void SetViewWord(std::uint8_t* record, std::uint32_t offset, double value) {
  SetTruncated<std::uint16_t>(record, offset, value);
}

void SetViewLong(std::uint8_t* record, std::uint32_t offset, double value) {
  SetTruncated<std::uint32_t>(record, offset, value);
}

Vec3 BaseEye(const std::uint8_t* record) {
  using platform::BlockField;
  return {static_cast<double>(BlockField<std::int16_t>(record, field::kBaseEye)),
          static_cast<double>(BlockField<std::int16_t>(record, field::kBaseEye + 2)),
          static_cast<double>(BlockField<std::int16_t>(record, field::kBaseEye + 4))};
}

void SetViewEye(std::uint8_t* record, const Vec3& eye) {
  const Vec3 base = BaseEye(record);
  SetViewWord(record, field::kEyeOffset, eye.x - base.x);
  SetViewWord(record, field::kEyeOffset + 2, eye.y - base.y);
  SetViewWord(record, field::kEyeOffset + 4, eye.z - base.z);
}

void SetViewRotation(std::uint8_t* record, const Matrix4& rotation) {
  platform::SetBlockField<std::int32_t>(record, field::kDirectionStep, 0);
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column) {
      platform::SetBlockField(record, field::kMatrix + field::kMatrixRowStride * row + 4 * column,
                              rotation.m[4 * row + column]);
    }
  }
}

void SetViewZoom(std::uint8_t* record, std::uint32_t offset, double zoom) {
  SetViewWord(record, offset, zoom * 64.0);
}

void EncodeHostPosition(const DegreePosition& position, std::uint32_t (&words)[6]) {
  EncodeFixedPoint(position.latitude * kViewLatitudeMetresPerDegree, words[0], words[1]);
  EncodeFixedPoint(position.longitude * kViewLongitudeUnitsPerDegree, words[2], words[3]);
  EncodeFixedPoint(position.altitude, words[4], words[5]);
}

void EncodeHostOrientation(double pitch, double bank, double heading, std::uint32_t (&words)[3]) {
  EncodeTurnWord(pitch, words[0]);
  EncodeTurnWord(bank, words[1]);
  EncodeTurnWord(heading, words[2]);
}

void SetViewPosition(std::uint8_t* record, const DegreePosition& eye) {
  for (const std::uint32_t at : {field::kFirstPosition, field::kSecondPosition}) {
    std::uint32_t position[6];
    std::memcpy(position, record + at, sizeof position);
    EncodeHostPosition(eye, position);
    std::memcpy(record + at, position, sizeof position);
  }
}

}  // namespace varolen
