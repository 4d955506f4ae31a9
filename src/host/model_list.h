// The walk of a model list of the host's (a cockpit's "EVNT" click areas, an
// object's "BLCK" geometry): records that begin with a 16-bit opcode, where a
// call record runs a nested list found at an offset from itself and the walk
// goes on after it. The lists are host data: their nesting and the records of
// one walk are bounded, so that a list that loops cannot hold the host up.
#pragma once

#include <cstdint>

#include "host/host_layout.h"
#include "maths/geometry.h"
#include "platform/host_memory.h"

namespace varolen {

struct ModelListWalk {
  platform::HostReader reader;
  long mostRecords;  // over every list of the walk
  long records = 0;
};

// Three floats at `offset` of a record: a centre, a position.
inline Vec3 BlockVec3(const std::uint8_t* record, std::uint32_t offset) {
  using platform::BlockField;
  return {BlockField<float>(record, offset), BlockField<float>(record, offset + 4),
          BlockField<float>(record, offset + 8)};
}

// What a visitor makes of a record: go on by this many bytes, end this list
// (the caller's list goes on), or end the whole walk (the visitor has its answer).
inline constexpr std::int64_t kEndOfList = 0;
inline constexpr std::int64_t kEndOfWalk = -1;

// `Visitor` answers Record(opcode, address, reader) with a step as above, and
// Nested() with the visitor of a list that a call record runs from here (the
// nested lists count from where the visitor has got to). False when the
// visitor ended the walk.
template <typename Visitor>
bool WalkModelList(ModelListWalk& walk, HostAddress record, Visitor& visitor, int depth = 0) {
  using platform::BlockField;
  if (depth > model_list::kDeepestCall) return true;
  while (++walk.records <= walk.mostRecords) {
    const std::uint8_t* head = walk.reader.Bytes(record, 2);
    if (head == nullptr) return true;
    const auto opcode = BlockField<std::uint16_t>(head, 0);
    if (opcode == model_list::kCall) {
      const std::uint8_t* call = walk.reader.Bytes(record, model_list::kCallLength);
      if (call == nullptr) return true;
      Visitor nested = visitor.Nested();
      if (!WalkModelList(walk, record + BlockField<std::uint32_t>(call, 2), nested, depth + 1)) return false;
      record += model_list::kCallLength;
      continue;
    }
    const std::int64_t step = visitor.Record(opcode, record, walk.reader);
    if (step <= 0) return step == kEndOfList;  // the end of this list, or of the whole walk
    record += static_cast<HostAddress>(step);
  }
  return true;
}

}  // namespace varolen
