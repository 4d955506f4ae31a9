#include "host/host_layout.h"

namespace varolen {

HostAddressRecord HostAddresses;

}  // namespace varolen
