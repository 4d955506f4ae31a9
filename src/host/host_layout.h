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

extern const HostAddressRecord& HostAddresses;
// The host's fixed addresses in force, as start-up sets them.
void UseHostAddresses();
// No addresses, as a freshly loaded module has them.
void ForgetHostAddresses();

// Window classes and messages of the host.
inline constexpr const char* kHostMainWindowClass = "FS98MAIN";
inline constexpr const char* kHostViewWindowClass = "FS98CHILD";
// The host's frame message, posted to its thread every frame.
inline constexpr std::uint32_t kFrameMessage = 0x466;

// Window messages the module looks at.
inline constexpr std::uint32_t kKeyDown = 0x100;
inline constexpr std::uint32_t kKeyUp = 0x101;
inline constexpr std::uint32_t kInitMenu = 0x116;
inline constexpr std::uint32_t kCommand = 0x111;
inline constexpr std::uint32_t kMouseMove = 0x200;
inline constexpr std::uint32_t kLeftButtonDown = 0x201;
inline constexpr std::uint32_t kLeftButtonUp = 0x202;
inline constexpr std::uint32_t kRightButtonDown = 0x204;
inline constexpr std::uint32_t kRightButtonUp = 0x205;
inline constexpr std::uint32_t kMiddleButtonDown = 0x207;
inline constexpr std::uint32_t kMiddleButtonUp = 0x208;
inline constexpr std::uint32_t kMouseWheel = 0x20A;

// Offsets from the load addresses of the host modules.
inline constexpr std::uint32_t kG3dObjectListOffset = 0xA5E30;
inline constexpr std::uint32_t kG3dViewMatrixOffset = 0xAEA50;
inline constexpr std::uint32_t kGlobalViewPositionOffset = 0x35B0;
inline constexpr std::uint32_t kGlobalViewOrientationOffset = 0x35C8;

// The host's loaded-module list: nodes of 20 bytes.
inline constexpr std::uint32_t kModuleNodeSize = 20;
inline constexpr std::uint32_t kModuleNodeNext = 0;
inline constexpr std::uint32_t kModuleNodeName = 4;
inline constexpr std::uint32_t kModuleNodeValue = 12;

// The view-set block: for selectors 3, 4 and 5 the address of an array of
// window-record addresses, and 8 bytes further its count.
inline constexpr std::int32_t kFirstViewSetSelector = 3;
inline constexpr std::int32_t kLastViewSetSelector = 5;
inline constexpr std::uint32_t kViewSetListOffset[] = {0x20, 0x30, 0x40};
inline constexpr std::uint32_t kViewSetCountDistance = 8;
inline constexpr std::uint32_t kViewSetBlockSize = 0x4C;
inline constexpr std::uint32_t kWindowRecordViewOffset = 0x18;

// The host's view record, always copied whole, and the fields the module uses.
inline constexpr std::uint32_t kHostViewRecordSize = 340;
namespace view_record {
inline constexpr std::uint32_t kAspectNumerator = 0;     // 32-bit signed
inline constexpr std::uint32_t kAspectDenominator = 12;  // 32-bit signed
inline constexpr std::uint32_t kKind = 0x20;             // 32-bit
inline constexpr std::uint32_t kDirectionStep = 0x24;    // 32-bit: 45-degree steps to the right
inline constexpr std::uint32_t kHostValue = 0x28;        // 32-bit, kept as the host has it
inline constexpr std::uint32_t kZoom = 0x2E;             // 16-bit, x 64
// 16-bit, x 64: the zoom of the views seen from outside the cockpit; the spot
// view's, and the walking pilot's while the pilot view is on.
inline constexpr std::uint32_t kOutsideZoom = 0x34;
inline constexpr std::uint32_t kSpotHeading = 0x3C;     // 16-bit, 65536 per turn
inline constexpr std::uint32_t kSpotHorizontal = 0x40;  // 32-bit, x 256
inline constexpr std::uint32_t kHostBytes = 0x44;       // 2 bytes, 68 and 69
inline constexpr std::uint32_t kSpotVertical = 0x48;    // 32-bit, x 256
inline constexpr std::uint32_t kMatrix = 0x50;          // 3 rows of 4 floats, 16 bytes apart
inline constexpr std::uint32_t kMatrixRowStride = 16;
inline constexpr std::uint32_t kHeading = 0x90;     // 16-bit, 65536 per turn
inline constexpr std::uint32_t kBaseEye = 0x11C;    // 3 x 16-bit, x 256
inline constexpr std::uint32_t kEyeOffset = 0x12E;  // 3 x 16-bit, x 256
// The view's position twice, in the host position encoding (six words: 32.32
// fixed point latitude in metres, longitude in 2^32 units per turn, altitude
// in metres), and the address of its sub-record or 0.
inline constexpr std::uint32_t kFirstPosition = 188;
inline constexpr std::uint32_t kSecondPosition = 224;
inline constexpr std::uint32_t kPositionSize = 24;
inline constexpr std::uint32_t kSubRecord = 280;
}  // namespace view_record

