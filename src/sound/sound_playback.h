// The wave playback layer over DirectSound: a device, and sounds held in one or
// more buffers that share their data, with the 3-D interfaces the effects use.
#pragma once

#include <cstdint>

#include "platform/sound.h"
#include "sound/wave_file.h"

namespace varolen {

class SoundClip {
 public:
  static constexpr std::uint32_t kMostBuffers = 4;

  SoundClip() = default;
  SoundClip(const SoundClip&) = delete;
  SoundClip& operator=(const SoundClip&) = delete;
  ~SoundClip() { Release(); }

  bool Exists() const { return count_ != 0; }
  // Plays on a free buffer (flag 1: in a loop); a lost buffer is restored and refilled first.
  platform::SoundResult Play(std::uint32_t priority, std::uint32_t flags);
  platform::SoundResult Stop();
  platform::SoundResult Reset();
  platform::SoundResult Get3DBuffer(std::uint32_t index, platform::Sound3DHandle* buffer3D);
  // Releases every buffer and the reader: the clip holds no sound afterwards.
  void Release();

 private:
  friend class SoundDevice;
  // Writes the sound into the buffer, padding with silence (or repeating it).
  platform::SoundResult Fill(platform::SoundBufferHandle buffer, bool repeat);
  // S_FALSE when the buffer was not lost; S_OK when it was and is restored.
  platform::SoundResult Restore(platform::SoundBufferHandle buffer, bool& restored);
  platform::SoundBufferHandle FreeBuffer();

  platform::SoundBufferHandle buffers_[kMostBuffers] = {};
  std::uint32_t size_ = 0;
  WaveFileReader reader_;
  std::uint32_t count_ = 0;
};

class SoundDevice {
 public:
  SoundDevice() = default;
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;
  ~SoundDevice() { Release(); }

  bool Exists() const { return device_ != 0; }
  platform::SoundResult Initialize(platform::WindowHandle window, std::uint32_t cooperativeLevel,
                                   std::uint16_t channels, std::uint32_t samplesPerSecond,
                                   std::uint16_t bitsPerSample);
  platform::SoundResult SetPrimaryBufferFormat(std::uint16_t channels, std::uint32_t samplesPerSecond,
                                               std::uint16_t bitsPerSample);
  platform::SoundResult GetListener(platform::ListenerHandle* listener);
  // A clip of `count` buffers from a wave file; kSoundNoVirtualization (a success)
  // when DirectSound had to use another 3-D algorithm.
  platform::SoundResult CreateSound(SoundClip& clip, const char* path, std::uint32_t flags,
                                    const platform::Guid& algorithm, std::uint32_t count);
  void Release();

 private:
  platform::SoundDeviceHandle device_ = 0;
};

}  // namespace varolen
