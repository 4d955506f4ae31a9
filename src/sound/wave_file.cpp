#include "sound/wave_file.h"

#include <algorithm>
#include <cstring>

#include "platform/files.h"

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

// Finds a chunk with this identifier among the chunks in [from, end) of the
// file; every size is checked against the end, so that a lying size fails.
bool FindChunk(std::FILE* file, long from, long end, const char (&id)[5], long& start, std::uint32_t& size) {
  for (long at = from; at + 8 <= end;) {
    std::uint8_t header[8];
    if (std::fseek(file, at, SEEK_SET) != 0 || std::fread(header, 1, 8, file) != 8) return false;
    size = Little32(header + 4);
    if (size > static_cast<std::uint64_t>(end - at - 8)) return false;
    if (std::memcmp(header, id, 4) == 0) {
      start = at + 8;
      return true;
    }
    at += 8 + static_cast<long>(size) + static_cast<long>(size & 1);  // chunks are word aligned
  }
  return false;
}

}  // namespace

platform::SoundResult WaveFileReader::Open(const char* path) {
  if (path == nullptr) return platform::kSoundInvalidArgument;
  Close();
  std::FILE* file = platform::OpenFile(path, "rb");
  if (file == nullptr) return kSoundFail;
  return Open(file);
}

platform::SoundResult WaveFileReader::Open(std::FILE* file) {
  Close();
  hasFormat_ = false;
  dataSize_ = 0;
  file_ = file;
  const platform::SoundResult result = ReadHeader();
  if (result < 0) {
    // A file whose format or data cannot be read gives neither.
    Close();
    hasFormat_ = false;
    dataSize_ = 0;
  }
  return result;
}

platform::SoundResult WaveFileReader::ReadHeader() {
  if (std::fseek(file_, 0, SEEK_END) != 0) return kSoundFail;
  const long fileSize = std::ftell(file_);
  std::uint8_t riff[12];
  if (fileSize < 12 || std::fseek(file_, 0, SEEK_SET) != 0 || std::fread(riff, 1, 12, file_) != 12)
    return kSoundFail;
  if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return kSoundFail;
  const std::uint32_t riffSize = Little32(riff + 4);
  if (riffSize < 4 || riffSize > static_cast<std::uint64_t>(fileSize - 8)) return kSoundFail;
  const long riffEnd = 8 + static_cast<long>(riffSize);

  long start = 0;
  std::uint32_t size = 0;
  if (!FindChunk(file_, 12, riffEnd, "fmt ", start, size) || size < kLeastFormatSize) return kSoundFail;
  std::uint8_t bytes[18] = {};
  if (std::fseek(file_, start, SEEK_SET) != 0 || std::fread(bytes, 1, 16, file_) != 16) return kSoundFail;
  format_ = {};
  std::memcpy(&format_.fields, bytes, 16);
  if (format_.fields.formatTag != kPcm) {
    // Other formats carry their extra bytes after the size word.
    if (size < 18 || std::fread(bytes + 16, 1, 2, file_) != 2) return kSoundFail;
    const auto extra =
        static_cast<std::uint16_t>(static_cast<unsigned>(bytes[16]) | static_cast<unsigned>(bytes[17]) << 8);
    if (extra > kMostExtraBytes || 18u + extra > size ||
        std::fread(format_.extra, 1, extra, file_) != extra) {
      return kSoundFail;
    }
    format_.fields.extraSize = extra;
  }
  hasFormat_ = true;
  return ResetFile();
}

platform::SoundResult WaveFileReader::ResetFile() {
  if (file_ == nullptr) return platform::kSoundNotInitialized;
  if (dataStart_ == 0) {
    std::fseek(file_, 0, SEEK_END);
    const long fileSize = std::ftell(file_);
    std::uint8_t riff[8];
    std::fseek(file_, 0, SEEK_SET);
    if (std::fread(riff, 1, 8, file_) != 8) return kSoundFail;
    const long riffEnd = std::min<long>(fileSize, 8 + static_cast<long>(Little32(riff + 4)));
    long start = 0;
    std::uint32_t size = 0;
    if (!FindChunk(file_, 12, riffEnd, "data", start, size)) return kSoundFail;
    dataStart_ = start;
    dataSize_ = size;
  }
  left_ = dataSize_;
  return std::fseek(file_, dataStart_, SEEK_SET) == 0 ? kSoundOk : kSoundFail;
}

platform::SoundResult WaveFileReader::Read(std::uint8_t* destination, std::uint32_t count,
                                           std::uint32_t* read) {
  if (file_ == nullptr) return platform::kSoundNotInitialized;
  if (destination == nullptr || read == nullptr) return platform::kSoundInvalidArgument;
  const std::uint32_t wanted = count < left_ ? count : left_;
  *read = static_cast<std::uint32_t>(std::fread(destination, 1, wanted, file_));
  left_ -= *read;
  return *read == wanted ? kSoundOk : kSoundFail;
}

void WaveFileReader::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  dataStart_ = 0;
}

}  // namespace varolen
