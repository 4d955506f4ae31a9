#include "sound/wave_file.h"

#include <algorithm>
#include <cstring>

namespace varolen {

namespace {

using platform::kSoundFail;
using platform::kSoundOk;

constexpr std::uint16_t kPcm = 1;
constexpr std::uint32_t kLeastFormatSize = 16;

std::uint32_t Little32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::int64_t WaveFileReader::SourceSize() { return memory_ != nullptr ? memorySize_ : file_.Size(); }

std::uint32_t WaveFileReader::ReadAt(std::uint64_t offset, void* destination, std::uint32_t size) {
  if (memory_ == nullptr) return file_.ReadAt(offset, destination, size);
  if (offset >= memorySize_) return 0;
  const auto count = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, memorySize_ - offset));
  std::memcpy(destination, memory_ + offset, count);
  return count;
}

// Finds a chunk with this identifier among the chunks in [from, end) of the
// file; every size is checked against the end, so that a lying size fails.
bool WaveFileReader::FindChunk(std::int64_t from, std::int64_t end, const char (&id)[5], std::int64_t& start,
                               std::uint32_t& size) {
  for (std::int64_t at = from; at + 8 <= end;) {
    std::uint8_t header[8];
    if (!ReadExactly(static_cast<std::uint64_t>(at), header, 8)) return false;
    size = Little32(header + 4);
    if (size > static_cast<std::uint64_t>(end - at - 8)) return false;
    if (std::memcmp(header, id, 4) == 0) {
      start = at + 8;
      return true;
    }
    at +=
        8 + static_cast<std::int64_t>(size) + static_cast<std::int64_t>(size & 1);  // chunks are word aligned
  }
  return false;
}

platform::SoundResult WaveFileReader::Open(const char* path) {
  if (path == nullptr) return platform::kSoundInvalidArgument;
  Close();
  hasFormat_ = false;
  dataSize_ = 0;
  if (!file_.Open(path)) return kSoundFail;
  return ReadHeader();
}

platform::SoundResult WaveFileReader::Open(const std::uint8_t* bytes, std::uint32_t size) {
  if (bytes == nullptr) return platform::kSoundInvalidArgument;
  Close();
  hasFormat_ = false;
  dataSize_ = 0;
  memory_ = bytes;
  memorySize_ = size;
  return ReadHeader();
}

platform::SoundResult WaveFileReader::ReadHeader() {
  platform::SoundResult result = kSoundFail;
  const std::int64_t fileSize = SourceSize();
  std::uint8_t riff[12];
  if (fileSize >= 12 && ReadExactly(0, riff, 12) && std::memcmp(riff, "RIFF", 4) == 0 &&
      std::memcmp(riff + 8, "WAVE", 4) == 0) {
    const std::uint32_t riffSize = Little32(riff + 4);
    if (riffSize >= 4 && riffSize <= static_cast<std::uint64_t>(fileSize - 8)) {
      result = ReadFormat(8 + static_cast<std::int64_t>(riffSize));
    }
  }
  if (result < 0) {
    // A file whose format or data cannot be read gives neither.
    Close();
    hasFormat_ = false;
    dataSize_ = 0;
  }
  return result;
}

platform::SoundResult WaveFileReader::ReadFormat(std::int64_t riffEnd) {
  std::int64_t start = 0;
  std::uint32_t size = 0;
  if (!FindChunk(12, riffEnd, "fmt ", start, size) || size < kLeastFormatSize) return kSoundFail;
  std::uint8_t bytes[18] = {};
  if (!ReadExactly(static_cast<std::uint64_t>(start), bytes, 16)) return kSoundFail;
  format_ = {};
  std::memcpy(&format_.fields, bytes, 16);
  if (format_.fields.formatTag != kPcm) {
    // Other formats carry their extra bytes after the size word.
    if (size < 18 || !ReadExactly(static_cast<std::uint64_t>(start) + 16, bytes + 16, 2)) return kSoundFail;
    const auto extra =
        static_cast<std::uint16_t>(static_cast<unsigned>(bytes[16]) | static_cast<unsigned>(bytes[17]) << 8);
    if (extra > kMostExtraBytes || 18u + extra > size ||
        !ReadExactly(static_cast<std::uint64_t>(start) + 18, format_.extra, extra)) {
      return kSoundFail;
    }
    format_.fields.extraSize = extra;
  }
  hasFormat_ = true;
  return ResetFile();
}

platform::SoundResult WaveFileReader::ResetFile() {
  if (!IsOpen()) return platform::kSoundNotInitialized;
  if (dataStart_ == 0) {
    std::uint8_t riff[8];
    if (!ReadExactly(0, riff, 8)) return kSoundFail;
    const std::int64_t riffEnd = std::min<std::int64_t>(SourceSize(), 8 + std::int64_t{Little32(riff + 4)});
    std::int64_t start = 0;
    std::uint32_t size = 0;
    if (!FindChunk(12, riffEnd, "data", start, size)) return kSoundFail;
    dataStart_ = start;
    dataSize_ = size;
  }
  left_ = dataSize_;
  position_ = dataStart_;
  return kSoundOk;
}

platform::SoundResult WaveFileReader::Read(std::uint8_t* destination, std::uint32_t count,
                                           std::uint32_t* read) {
  if (!IsOpen()) return platform::kSoundNotInitialized;
  if (destination == nullptr || read == nullptr) return platform::kSoundInvalidArgument;
  const std::uint32_t wanted = count < left_ ? count : left_;
  *read = ReadAt(static_cast<std::uint64_t>(position_), destination, wanted);
  left_ -= *read;
  position_ += *read;
  return *read == wanted ? kSoundOk : kSoundFail;
}

void WaveFileReader::Close() {
  file_.Close();
  memory_ = nullptr;
  memorySize_ = 0;
  dataStart_ = 0;
  position_ = 0;
}

}  // namespace varolen
