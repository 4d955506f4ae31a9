// Reading PCM wave files: the RIFF/WAVE header, the format and the sound data.
#pragma once

#include <cstdint>

#include "platform/files.h"
#include "platform/sound.h"

namespace varolen {

class WaveFileReader {
 public:
  // Extra format bytes beyond what any format the module plays carries.
  static constexpr std::uint32_t kMostExtraBytes = 64;

  WaveFileReader() = default;
  WaveFileReader(const WaveFileReader&) = delete;
  WaveFileReader& operator=(const WaveFileReader&) = delete;
  ~WaveFileReader() { Close(); }

  // Opens a wave file for reading (mode 1) and finds its format and data.
  platform::SoundResult Open(const char* path);
  // The same over a file's bytes in memory, which stay the caller's and must
  // outlive the reading.
  platform::SoundResult Open(const std::uint8_t* bytes, std::uint32_t size);
  // The format, or null when none was read.
  const platform::SoundFormat* GetFormat() const { return hasFormat_ ? &format_.fields : nullptr; }
  std::uint32_t GetSize() const { return dataSize_; }
  // Back to the start of the sound data.
  platform::SoundResult ResetFile();
  // Up to `count` bytes of sound data, as many as are left.
  platform::SoundResult Read(std::uint8_t* destination, std::uint32_t count, std::uint32_t* read);
  void Close();

 private:
  platform::SoundResult ReadHeader();
  platform::SoundResult ReadFormat(std::int64_t riffEnd);
  bool IsOpen() const { return memory_ != nullptr || file_.IsOpen(); }
  std::int64_t SourceSize();
  // Up to `size` bytes from `offset` of the file; how many there were.
  std::uint32_t ReadAt(std::uint64_t offset, void* destination, std::uint32_t size);
  bool ReadExactly(std::uint64_t offset, void* destination, std::uint32_t size) {
    return ReadAt(offset, destination, size) == size;
  }
  bool FindChunk(std::int64_t from, std::int64_t end, const char (&id)[5], std::int64_t& start,
                 std::uint32_t& size);

  platform::FileReader file_;
  const std::uint8_t* memory_ = nullptr;
  std::uint32_t memorySize_ = 0;
  struct {
    platform::SoundFormat fields;
    std::uint8_t extra[kMostExtraBytes];
  } format_ = {};
  bool hasFormat_ = false;
  std::int64_t dataStart_ = 0;
  std::int64_t position_ = 0;  // where Read goes on
  std::uint32_t dataSize_ = 0;
  std::uint32_t left_ = 0;
};

}  // namespace varolen
