// Wave files, the playback layer over the recording DirectSound, and the
// effect rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "interaction/walking_pilot.h"
#include "platform/clock.h"
#include "platform/host_memory.h"
#include "shell/frame.h"
#include "shell/host_menu.h"
#include "sound/sound_effects.h"
#include "sound/wave_file.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using Bytes = std::vector<std::uint8_t>;

void Put32(Bytes& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(value >> shift));
}
void Chunk(Bytes& bytes, const char* id, const Bytes& body, std::uint32_t claimed = 0xFFFFFFFF) {
  bytes.insert(bytes.end(), id, id + 4);
  Put32(bytes, claimed != 0xFFFFFFFF ? claimed : static_cast<std::uint32_t>(body.size()));
  bytes.insert(bytes.end(), body.begin(), body.end());
  if (body.size() % 2 == 1) bytes.push_back(0);  // word alignment
}
Bytes Format(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits, const Bytes& extra = {}) {
  Bytes format;
  const auto put16 = [&format](std::uint16_t value) {
    format.push_back(static_cast<std::uint8_t>(value));
    format.push_back(static_cast<std::uint8_t>(value >> 8));
  };
  put16(tag);
  put16(channels);
  Put32(format, 22050);
  Put32(format, 22050 * channels * bits / 8);
  put16(static_cast<std::uint16_t>(channels * bits / 8));
  put16(bits);
  if (tag != 1) {
    put16(static_cast<std::uint16_t>(extra.size()));
    format.insert(format.end(), extra.begin(), extra.end());
  }
  return format;
}
// A wave file from its chunks; `riffSize` overrides the RIFF header's size.
Bytes Wave(const std::vector<std::pair<const char*, Bytes>>& chunks, std::uint32_t riffSize = 0xFFFFFFFF) {
  Bytes body = {'W', 'A', 'V', 'E'};
  for (const auto& [id, content] : chunks) Chunk(body, id, content);
  Bytes file;
  Chunk(file, "RIFF", body, riffSize);
  return file;
}

