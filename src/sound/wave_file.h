// Reading PCM wave files: the RIFF/WAVE header, the format and the sound data.
#pragma once

#include <cstdint>
#include <cstdio>

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
  // The same over an open file, which the reader then owns.
  platform::SoundResult Open(std::FILE* file);
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

  std::FILE* file_ = nullptr;
  struct {
    platform::SoundFormat fields;
    std::uint8_t extra[kMostExtraBytes];
  } format_ = {};
  bool hasFormat_ = false;
  long dataStart_ = 0;
  std::uint32_t dataSize_ = 0;
  std::uint32_t left_ = 0;
};

}  // namespace varolen
