// A recording substitute for DirectSound: buffers that remember what was
// written and whether they play, 3-D parameters, and faults on request (no
// device, lost buffers, another 3-D algorithm).
#include <cstring>
#include <map>
#include <optional>

#include "platform/sim/sim_state.h"
#include "platform/sound.h"

namespace varolen {

namespace sim {
namespace {

struct Buffer {
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> format;  // the wave format as DirectSound reads it
  bool playing = false;
  bool looping = false;
  bool lost = false;
  int restoresUntilBack = 0;  // a lost buffer needs this many Restore calls
  std::uint32_t position = 0;
  platform::Sound3DParameters parameters = {};          // as the listener hears them
  std::optional<platform::Sound3DParameters> deferred;  // set, not yet committed
  std::uint32_t plays = 0;
};

struct SoundState {
  bool deviceAvailable = true;
  bool refuseFull3D = false;
  std::uint32_t extraBytes = 0;
  int restoreCallsUntilBack = 1;
  std::uintptr_t nextHandle = 1;
  std::map<platform::SoundBufferHandle, Buffer> buffers;
  std::map<platform::Sound3DHandle, platform::SoundBufferHandle> buffers3D;
  int devices = 0;
  int commits = 0;
};

SoundState& State() {
  static SoundState state;
  return state;
}

Buffer* Find(platform::SoundBufferHandle handle) {
  auto found = State().buffers.find(handle);
  return found == State().buffers.end() ? nullptr : &found->second;
}

}  // namespace

void ResetSound() { State() = SoundState{}; }
void SetSoundDeviceAvailable(bool available) { State().deviceAvailable = available; }
void RefuseFull3DAlgorithm(bool refuse) { State().refuseFull3D = refuse; }
void EnlargeSoundBuffers(std::uint32_t bytes) { State().extraBytes = bytes; }

void LoseSoundBuffers(int restoreCallsUntilBack) {
  for (auto& [handle, buffer] : State().buffers) {
    buffer.lost = true;
    buffer.playing = false;
    buffer.restoresUntilBack = restoreCallsUntilBack;
  }
}

std::vector<SoundBufferSeen> SoundBuffers() {
  std::vector<SoundBufferSeen> seen;
  for (const auto& [handle, buffer] : State().buffers) {
    seen.push_back({handle, buffer.bytes, buffer.playing, buffer.looping, buffer.lost, buffer.position,
                    buffer.parameters.position[2], buffer.plays, buffer.format, buffer.parameters});
  }
  return seen;
}

int SoundCommits() { return State().commits; }
std::size_t SoundBufferCount() { return State().buffers.size(); }

}  // namespace sim

namespace platform {

using sim::State;

SoundResult CreateSoundDevice(SoundDeviceHandle* device) {
  if (!State().deviceAvailable) return kSoundInvalidArgument;  // as DirectSound without audio
  ++State().devices;
  *device = 0xD5;
  return kSoundOk;
}

void ReleaseSoundDevice(SoundDeviceHandle /*device*/) { --State().devices; }

SoundResult SetCooperativeLevel(SoundDeviceHandle /*device*/, WindowHandle /*window*/,
                                std::uint32_t /*level*/) {
  return kSoundOk;
}

SoundResult SetPrimaryFormat(SoundDeviceHandle /*device*/, const SoundFormat& /*format*/) { return kSoundOk; }

SoundResult CreateListener(SoundDeviceHandle /*device*/, ListenerHandle* listener) {
  *listener = 0x115;
  return kSoundOk;
}

// Deferred 3-D settings take effect with the listener's commit.
SoundResult CommitListener(ListenerHandle /*listener*/) {
  ++State().commits;
  for (auto& [handle, buffer] : State().buffers) {
    if (buffer.deferred) buffer.parameters = *buffer.deferred;
    buffer.deferred.reset();
  }
  return kSoundOk;
}

SoundResult CreateSoundBuffer(SoundDeviceHandle /*device*/, std::uint32_t /*flags*/, std::uint32_t size,
                              const SoundFormat* format, const Guid& /*algorithm*/,
                              SoundBufferHandle* buffer) {
  *buffer = State().nextHandle++;
  State().buffers[*buffer].bytes.assign(size + State().extraBytes, 0xEE);
  // As DirectSound reads a WAVEFORMATEX: 18 bytes, then as many more as its
  // size word at byte 16 says.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(format);
  const std::size_t extra = static_cast<std::size_t>(bytes[16]) | static_cast<std::size_t>(bytes[17]) << 8;
  State().buffers[*buffer].format.assign(bytes, bytes + 18 + extra);
  return State().refuseFull3D ? kSoundNoVirtualization : kSoundOk;
}

SoundResult DuplicateSoundBuffer(SoundDeviceHandle /*device*/, SoundBufferHandle original,
                                 SoundBufferHandle* copy) {
  const sim::Buffer* source = sim::Find(original);
  if (source == nullptr) return kSoundInvalidArgument;
  *copy = State().nextHandle++;
  State().buffers[*copy].bytes = source->bytes;
  return kSoundOk;
}

void ReleaseSoundBuffer(SoundBufferHandle buffer) { State().buffers.erase(buffer); }

SoundResult BufferStatus(SoundBufferHandle buffer, std::uint32_t* status) {
  const sim::Buffer* found = sim::Find(buffer);
  if (found == nullptr) return kSoundInvalidArgument;
  *status = (found->playing ? kBufferPlaying : 0u) | (found->lost ? kBufferLost : 0u);
  return kSoundOk;
}

SoundResult RestoreBuffer(SoundBufferHandle buffer) {
  sim::Buffer* found = sim::Find(buffer);
  if (found == nullptr) return kSoundInvalidArgument;
  if (found->lost && --found->restoresUntilBack <= 0) {
    found->lost = false;
    std::fill(found->bytes.begin(), found->bytes.end(), 0xEE);  // a restored buffer holds garbage
  }
  return found->lost ? kSoundBufferLost : kSoundOk;
}

SoundResult LockBuffer(SoundBufferHandle buffer, std::uint8_t** bytes, std::uint32_t* size) {
  sim::Buffer* found = sim::Find(buffer);
  if (found == nullptr) return kSoundInvalidArgument;
  *bytes = found->bytes.data();
  *size = static_cast<std::uint32_t>(found->bytes.size());
  return kSoundOk;
}

SoundResult UnlockBuffer(SoundBufferHandle /*buffer*/, std::uint8_t* /*bytes*/, std::uint32_t /*size*/) {
  return kSoundOk;
}

SoundResult SetBufferPosition(SoundBufferHandle buffer, std::uint32_t position) {
  sim::Buffer* found = sim::Find(buffer);
  if (found == nullptr) return kSoundInvalidArgument;
  found->position = position;
  return kSoundOk;
}

SoundResult PlayBuffer(SoundBufferHandle buffer, std::uint32_t /*priority*/, std::uint32_t flags) {
  sim::Buffer* found = sim::Find(buffer);
  if (found == nullptr) return kSoundInvalidArgument;
  if (found->lost) return kSoundBufferLost;
  found->playing = true;
  found->looping = (flags & kPlayLooping) != 0;
  ++found->plays;
  return kSoundOk;
}

SoundResult StopBuffer(SoundBufferHandle buffer) {
  sim::Buffer* found = sim::Find(buffer);
  if (found == nullptr) return kSoundInvalidArgument;
  found->playing = false;
  return kSoundOk;
}

SoundResult Create3DBuffer(SoundBufferHandle buffer, Sound3DHandle* buffer3D) {
  if (sim::Find(buffer) == nullptr) return kSoundInvalidArgument;
  *buffer3D = 0x30000 + buffer;
  State().buffers3D[*buffer3D] = buffer;
  return kSoundOk;
}

void Release3DBuffer(Sound3DHandle buffer3D) { State().buffers3D.erase(buffer3D); }

SoundResult Get3DParameters(Sound3DHandle buffer3D, Sound3DParameters* parameters) {
  auto found = State().buffers3D.find(buffer3D);
  if (found == State().buffers3D.end() || sim::Find(found->second) == nullptr) return kSoundInvalidArgument;
  *parameters = sim::Find(found->second)->parameters;
  parameters->size = sizeof *parameters;
  return kSoundOk;
}

SoundResult Set3DParameters(Sound3DHandle buffer3D, const Sound3DParameters& parameters, bool deferred) {
  auto found = State().buffers3D.find(buffer3D);
  if (found == State().buffers3D.end() || sim::Find(found->second) == nullptr) return kSoundInvalidArgument;
  sim::Buffer& buffer = *sim::Find(found->second);
  if (deferred) {
    buffer.deferred = parameters;
  } else {
    buffer.parameters = parameters;
  }
  return kSoundOk;
}

}  // namespace platform
}  // namespace varolen