std::string Save(const std::string& name, const Bytes& bytes) {
  const auto path = testing::TestFolder() / name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

TEST(WaveFile, ReadsHeadersAndRefusesBrokenOnes) {
  const Bytes samples = {1, 2, 3, 4, 5, 6};
  const Bytes pcm = Format(1, 1, 16);
  const struct {
    const char* name;
    Bytes file;
    bool opens;
    std::uint32_t dataSize;
  } cases[] = {
      {"plain", Wave({{"fmt ", pcm}, {"data", samples}}), true, 6},
      {"an odd chunk before the data", Wave({{"fmt ", pcm}, {"LIST", {9, 9, 9}}, {"data", samples}}), true,
       6},
      {"data before the format", Wave({{"data", samples}, {"fmt ", pcm}}), true, 6},
      {"extra format bytes", Wave({{"fmt ", Format(2, 1, 4, {7, 7, 7, 7})}, {"data", samples}}), true, 6},
      {"empty data", Wave({{"fmt ", pcm}, {"data", {}}}), true, 0},
      {"not RIFF",
       [&] {
         Bytes b = Wave({{"fmt ", pcm}, {"data", samples}});
         b[0] = 'X';
         return b;
       }(),
       false, 0},
      {"not WAVE",
       [&] {
         Bytes b = Wave({{"fmt ", pcm}, {"data", samples}});
         b[8] = 'X';
         return b;
       }(),
       false, 0},
      {"a short format", Wave({{"fmt ", Bytes(pcm.begin(), pcm.begin() + 14)}, {"data", samples}}), false, 0},
      {"no data", Wave({{"fmt ", pcm}}), false, 0},
      {"a RIFF size beyond the file", Wave({{"fmt ", pcm}, {"data", samples}}, 4000), false, 0},
      {"a data size beyond the file",
       [&] {
         Bytes b = Wave({{"fmt ", pcm}, {"data", samples}});
         b[b.size() - 10] = 200;
         return b;
       }(),
       false, 0},
      {"nothing", {}, false, 0},
  };
  for (const auto& c : cases) {
    WaveFileReader reader;
    const platform::SoundResult result = reader.Open(Save("wave", c.file).c_str());
    EXPECT_EQ(result >= 0, c.opens) << c.name;
    EXPECT_EQ(reader.GetFormat() != nullptr, c.opens) << c.name;
    EXPECT_EQ(reader.GetSize(), c.dataSize) << c.name;
    if (c.dataSize != 0) {
      std::uint8_t read[16];
      std::uint32_t count = 0;
      reader.Read(read, sizeof read, &count);
      EXPECT_EQ(count, 6u) << c.name;
      EXPECT_EQ(read[5], 6) << c.name;
    }
  }
  WaveFileReader reader;
  reader.Open(Save("extra", Wave({{"fmt ", Format(2, 1, 4, {7, 7, 7, 7})}, {"data", samples}})).c_str());
  EXPECT_EQ(reader.GetFormat()->extraSize, 4);
}

// DirectSound reads a WAVEFORMATEX: 18 bytes, the extra bytes right after.
TEST(WaveFile, AFormatsExtraBytesReachTheDeviceWhereItReadsThem) {
  testing::ResetModule();
  const Bytes extra = {0xA1, 0xB2, 0xC3, 0xD4};
  const std::string path = Save("adpcm", Wave({{"fmt ", Format(2, 1, 4, extra)}, {"data", Bytes(64, 1)}}));
  SoundDevice device;
  ASSERT_GE(device.Initialize(0, 2, 1, 22050, 16), 0);
  SoundClip clip;
  ASSERT_GE(device.CreateSound(clip, path.c_str(), platform::kBufferControl3D, {}, 1), 0);
  const auto buffers = sim::SoundBuffers();
  ASSERT_EQ(buffers.size(), 1u);
  const Bytes& format = buffers[0].format;
  ASSERT_EQ(format.size(), 22u);
  EXPECT_EQ(format[16], 4) << "the extra size word at byte 16";
  EXPECT_EQ(Bytes(format.begin() + 18, format.end()), extra);
}

// A clip of four buffers plays on a free one; with all four playing, one of
// them drawn at random starts again.
TEST(WaveFile, AClipWhoseBuffersAllPlayRestartsOneAtRandom) {
  testing::ResetModule();
  const std::string path = Save("four", Wave({{"fmt ", Format(1, 1, 16)}, {"data", Bytes(64, 1)}}));
  SoundDevice device;
  ASSERT_GE(device.Initialize(0, 2, 1, 22050, 16), 0);
  SoundClip clip;
  ASSERT_GE(device.CreateSound(clip, path.c_str(), platform::kBufferControl3D, {}, 4), 0);
  for (int play = 0; play < 4; ++play) clip.Play(0, 0);
  sim::SeedRandom(1);  // the first draw is 41: 41 % 4 starts the second buffer again
  clip.Play(0, 0);
  const auto buffers = sim::SoundBuffers();
  ASSERT_EQ(buffers.size(), 4u);
  for (std::size_t index = 0; index < 4; ++index)
    EXPECT_EQ(buffers[index].plays, index == 1 ? 2u : 1u) << index;
}

class Sounds : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    folder_ = testing::TestFolder() / "simulator";
    std::filesystem::create_directories(folder_ / "Varolen" / "Sound");
    for (const char* name :
         {"Wind 4-9.wav", "Wind 10-X.wav", "Stress.wav", "Walk.wav", "Run.wav", "Crouch.wav"}) {
      WriteSound(name, Format(1, 1, 16), Bytes(400, 0x40));
    }
  }
  void WriteSound(const char* name, const Bytes& format, const Bytes& data) {
    const Bytes file = Wave({{"fmt ", format}, {"data", data}});
    std::ofstream(folder_ / "Varolen" / "Sound" / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  // Start-up with the sounds folder, and the sound set-up of the first update.
  void Start() {
    sim::SetModuleFilePath(folder_.string() + "\\Modules\\Varolen2004.dll");
    main_ = StartWithHostWindow();
    UpdateSoundEffects(platform::TimeGetTime());
  }
  // "Sound on" in the menu, as the host sends it.
  void SwitchSound() { sim::TakeThroughHooks(main_, kCommand, kMenuSound); }
  static const sim::SoundBufferSeen& BufferOf(int slot) {
    static sim::SoundBufferSeen seen;
    for (const auto& buffer : sim::SoundBuffers()) {
      if (0x30000 + buffer.handle == SoundSlots[slot].buffer3D) seen = buffer;
    }
    return seen;
  }
  void Rules(double wind, int inCockpit, double buffet = 0) {
    Rules({.inCockpit = inCockpit != 0, .buffetLevel = buffet, .wind = wind});
  }
  void Rules(const SoundScene& scene) {
    ApplySoundEffectRules(scene);
    UpdateSoundEffects(platform::TimeGetTime());
  }
  std::filesystem::path folder_;
  sim::WindowHandle main_ = 0;
};

TEST_F(Sounds, WindAndStressFollowTheViewAndTheWeather) {
  Start();
  const struct {
    double wind;
    int inCockpit;
    double buffet;
    bool light, strong, stress;
    float distance;  // of the light wind
  } cases[] = {
      {4.0, 0, 0, true, false, false, 1.4f},   {9.99, 0, 0, true, false, false, 0.202f},
      {10.0, 0, 0, false, true, false, 0.0f},  {3.9, 0, 0, false, false, false, 0.0f},
      {6.0, 1, 0, false, false, false, 0.0f},   // from the cockpit: no wind
      {6.0, 1, 0.5, false, false, true, 0.0f},  // buffeting in the cockpit: stress
      {6.0, 0, 0.5, true, false, false, 1.0f},  // outside: no stress
  };
  for (const auto& c : cases) {
    Rules(c.wind, c.inCockpit, c.buffet);
    EXPECT_EQ(BufferOf(kLightWindSoundSlot).playing, c.light) << c.wind;
    EXPECT_EQ(BufferOf(kStrongWindSoundSlot).playing, c.strong) << c.wind;
    EXPECT_EQ(BufferOf(kStressSoundSlot).playing, c.stress) << c.wind;
    if (c.light) {
      EXPECT_NEAR(BufferOf(kLightWindSoundSlot).distance, c.distance, 1e-3) << c.wind;
    }
  }
  EXPECT_FLOAT_EQ(BufferOf(kStrongWindSoundSlot).distance, 0.2f) << "the strong wind at full volume";
}

// The effect sounds start only once the module has run more than 5 s.
TEST_F(Sounds, TheRulesWaitFiveSeconds) {
  Start();
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
  testing::Flight flight;
  flight.wind = 12;  // strong wind, heard outside the cockpit
  testing::SetFlight(flight);
  std::uint32_t clock = 10000;
  testing::RunFrameAt(clock);  // elapsed 1.0
  while (FrameClock.elapsed < 5.0) testing::RunFrameAt(clock += 500);
  ASSERT_EQ(FrameClock.elapsed, 5.0);
  EXPECT_FALSE(BufferOf(kStrongWindSoundSlot).playing) << "at exactly 5 s";
  testing::RunFrameAt(clock += 500);
  EXPECT_TRUE(BufferOf(kStrongWindSoundSlot).playing) << "at 5.5 s";
}

// With the internal view off the five effect sounds are stopped on every frame
// and the cockpit does not tick.
TEST_F(Sounds, WithTheInternalViewOffTheEffectSoundsStopEveryFrame) {
  Start();
  testing::Switch(&CameraSettingsRecord::InternalViewActive, false);
  testing::SetFlight({});
  std::uint32_t clock = 10000;
  for (int frame = 0; frame < 3; ++frame) testing::RunFrameAt(clock += 1000);
  constexpr int kEffects[] = {kWalkSoundSlot, kRunSoundSlot, kLightWindSoundSlot, kStrongWindSoundSlot,
                              kStressSoundSlot};
  for (int round = 0; round < 2; ++round) {
    for (int slot : kEffects) StartSoundSlot(slot, 1);
    StartSoundSlot(kCrouchSoundSlot, 1);
    testing::RunFrameAt(clock += 100);
    for (int slot : kEffects) EXPECT_FALSE(BufferOf(slot).playing) << "slot " << slot << ", round " << round;
    EXPECT_TRUE(BufferOf(kCrouchSoundSlot).playing) << "not one of the five";
  }
  EXPECT_EQ(CockpitTick.clock.reading, 0u) << "no tick ran";
}

// At load every sound gets its 3-D settings at once: normal mode, heard from
// 1 m to 1e9 m. Its place before the listener is set deferred, every frame,
// and heard when the listener commits.
TEST_F(Sounds, ThreeDimensionalSettingsAtLoadAndDeferredPlaces) {
  Start();
  for (int slot : {kLightWindSoundSlot, kStrongWindSoundSlot, kStressSoundSlot, kWalkSoundSlot, kRunSoundSlot,
                   kCrouchSoundSlot}) {
    const platform::Sound3DParameters& heard = BufferOf(slot).parameters;
    EXPECT_EQ(heard.mode, 0u) << slot;
    EXPECT_EQ(heard.minimumDistance, 1.0f) << slot;
    EXPECT_EQ(heard.maximumDistance, 1.0e9f) << slot;
    EXPECT_FLOAT_EQ(heard.position[2], 0.2f) << slot << ": placed and committed at full volume";
  }
  const int commits = sim::SoundCommits();
  Rules(7.0, 0);  // light wind at 0.7: 0.2 x (1 + 10 x 0.3) = 0.8 m away
  EXPECT_EQ(sim::SoundCommits(), commits + 1);
  EXPECT_FLOAT_EQ(BufferOf(kLightWindSoundSlot).distance, 0.8f);
  EXPECT_EQ(BufferOf(kLightWindSoundSlot).parameters.maximumDistance, 1.0e9f) << "kept through the places";
}

// Whole frames: footsteps only while the walking pilot walks, not while the
// same keys move the eye in the cockpit; the wind outside again as soon as
// the host shows an outside view after the cockpit.
TEST_F(Sounds, TheFramesSceneFollowsThePilotAndTheView) {
  const struct {
    const char* what;
    bool pilotOut;
    std::int32_t kindAfter;  // the host's view after 8 s of frames in the virtual cockpit
    bool footsteps, wind;
  } cases[] = {
      {"the eye moved forward in the cockpit", false, 2, false, false},
      {"the walking pilot walking", true, 2, true, true},
      {"the spot view after the cockpit", false, 4, false, true},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    SetUp();
    sim::SetModuleFilePath(folder_.string() + "\\Modules\\Varolen2004.dll");
    const HostAddress record = StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}}})[0];
    testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, c.pilotOut);
    testing::SetFlight({.altitude = 1000, .wind = 6});  // on the ground, a light wind
    std::uint32_t clock = 10000;
    for (int frame = 0; frame < 80; ++frame) testing::RunFrameAt(clock += 100);
    platform::WriteHost<std::int32_t>(record + view_record::kKind, c.kindAfter);
    testing::Poke(MovementKeys).PilotForward = 1;
    for (int frame = 0; frame < 3; ++frame) testing::RunFrameAt(clock += 100);
    EXPECT_EQ(BufferOf(kWalkSoundSlot).playing, c.footsteps) << c.what;
    EXPECT_EQ(BufferOf(kLightWindSoundSlot).playing, c.wind) << c.what;
  }
}

