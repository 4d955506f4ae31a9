// A head tracker's shared block as a tracker makes it: the named mapping
// "FT_SharedMem" of 108 bytes, each field stored with an interlocked exchange.
#pragma once

#include <windows.h>

#include <cstdint>

#include "opentrack_writer.h"

namespace simhost::win32 {

class TrackerBlock {
 public:
  TrackerBlock() = default;
  TrackerBlock(const TrackerBlock&) = delete;
  TrackerBlock& operator=(const TrackerBlock&) = delete;
  ~TrackerBlock() { Release(); }

  // Makes the mapping (or opens it, if the module still holds it) and keeps
  // it, or lets it go.
  void Hold(bool hold);
  void Store(std::uint32_t offset, std::uint32_t word);

 private:
  void Release() noexcept;

  HANDLE mapping_ = nullptr;
  volatile LONG* fields_ = nullptr;
};

// A tracker of its own thread, as opentrack runs beside a simulator: tracking
// starts, then 250 poses a second in real time, the head swinging 30 degrees
// left and right, nodding 10 and leaning 5 cm; it stops as the host ends.
class TrackerWriterThread {
 public:
  TrackerWriterThread();
  ~TrackerWriterThread();
  TrackerWriterThread(const TrackerWriterThread&) = delete;
  TrackerWriterThread& operator=(const TrackerWriterThread&) = delete;

 private:
  static DWORD WINAPI Run(LPVOID self);
  TrackerBlock block_;
  OpentrackWriter writer_;
  volatile LONG stop_ = 0;
  HANDLE thread_ = nullptr;
};

}  // namespace simhost::win32
