#include "win32/tracker_block.h"

#include <cmath>
#include <stdexcept>

namespace simhost::win32 {

namespace {
constexpr DWORD kBlockSize = 108;
}  // namespace

void TrackerBlock::Hold(bool hold) {
  if (!hold) {
    Release();
    return;
  }
  if (fields_ != nullptr) return;
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, "FT_SharedMem");
  if (mapping_ == nullptr) throw std::runtime_error("cannot make the tracker's mapping");
  fields_ = static_cast<volatile LONG*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, kBlockSize));
  if (fields_ == nullptr) {
    Release();
    throw std::runtime_error("cannot map the tracker's block");
  }
}

void TrackerBlock::Release() noexcept {
  if (fields_ != nullptr) UnmapViewOfFile(const_cast<LONG*>(fields_));
  if (mapping_ != nullptr) CloseHandle(mapping_);
  fields_ = nullptr;
  mapping_ = nullptr;
}

void TrackerBlock::Store(std::uint32_t offset, std::uint32_t word) {
  if (fields_ == nullptr || offset % 4 != 0 || offset >= kBlockSize) return;
  InterlockedExchange(&fields_[offset / 4], static_cast<LONG>(word));
}

TrackerWriterThread::TrackerWriterThread()
    : writer_([this](std::uint32_t offset, std::uint32_t word) { block_.Store(offset, word); }) {
  block_.Hold(true);
  writer_.Start();
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  if (thread_ == nullptr) throw std::runtime_error("cannot start the tracker's thread");
}

TrackerWriterThread::~TrackerWriterThread() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

DWORD WINAPI TrackerWriterThread::Run(LPVOID self) {
  auto& tracker = *static_cast<TrackerWriterThread*>(self);
  const DWORD start = GetTickCount();
  while (InterlockedCompareExchange(&tracker.stop_, 0, 0) == 0) {
    const double seconds = (GetTickCount() - start) / 1000.0;
    const double swing = std::sin(2.0 * 3.14159265358979 * seconds / 1.5);
    // Turned left and right, nodding, leaning towards the panel and back.
    tracker.writer_.Pose(
        {.turnedLeft = 30.0 * swing, .lookingUp = 10.0 * std::cos(seconds * 4.0), .movedBack = -5.0 * swing});
    Sleep(4);
  }
  tracker.writer_.Stop();
  return 0;
}

}  // namespace simhost::win32
