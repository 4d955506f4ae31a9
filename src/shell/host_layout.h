// Every fixed host address, host offset and host constant the module relies on.
#pragma once

#include <cstdint>

#include "platform/host_memory.h"

namespace varolen {

using platform::HostAddress;

// The host's fixed addresses. Start-up copies them into HostAddresses; until
// then nothing writes to the host.
struct HostAddressRecord {
  HostAddress observerLatitudeFraction;
  HostAddress observerLatitudeInteger;
  HostAddress observerLongitudeFraction;
  HostAddress observerLongitudeInteger;
  HostAddress observerAltitude;  // 16-bit integer metres
  HostAddress moduleListHead;
  HostAddress viewSets;
  HostAddress viewSetSelector;
};

inline constexpr HostAddressRecord kHostAddresses = {
    .observerLatitudeFraction = 0x20CE3D50,
    .observerLatitudeInteger = 0x20CE3D54,
    .observerLongitudeFraction = 0x20CE3D58,
    .observerLongitudeInteger = 0x20CE3D5C,
    .observerAltitude = 0x20CE3D64,
    .moduleListHead = 0x47D15C,
    .viewSets = 0x47D0B4,
    .viewSetSelector = 0x47D0BC,
};

extern HostAddressRecord HostAddresses;

// Window classes and messages of the host.
inline constexpr const char* kHostMainWindowClass = "FS98MAIN";
inline constexpr const char* kHostViewWindowClass = "FS98CHILD";
inline constexpr std::uint32_t kFrameMessage = 0x466;

// Panel-service table: the variable look-up is slot 40.
inline constexpr std::uint32_t kPanelServiceLookupSlot = 40;

// Offsets from the load addresses of the host modules.
inline constexpr std::uint32_t kG3dObjectListOffset = 0xA5E30;
inline constexpr std::uint32_t kG3dViewMatrixOffset = 0xAEA50;
inline constexpr std::uint32_t kGlobalViewPositionOffset = 0x35B0;
inline constexpr std::uint32_t kGlobalViewOrientationOffset = 0x35C8;

// The host's view record is always copied whole.
inline constexpr std::uint32_t kHostViewRecordSize = 340;

}  // namespace varolen
