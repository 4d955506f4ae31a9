// DirectSound 8 behind the sound port.
#include <initguid.h>
// dsound.h after initguid.h: this file defines the interface identifiers.
#include <dsound.h>
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "platform/sound.h"

namespace varolen::platform {

static_assert(sizeof(Sound3DParameters) == sizeof(DS3DBUFFER));
static_assert(offsetof(Sound3DParameters, minimumDistance) == offsetof(DS3DBUFFER, flMinDistance));
static_assert(sizeof(Guid) == sizeof(GUID));

namespace {

IDirectSound8* Device(SoundDeviceHandle device) { return reinterpret_cast<IDirectSound8*>(device); }
IDirectSoundBuffer* Buffer(SoundBufferHandle buffer) { return reinterpret_cast<IDirectSoundBuffer*>(buffer); }
IDirectSound3DBuffer* Buffer3D(Sound3DHandle buffer) {
  return reinterpret_cast<IDirectSound3DBuffer*>(buffer);
}

SoundResult CreatePrimary(SoundDeviceHandle device, DWORD flags, IDirectSoundBuffer** primary) {
  DSBUFFERDESC description = {};
  description.dwSize = sizeof description;
  description.dwFlags = flags;
  return Device(device)->CreateSoundBuffer(&description, primary, nullptr);
}

}  // namespace

SoundResult CreateSoundDevice(SoundDeviceHandle* device) {
  IDirectSound8* created = nullptr;
  const HRESULT result = DirectSoundCreate8(nullptr, &created, nullptr);
  *device = reinterpret_cast<SoundDeviceHandle>(created);
  return result;
}

void ReleaseSoundDevice(SoundDeviceHandle device) { Device(device)->Release(); }

SoundResult SetCooperativeLevel(SoundDeviceHandle device, WindowHandle window, std::uint32_t level) {
  return Device(device)->SetCooperativeLevel(reinterpret_cast<HWND>(window), level);
}

SoundResult SetPrimaryFormat(SoundDeviceHandle device, const SoundFormat& format) {
  IDirectSoundBuffer* primary = nullptr;
  HRESULT result = CreatePrimary(device, DSBCAPS_PRIMARYBUFFER, &primary);
  if (FAILED(result)) return result;
  WAVEFORMATEX wave = {};
  std::memcpy(&wave, &format, sizeof format < sizeof wave ? sizeof format : sizeof wave);
  result = primary->SetFormat(&wave);
  primary->Release();
  return result;
}

SoundResult CreateListener(SoundDeviceHandle device, ListenerHandle* listener) {
  IDirectSoundBuffer* primary = nullptr;
  HRESULT result = CreatePrimary(device, DSBCAPS_CTRL3D | DSBCAPS_PRIMARYBUFFER, &primary);
  if (FAILED(result)) return result;
  IDirectSound3DListener* interface3D = nullptr;
  result = primary->QueryInterface(IID_IDirectSound3DListener, reinterpret_cast<void**>(&interface3D));
  primary->Release();
  *listener = reinterpret_cast<ListenerHandle>(interface3D);
  return result;
}

SoundResult CommitListener(ListenerHandle listener) {
  return reinterpret_cast<IDirectSound3DListener*>(listener)->CommitDeferredSettings();
}

SoundResult CreateSoundBuffer(SoundDeviceHandle device, std::uint32_t flags, std::uint32_t size,
                              const SoundFormat* format, const Guid& algorithm, SoundBufferHandle* buffer) {
  DSBUFFERDESC description = {};
  description.dwSize = sizeof description;
  description.dwFlags = flags;
  description.dwBufferBytes = size;
  description.lpwfxFormat = reinterpret_cast<WAVEFORMATEX*>(const_cast<SoundFormat*>(format));
  std::memcpy(&description.guid3DAlgorithm, &algorithm, sizeof algorithm);
  IDirectSoundBuffer* created = nullptr;
  const HRESULT result = Device(device)->CreateSoundBuffer(&description, &created, nullptr);
  *buffer = reinterpret_cast<SoundBufferHandle>(created);
  return result;
}

SoundResult DuplicateSoundBuffer(SoundDeviceHandle device, SoundBufferHandle original,
                                 SoundBufferHandle* copy) {
  IDirectSoundBuffer* created = nullptr;
  const HRESULT result = Device(device)->DuplicateSoundBuffer(Buffer(original), &created);
  *copy = reinterpret_cast<SoundBufferHandle>(created);
  return result;
}

void ReleaseSoundBuffer(SoundBufferHandle buffer) { Buffer(buffer)->Release(); }

SoundResult BufferStatus(SoundBufferHandle buffer, std::uint32_t* status) {
  DWORD value = 0;
  const HRESULT result = Buffer(buffer)->GetStatus(&value);
  *status = value;
  return result;
}

SoundResult RestoreBuffer(SoundBufferHandle buffer) { return Buffer(buffer)->Restore(); }

SoundResult LockBuffer(SoundBufferHandle buffer, std::uint8_t** bytes, std::uint32_t* size) {
  void* first = nullptr;
  DWORD firstSize = 0;
  const HRESULT result =
      Buffer(buffer)->Lock(0, 0, &first, &firstSize, nullptr, nullptr, DSBLOCK_ENTIREBUFFER);
  *bytes = static_cast<std::uint8_t*>(first);
  *size = firstSize;
  return result;
}

SoundResult UnlockBuffer(SoundBufferHandle buffer, std::uint8_t* bytes, std::uint32_t size) {
  return Buffer(buffer)->Unlock(bytes, size, nullptr, 0);
}

SoundResult SetBufferPosition(SoundBufferHandle buffer, std::uint32_t position) {
  return Buffer(buffer)->SetCurrentPosition(position);
}

SoundResult PlayBuffer(SoundBufferHandle buffer, std::uint32_t priority, std::uint32_t flags) {
  return Buffer(buffer)->Play(0, priority, flags);
}

SoundResult StopBuffer(SoundBufferHandle buffer) { return Buffer(buffer)->Stop(); }

SoundResult Create3DBuffer(SoundBufferHandle buffer, Sound3DHandle* buffer3D) {
  IDirectSound3DBuffer* interface3D = nullptr;
  const HRESULT result =
      Buffer(buffer)->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&interface3D));
  *buffer3D = reinterpret_cast<Sound3DHandle>(interface3D);
  return result;
}

void Release3DBuffer(Sound3DHandle buffer3D) { Buffer3D(buffer3D)->Release(); }

SoundResult Get3DParameters(Sound3DHandle buffer3D, Sound3DParameters* parameters) {
  parameters->size = sizeof(DS3DBUFFER);
  return Buffer3D(buffer3D)->GetAllParameters(reinterpret_cast<DS3DBUFFER*>(parameters));
}

SoundResult Set3DParameters(Sound3DHandle buffer3D, const Sound3DParameters& parameters, bool deferred) {
  return Buffer3D(buffer3D)->SetAllParameters(reinterpret_cast<const DS3DBUFFER*>(&parameters),
                                              deferred ? DS3D_DEFERRED : DS3D_IMMEDIATE);
}

}  // namespace varolen::platform
