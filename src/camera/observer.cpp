#include "camera/observer.h"

#include <cstdint>

#include "host/host_layout.h"
#include "host/host_variables.h"
#include "maths/numeric.h"
#include "platform/host_memory.h"

namespace varolen {

namespace {

template <typename Word>
void WriteObserverWord(HostAddress address, Word word) {
  if (platform::HostWritable(address, sizeof word)) platform::WriteHost(address, word);
}

void WriteFixedPoint(double value, HostAddress integerWord, HostAddress fractionWord) {
  std::uint32_t fraction = 0;
  std::uint32_t whole = 0;
  if (!EncodeFixedPoint(value, fraction, whole)) return;
  WriteObserverWord(integerWord, whole);
  WriteObserverWord(fractionWord, fraction);
}

}  // namespace

void SetObserverPosition(const GeoPosition& position) {
  const HostAddressRecord& at = HostAddresses;
  if (at.observerLatitudeInteger == 0) return;  // before start-up
  WriteFixedPoint(position.latitude / kHalfPi * kObserverLatitudeMetresPerQuarterTurn,
                  at.observerLatitudeInteger, at.observerLatitudeFraction);
  WriteFixedPoint(position.longitude / kPi * kObserverLongitudeUnitsPerHalfTurn, at.observerLongitudeInteger,
                  at.observerLongitudeFraction);
  std::uint16_t metres = 0;
  if (EncodeTruncated(position.altitude * kFeetToMetres, metres))
    WriteObserverWord(at.observerAltitude, metres);
}

}  // namespace varolen