// The view's sub-record: its eye in degrees and kilometres, and where it lies
// on the host's map, as fractions of the map and as those fractions x 2^30.
namespace view_sub_record {
inline constexpr std::uint32_t kSize = 304;
inline constexpr std::uint32_t kLatitude = 160;         // 64-bit float, degrees
inline constexpr std::uint32_t kLongitude = 168;        // 64-bit float, degrees
inline constexpr std::uint32_t kAltitude = 176;         // 64-bit float, kilometres
inline constexpr std::uint32_t kMapX = 280;             // 64-bit float
inline constexpr std::uint32_t kMapY = 288;             // 64-bit float
inline constexpr std::uint32_t kMapXFixed = 296;        // 32-bit signed
inline constexpr std::uint32_t kMapYFixed = 300;        // 32-bit signed
inline constexpr double kMapFixedScale = 1073741824.0;  // 2^30
}  // namespace view_sub_record

// View kinds the module acts on.
inline constexpr std::int32_t kCockpitPanelView = 1;
inline constexpr std::int32_t kVirtualCockpitView = 2;
inline constexpr std::int32_t kSpotView = 4;
inline constexpr std::int32_t kWalkingPilotView = 1250;

// What the model sections' record lists ("EVNT" click areas, "BLCK" geometry)
// have in common: a call record (code, then a 32-bit offset from the record to
// a nested list), and the nesting the module follows at most, so that a list
// that calls itself cannot hold the host up.
namespace model_list {
inline constexpr std::uint16_t kCall = 0xF000;
inline constexpr std::uint32_t kCallLength = 6;
inline constexpr int kDeepestCall = 32;
}  // namespace model_list

// The host's object list (at HostDiscovery.HostObjectList): a count, then at
// byte 12 the address of an array of object records, each with its model's
// address.
namespace object_list {
inline constexpr std::uint32_t kHeaderSize = 16;
inline constexpr std::uint32_t kArray = 12;
inline constexpr std::uint32_t kRecordSize = 104;
inline constexpr std::uint32_t kModel = 96;
}  // namespace object_list

// A model's table of sections, the user aircraft's and a scenery object's
// alike: "PNTR", a 32-bit count, then entries of a four-character tag and a
// 32-bit offset counted from the entry itself.
namespace section_table {
inline constexpr std::uint32_t kEntryCount = 4;
inline constexpr std::uint32_t kEntries = 8;
inline constexpr std::uint32_t kEntrySize = 8;
inline constexpr std::uint32_t kEntryOffset = 4;
}  // namespace section_table

// A scenery object's model: its section table (the geometry is the "BLCK"
// section).
namespace object_model {
inline constexpr std::uint32_t kSectionTable = 124;
}  // namespace object_model

// The records of the lists the ground probe and the click-area search walk.
// A bounding sphere and a click area share their first 26 bytes: the code,
// the record's length, what it covers beyond that, and the centre and radius
// as floats.
namespace bounded_record {
inline constexpr std::uint32_t kLength = 2;  // 16-bit
inline constexpr std::uint32_t kCovers = 4;  // 32-bit: bytes after the record
inline constexpr std::uint32_t kCentre = 10;
inline constexpr std::uint32_t kRadius = 22;
}  // namespace bounded_record
namespace placement_record {
inline constexpr std::uint16_t kCode = 0xF002;
inline constexpr std::uint32_t kLength = 30;
inline constexpr std::uint32_t kPosition = 2;  // three floats
}  // namespace placement_record
namespace sphere_record {
inline constexpr std::uint16_t kCode = 0xF004;
inline constexpr std::uint32_t kLength = 26;
}  // namespace sphere_record
namespace triangles_record {
inline constexpr std::uint16_t kCode = 0xF005;
inline constexpr std::uint32_t kCount = 2;  // 32-bit
inline constexpr std::uint32_t kHeaderSize = 6;
inline constexpr std::uint32_t kTriangleSize = 48;
}  // namespace triangles_record
namespace click_area_record {
inline constexpr std::uint16_t kCode = 0xF003;
inline constexpr std::uint32_t kLength = 38;
inline constexpr std::uint32_t kLengthWithShape = 42;
inline constexpr std::uint32_t kKind = 8;  // 16-bit
inline constexpr std::uint16_t kClickable = 1;
inline constexpr std::uint32_t kActions = 26;  // three 32-bit words: any nonzero answers a button
inline constexpr std::uint32_t kShape = 38;    // the pointer's shape, in the longer record
}  // namespace click_area_record

// The path from "GLOBAL.DLL" to the user aircraft's model section table.
namespace model_path {
inline constexpr std::uint32_t kSignature = 0x41E4;  // '0', '8', 'S', 'F'
inline constexpr std::uint32_t kBlockA = 0x41DC;
inline constexpr std::uint32_t kBlockASize = 0x124;
inline constexpr std::uint32_t kBlockB = 0x120;
inline constexpr std::uint32_t kBlockBSize = 0x110;
inline constexpr std::uint32_t kBlockC = 0x10C;
inline constexpr std::uint32_t kBlockCSize = 0x18;
inline constexpr std::uint32_t kHeader = 4;
inline constexpr std::uint32_t kSectionTable = 8;  // in the header
}  // namespace model_path

}  // namespace varolen
