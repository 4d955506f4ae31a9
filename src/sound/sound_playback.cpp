#include "sound/sound_playback.h"

#include <cstring>

#include "platform/clock.h"
#include "platform/random.h"

namespace varolen {

using platform::kSoundOk;
using platform::SoundResult;

namespace {

constexpr std::uint32_t kPcm = 1;
// A buffer that stays lost is given up after this many rounds of about 20 ms:
// the simulator's window must not hang on it.
constexpr int kRestoreRounds = 50;
constexpr std::uint32_t kRestoreWait = 10;  // milliseconds

}  // namespace

SoundResult SoundClip::Restore(platform::SoundBufferHandle buffer, bool& restored) {
  restored = false;
  std::uint32_t status = 0;
  const SoundResult result = platform::BufferStatus(buffer, &status);
  if (result < 0) return result;
  if ((status & platform::kBufferLost) == 0) return platform::kSoundFalse;
  for (int round = 0; round < kRestoreRounds; ++round) {
    if (platform::RestoreBuffer(buffer) == platform::kSoundBufferLost)
      platform::SleepMilliseconds(kRestoreWait);
    if (platform::RestoreBuffer(buffer) == kSoundOk) {
      restored = true;
      return kSoundOk;
    }
  }
  return platform::kSoundBufferLost;
}

SoundResult SoundClip::Fill(platform::SoundBufferHandle buffer, bool repeat) {
  if (buffer == 0) return platform::kSoundNotInitialized;
  bool restored = false;
  SoundResult result = Restore(buffer, restored);
  if (result < 0) return result;
  std::uint8_t* bytes = nullptr;
  std::uint32_t size = 0;
  result = platform::LockBuffer(buffer, &bytes, &size);
  if (result < 0) return result;
  reader_.ResetFile();
  std::uint32_t read = 0;
  reader_.Read(bytes, size, &read);
  const platform::SoundFormat* format = reader_.GetFormat();
  // Silence is 128 in 8-bit sound, 0 in 16-bit sound.
  const std::uint8_t silence = format != nullptr && format->bitsPerSample == 8 ? 128 : 0;
  if (read == 0 || !repeat) {
    std::memset(bytes + read, silence, size - read);
  } else {
    while (read < size) {
      reader_.ResetFile();
      std::uint32_t more = 0;
      reader_.Read(bytes + read, size - read, &more);
      if (more == 0) break;
      read += more;
    }
    std::memset(bytes + read, silence, size - read);
  }
  return platform::UnlockBuffer(buffer, bytes, size);
}

platform::SoundBufferHandle SoundClip::FreeBuffer() {
  for (std::uint32_t index = 0; index < count_; ++index) {
    std::uint32_t status = 0;
    platform::BufferStatus(buffers_[index], &status);
    if ((status & platform::kBufferPlaying) == 0) return buffers_[index];
  }
  // All playing: one of them starts again.
  return buffers_[static_cast<std::uint32_t>(platform::Rand()) % count_];
}

SoundResult SoundClip::Play(std::uint32_t priority, std::uint32_t flags) {
  if (count_ == 0) return platform::kSoundNotInitialized;
  const platform::SoundBufferHandle buffer = FreeBuffer();
  if (buffer == 0) return platform::kSoundFail;
  bool restored = false;
  const SoundResult result = Restore(buffer, restored);
  if (result < 0) return result;
  if (restored) {
    Fill(buffer, false);
    Reset();
  }
  return platform::PlayBuffer(buffer, priority, flags);
}

SoundResult SoundClip::Stop() {
  if (count_ == 0) return platform::kSoundNotInitialized;
  std::uint32_t result = 0;
  for (std::uint32_t index = 0; index < count_; ++index) {
    result |= static_cast<std::uint32_t>(platform::StopBuffer(buffers_[index]));
  }
  return static_cast<SoundResult>(result);
}

SoundResult SoundClip::Reset() {
  if (count_ == 0) return platform::kSoundNotInitialized;
  std::uint32_t result = 0;
  for (std::uint32_t index = 0; index < count_; ++index) {
    result |= static_cast<std::uint32_t>(platform::SetBufferPosition(buffers_[index], 0));
  }
  return static_cast<SoundResult>(result);
}

SoundResult SoundClip::Get3DBuffer(std::uint32_t index, platform::Sound3DHandle* buffer3D) {
  if (count_ == 0) return platform::kSoundNotInitialized;
  if (index >= count_ || buffer3D == nullptr) return platform::kSoundInvalidArgument;
  return platform::Create3DBuffer(buffers_[index], buffer3D);
}

void SoundClip::Release() {
  for (std::uint32_t index = 0; index < count_; ++index) platform::ReleaseSoundBuffer(buffers_[index]);
  count_ = 0;
  size_ = 0;
  reader_.Close();
}

SoundResult SoundDevice::Initialize(platform::WindowHandle window, std::uint32_t cooperativeLevel,
                                    std::uint16_t channels, std::uint32_t samplesPerSecond,
                                    std::uint16_t bitsPerSample) {
  Release();
  SoundResult result = platform::CreateSoundDevice(&device_);
  if (result < 0) {
    device_ = 0;
    return result;
  }
  result = platform::SetCooperativeLevel(device_, window, cooperativeLevel);
  if (result < 0) return result;
  SetPrimaryBufferFormat(channels, samplesPerSecond, bitsPerSample);
  return kSoundOk;
}

SoundResult SoundDevice::SetPrimaryBufferFormat(std::uint16_t channels, std::uint32_t samplesPerSecond,
                                                std::uint16_t bitsPerSample) {
  if (device_ == 0) return platform::kSoundNotInitialized;
  platform::SoundFormat format = {};
  format.formatTag = kPcm;
  format.channels = channels;
  format.samplesPerSecond = samplesPerSecond;
  format.bitsPerSample = bitsPerSample;
  format.blockAlign = static_cast<std::uint16_t>(bitsPerSample / 8 * channels);
  format.averageBytesPerSecond = samplesPerSecond * format.blockAlign;
  return platform::SetPrimaryFormat(device_, format);
}

SoundResult SoundDevice::GetListener(platform::ListenerHandle* listener) {
  if (listener == nullptr) return platform::kSoundInvalidArgument;
  if (device_ == 0) return platform::kSoundNotInitialized;
  return platform::CreateListener(device_, listener);
}

SoundResult SoundDevice::CreateSound(SoundClip& clip, const char* path, std::uint32_t flags,
                                     const platform::Guid& algorithm, std::uint32_t count) {
  if (device_ == 0) return platform::kSoundNotInitialized;
  if (path == nullptr || count == 0 || count > SoundClip::kMostBuffers)
    return platform::kSoundInvalidArgument;
  clip.Release();
  clip.reader_.Open(path);
  const platform::SoundFormat* format = clip.reader_.GetFormat();
  if (clip.reader_.GetSize() == 0 || format == nullptr) {
    clip.reader_.Close();
    return platform::kSoundFail;
  }
  platform::SoundBufferHandle buffers[SoundClip::kMostBuffers] = {};
  SoundResult result =
      platform::CreateSoundBuffer(device_, flags, clip.reader_.GetSize(), format, algorithm, &buffers[0]);
  const SoundResult final = result == platform::kSoundNoVirtualization ? result : kSoundOk;
  for (std::uint32_t index = 1; result >= 0 && index < count; ++index) {
    result = platform::DuplicateSoundBuffer(device_, buffers[0], &buffers[index]);
  }
  if (result < 0) {
    for (platform::SoundBufferHandle buffer : buffers) {
      if (buffer != 0) platform::ReleaseSoundBuffer(buffer);
    }
    clip.reader_.Close();
    return result;
  }
  std::memcpy(clip.buffers_, buffers, sizeof buffers);
  clip.count_ = count;
  clip.size_ = clip.reader_.GetSize();
  clip.Fill(clip.buffers_[0], false);
  clip.Reset();
  return final;
}

void SoundDevice::Release() {
  if (device_ != 0) platform::ReleaseSoundDevice(device_);
  device_ = 0;
}

}  // namespace varolen
