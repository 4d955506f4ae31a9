#include "win32/tracker_block.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace simhost::win32 {

namespace {
constexpr DWORD kBlockSize = 108;
}  // namespace

void TrackerBlock::Hold(bool hold) {
  if (hold && fields_ == nullptr) {
    mapping_ =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kBlockSize, "FT_SharedMem");
    if (mapping_ == nullptr) throw std::runtime_error("cannot make the tracker's mapping");
    fields_ = static_cast<volatile LONG*>(MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, kBlockSize));
    if (fields_ == nullptr) throw std::runtime_error("cannot map the tracker's block");
  } else if (!hold && fields_ != nullptr) {
    UnmapViewOfFile(const_cast<LONG*>(fields_));
    CloseHandle(mapping_);
    fields_ = nullptr;
    mapping_ = nullptr;
  }
}

void TrackerBlock::Store(std::uint32_t offset, std::uint32_t word) {
  if (fields_ == nullptr || offset % 4 != 0 || offset >= kBlockSize) return;
  InterlockedExchange(&fields_[offset / 4], static_cast<LONG>(word));
}

TrackerWriterThread::TrackerWriterThread() {
  block_.Hold(true);
  thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
  if (thread_ == nullptr) throw std::runtime_error("cannot start the tracker's thread");
}

TrackerWriterThread::~TrackerWriterThread() {
  InterlockedExchange(&stop_, 1);
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

DWORD WINAPI TrackerWriterThread::Run(LPVOID self) {
  auto& writer = *static_cast<TrackerWriterThread*>(self);
  const auto store = [&writer](std::uint32_t offset, double value) {
    const auto single = static_cast<float>(value);
    LONG word;
    std::memcpy(&word, &single, sizeof word);
    writer.block_.Store(offset, static_cast<std::uint32_t>(word));
  };
  const DWORD start = GetTickCount();
  while (InterlockedCompareExchange(&writer.stop_, 0, 0) == 0) {
    const double seconds = (GetTickCount() - start) / 1000.0;
    const double swing = std::sin(2.0 * 3.14159265358979 * seconds / 1.5);
    store(24, 0.0);                                                        // x
    store(28, 0.0);                                                        // y
    store(32, -50.0 * swing);                                              // z: leaning forward and back
    store(12, 30.0 * swing * 3.14159265358979 / 180.0);                    // yaw
    store(16, 10.0 * std::cos(seconds * 4.0) * 3.14159265358979 / 180.0);  // pitch
    store(20, 0.0);                                                        // roll
    InterlockedIncrement(&writer.block_.Fields()[0]);
    Sleep(4);
  }
  return 0;
}

}  // namespace simhost::win32
