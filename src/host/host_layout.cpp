#include "host/host_layout.h"

namespace varolen {

namespace {
HostAddressRecord addresses;
}  // namespace

const HostAddressRecord& HostAddresses = addresses;

void UseHostAddresses() { addresses = kHostAddresses; }

void ForgetHostAddresses() { addresses = {}; }

}  // namespace varolen