TEST_F(Sounds, FootstepsLoopsAndMute) {
  Start();
  const SoundScene walking{.pilotWalking = true}, running{.pilotWalking = true, .pilotRunning = true};
  Rules(walking);
  EXPECT_TRUE(BufferOf(kWalkSoundSlot).playing);
  Rules(walking);
  EXPECT_EQ(BufferOf(kWalkSoundSlot).plays, 1u) << "a looping sound is not restarted";
  Rules(running);
  EXPECT_TRUE(BufferOf(kRunSoundSlot).playing);
  EXPECT_FALSE(BufferOf(kWalkSoundSlot).playing);
  // Sound off: stopped but remembered; on again: looping as before.
  SwitchSound();
  EXPECT_FALSE(BufferOf(kRunSoundSlot).playing);
  EXPECT_EQ(SoundSlots[kRunSoundSlot].state, 2);
  SwitchSound();
  EXPECT_TRUE(BufferOf(kRunSoundSlot).playing);
  EXPECT_TRUE(BufferOf(kRunSoundSlot).looping);
  Rules({});
  EXPECT_FALSE(BufferOf(kRunSoundSlot).playing);
  EXPECT_FALSE(BufferOf(kWalkSoundSlot).playing);
  // With the sound off a start is only recorded.
  testing::Switch(&CameraSettingsRecord::SoundOn, false);
  Rules(running);
  EXPECT_FALSE(BufferOf(kRunSoundSlot).playing);
  EXPECT_EQ(SoundSlots[kRunSoundSlot].state, 2);
}

