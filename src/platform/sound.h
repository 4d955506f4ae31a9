// DirectSound 8, shaped after the calls the wave playback layer makes. Results
// are COM codes: negative for failures.
#pragma once

#include <cstdint>

#include "platform/desktop.h"

namespace varolen::platform {

using SoundResult = std::int32_t;
using SoundDeviceHandle = std::uintptr_t;
using SoundBufferHandle = std::uintptr_t;
using Sound3DHandle = std::uintptr_t;
using ListenerHandle = std::uintptr_t;

inline constexpr SoundResult kSoundOk = 0;
inline constexpr SoundResult kSoundFalse = 1;
inline constexpr SoundResult kSoundFail = static_cast<SoundResult>(0x80004005u);
inline constexpr SoundResult kSoundInvalidArgument = static_cast<SoundResult>(0x80070057u);
inline constexpr SoundResult kSoundOutOfMemory = static_cast<SoundResult>(0x8007000Eu);
inline constexpr SoundResult kSoundNotInitialized = static_cast<SoundResult>(0x800401F0u);
inline constexpr SoundResult kSoundNoVirtualization = 0x0878000A;  // success: another 3-D algorithm
inline constexpr SoundResult kSoundBufferLost = static_cast<SoundResult>(0x88780096u);

inline constexpr std::uint32_t kBufferPlaying = 1;  // status bits
inline constexpr std::uint32_t kBufferLost = 2;
inline constexpr std::uint32_t kPlayLooping = 1;
inline constexpr std::uint32_t kBufferControl3D = 0x10;

// WAVEFORMATEX without its extra bytes: 18 bytes, packed as Windows packs it,
// so that extra bytes stored right after it are where DirectSound reads them.
#pragma pack(push, 1)
struct SoundFormat {
  std::uint16_t formatTag;
  std::uint16_t channels;
  std::uint32_t samplesPerSecond;
  std::uint32_t averageBytesPerSecond;
  std::uint16_t blockAlign;
  std::uint16_t bitsPerSample;
  std::uint16_t extraSize;
};
#pragma pack(pop)
static_assert(sizeof(SoundFormat) == 18);

struct Guid {
  std::uint32_t data1;
  std::uint16_t data2, data3;
  std::uint8_t data4[8];
};

// DS3DBUFFER, all 64 bytes of it.
struct Sound3DParameters {
  std::uint32_t size;
  float position[3];
  float velocity[3];
  std::uint32_t insideConeAngle;
  std::uint32_t outsideConeAngle;
  float coneOrientation[3];
  std::int32_t coneOutsideVolume;
  float minimumDistance;
  float maximumDistance;
  std::uint32_t mode;
};
static_assert(sizeof(Sound3DParameters) == 64);

SoundResult CreateSoundDevice(SoundDeviceHandle* device);
void ReleaseSoundDevice(SoundDeviceHandle device);
SoundResult SetCooperativeLevel(SoundDeviceHandle device, WindowHandle window, std::uint32_t level);
// The primary buffer's format (PCM with these channels, rate and bits).
SoundResult SetPrimaryFormat(SoundDeviceHandle device, const SoundFormat& format);
// The 3-D listener of the primary buffer.
SoundResult CreateListener(SoundDeviceHandle device, ListenerHandle* listener);
SoundResult CommitListener(ListenerHandle listener);

// A secondary buffer of `size` bytes in `format` (followed by its extra bytes).
SoundResult CreateSoundBuffer(SoundDeviceHandle device, std::uint32_t flags, std::uint32_t size,
                              const SoundFormat* format, const Guid& algorithm, SoundBufferHandle* buffer);
SoundResult DuplicateSoundBuffer(SoundDeviceHandle device, SoundBufferHandle original,
                                 SoundBufferHandle* copy);
void ReleaseSoundBuffer(SoundBufferHandle buffer);
SoundResult BufferStatus(SoundBufferHandle buffer, std::uint32_t* status);
SoundResult RestoreBuffer(SoundBufferHandle buffer);
// The whole buffer's memory for writing, and its end.
SoundResult LockBuffer(SoundBufferHandle buffer, std::uint8_t** bytes, std::uint32_t* size);
SoundResult UnlockBuffer(SoundBufferHandle buffer, std::uint8_t* bytes, std::uint32_t size);
SoundResult SetBufferPosition(SoundBufferHandle buffer, std::uint32_t position);
SoundResult PlayBuffer(SoundBufferHandle buffer, std::uint32_t priority, std::uint32_t flags);
SoundResult StopBuffer(SoundBufferHandle buffer);

SoundResult Create3DBuffer(SoundBufferHandle buffer, Sound3DHandle* buffer3D);
void Release3DBuffer(Sound3DHandle buffer3D);
SoundResult Get3DParameters(Sound3DHandle buffer3D, Sound3DParameters* parameters);
// `deferred`: applied by the listener's commit, else at once.
SoundResult Set3DParameters(Sound3DHandle buffer3D, const Sound3DParameters& parameters, bool deferred);

}  // namespace varolen::platform
