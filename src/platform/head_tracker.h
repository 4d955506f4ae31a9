// The head tracker's shared block: a named file mapping that trackers speaking
// the FreeTrack 2.0 protocol (opentrack among them) keep up to date. The
// module only reads it: it never creates the mapping, never loads a tracker's
// library and never waits on the tracker's mutex.
#pragma once

#include <cstdint>

namespace varolen::platform {

inline constexpr const char* kHeadTrackerBlockName = "FT_SharedMem";
inline constexpr std::uint32_t kHeadTrackerBlockSize = 108;

// Opens the mapping by name, read-only, if a tracker made it; true when the
// block is open now. Once open it stays open (and the block with it) until
// closed, whatever the tracker does.
bool OpenHeadTrackerBlock();
bool HeadTrackerBlockOpen();
void CloseHeadTrackerBlock();

// The 32-bit word of the open block at `offset` (a multiple of 4 below the
// block's size), read in one access, as the tracker stores each field; 0 when
// no block is open.
std::uint32_t HeadTrackerWord(std::uint32_t offset);

}  // namespace varolen::platform