TEST_F(Sounds, UnsuitableSoundsAndDevicesAreLeftUnused) {
  WriteSound("Walk.wav", Format(1, 2, 16), Bytes(400, 1));        // stereo
  WriteSound("Run.wav", Format(2, 1, 4, {0, 0}), Bytes(400, 1));  // not PCM
  WriteSound("Crouch.wav", Format(1, 1, 16), {});                 // empty
  Start();
  EXPECT_EQ(SoundSlots[kWalkSoundSlot].loaded, 0);
  EXPECT_EQ(SoundSlots[kRunSoundSlot].loaded, 0);
  EXPECT_EQ(SoundSlots[kCrouchSoundSlot].loaded, 0);
  EXPECT_EQ(StartSoundSlot(kWalkSoundSlot, 1), 0);
  EXPECT_EQ(SoundSlots[kStressSoundSlot].loaded, 1);

  // DirectSound that gives another 3-D algorithm: nothing loads.
  testing::ResetModule();
  sim::RefuseFull3DAlgorithm(true);
  Start();
  EXPECT_EQ(SoundSlots[kStressSoundSlot].loaded, 0);

  // No audio device: nothing happens, and the set-up is tried again a second
  // later (not every frame: without audio a set-up takes milliseconds).
  testing::ResetModule();
  sim::SetSoundDeviceAvailable(false);
  sim::SetClock(20000);
  Start();
  EXPECT_FALSE(SoundSystem.device.Exists());
  EXPECT_EQ(StartSoundSlot(kStressSoundSlot, 1), 0);
  sim::SetSoundDeviceAvailable(true);
  for (const auto& [clock, exists] : {std::pair{20500u, false}, {20999u, false}, {21000u, true}}) {
    sim::SetClock(clock);
    UpdateSoundEffects(platform::TimeGetTime());
    EXPECT_EQ(SoundSystem.device.Exists(), exists) << clock;
  }
}

TEST_F(Sounds, BuffersAreFilledPaddedAndRestored) {
  WriteSound("Stress.wav", Format(1, 1, 8), Bytes(100, 7));
  sim::EnlargeSoundBuffers(20);
  Start();
  const Bytes& walk = BufferOf(kWalkSoundSlot).bytes;  // 16-bit: padded with 0
  EXPECT_EQ(walk[399], 0x40);
  EXPECT_EQ(walk[400], 0);
  const Bytes& stress = BufferOf(kStressSoundSlot).bytes;  // 8-bit: padded with 128
  EXPECT_EQ(stress[99], 7);
  EXPECT_EQ(stress[119], 128);

  // Lost: restored, refilled and rewound before it plays.
  platform::SetBufferPosition(BufferOf(kStressSoundSlot).handle, 60);
  sim::LoseSoundBuffers(3);
  EXPECT_EQ(testing::Poke(SoundSlots[kStressSoundSlot]).sound.Play(0, 0), 0);
  EXPECT_EQ(BufferOf(kStressSoundSlot).bytes[50], 7);
  EXPECT_EQ(BufferOf(kStressSoundSlot).position, 0u);
  EXPECT_TRUE(BufferOf(kStressSoundSlot).playing);
  // Lost for good: given up in bounded time, not played.
  sim::LoseSoundBuffers(1000000);
  EXPECT_EQ(testing::Poke(SoundSlots[kStressSoundSlot]).sound.Play(0, 0), platform::kSoundBufferLost);
}

}  // namespace
}  // namespace varolen
