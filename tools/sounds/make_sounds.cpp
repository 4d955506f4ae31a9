// Makes the module's six effect sounds: mono 16-bit PCM wave files at 22050
// Hz, synthesized (no recordings): two wind noises, an airframe creak, walking
// and running footsteps on tarmac, and the rustle of crouching. Each loops
// without a click. Usage: make_sounds OUTPUT_FOLDER
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.141592653589793;

// A fixed-seed generator, so that every build makes the same files.
class Noise {
 public:
  double Next() {
    state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  }

 private:
  std::uint64_t state_ = 0x5EED;
};

// A two-pole resonant filter (state-variable form).
class Filter {
 public:
  Filter(double frequency, double damping) : f_(2.0 * std::sin(kPi * frequency / kRate)), q_(damping) {}
  void Tune(double frequency) { f_ = 2.0 * std::sin(kPi * frequency / kRate); }
  double LowPass(double in) {
    Step(in);
    return low_;
  }
  double BandPass(double in) {
    Step(in);
    return band_;
  }

 private:
  void Step(double in) {
    low_ += f_ * band_;
    const double high = in - low_ - q_ * band_;
    band_ += f_ * high;
  }
  double f_, q_, low_ = 0.0, band_ = 0.0;
};

using Samples = std::vector<double>;

// Fades the end into the start so that the sound loops without a click.
void MakeLoop(Samples& samples, double seconds) {
  const auto overlap = static_cast<std::size_t>(seconds * kRate);
  Samples looped(samples.begin(), samples.end() - static_cast<long>(overlap));
  for (std::size_t index = 0; index < overlap; ++index) {
    const double weight = static_cast<double>(index) / static_cast<double>(overlap);
    looped[index] = looped[index] * weight + samples[samples.size() - overlap + index] * (1.0 - weight);
  }
  samples = looped;
}

void Normalize(Samples& samples, double peak) {
  double largest = 1e-9;
  for (double sample : samples) largest = std::max(largest, std::fabs(sample));
  for (double& sample : samples) sample *= peak / largest;
}

bool Write(const std::string& path, const Samples& samples) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const auto dataSize = static_cast<std::uint32_t>(samples.size() * 2);
  const auto put32 = [file](std::uint32_t value) { std::fwrite(&value, 4, 1, file); };
  const auto put16 = [file](std::uint16_t value) { std::fwrite(&value, 2, 1, file); };
  std::fwrite("RIFF", 1, 4, file);
  put32(36 + dataSize);
  std::fwrite("WAVEfmt ", 1, 8, file);
  put32(16);
  put16(1);  // PCM
  put16(1);  // mono
  put32(kRate);
  put32(kRate * 2);
  put16(2);
  put16(16);
  std::fwrite("data", 1, 4, file);
  put32(dataSize);
  for (double sample : samples) {
    const auto value =
        static_cast<std::int16_t>(std::lround(std::max(-1.0, std::min(1.0, sample)) * 32767.0));
    std::fwrite(&value, 2, 1, file);
  }
  return std::fclose(file) == 0;
}

// Wind: noise through a low, slowly wandering filter, its strength rising and falling.
Samples Wind(double seconds, double brightness, double gustiness, double whistle) {
  Noise noise;
  Filter body(300.0 * brightness, 0.9), sway(1.0, 1.0), tone(900.0, 0.05);
  Samples samples(static_cast<std::size_t>((seconds + 0.5) * kRate));
  for (std::size_t index = 0; index < samples.size(); ++index) {
    const double t = static_cast<double>(index) / kRate;
    const double gust =
        1.0 + gustiness * (0.5 * std::sin(2 * kPi * 0.23 * t) + 0.3 * std::sin(2 * kPi * 0.61 * t + 1.0));
    body.Tune(300.0 * brightness * gust);
    const double air = body.LowPass(noise.Next());
    tone.Tune(900.0 + 150.0 * std::sin(2 * kPi * 0.17 * t));
    samples[index] = air * gust + whistle * tone.BandPass(noise.Next()) * gust;
  }
  MakeLoop(samples, 0.5);
  Normalize(samples, 0.7);
  return samples;
}

// The airframe's creak: slow stick-slip clicks ringing in two resonances,
// swelling and fading like a structure under a changing load.
Samples Creak(double seconds) {
  Noise noise;
  Filter wood(320.0, 0.08), metal(850.0, 0.05), hum(70.0, 0.3);
  Samples samples(static_cast<std::size_t>((seconds + 0.5) * kRate));
  double phase = 0.0;
  for (std::size_t index = 0; index < samples.size(); ++index) {
    const double t = static_cast<double>(index) / kRate;
    const double load = 0.5 + 0.5 * std::sin(2 * kPi * 0.45 * t);
    phase += (25.0 + 30.0 * load) / kRate;  // click rate follows the load
    double click = 0.0;
    if (phase >= 1.0) {
      phase -= 1.0;
      click = (0.6 + 0.4 * noise.Next()) * load;
    }
    samples[index] =
        wood.BandPass(click) + 0.6 * metal.BandPass(click) + 0.3 * hum.BandPass(noise.Next() * load);
  }
  MakeLoop(samples, 0.5);
  Normalize(samples, 0.8);
  return samples;
}

// Footsteps: a heel thump (a falling low tone) and a short gritty scuff, at a
// walking or running pace.
Samples Steps(double period, double force) {
  Noise noise;
  const std::size_t count = static_cast<std::size_t>(2 * period * kRate);  // two steps
  Samples samples(count, 0.0);
  for (int step = 0; step < 2; ++step) {
    Filter grit(2500.0, 0.6);
    const auto start = static_cast<std::size_t>(step * period * kRate);
    for (std::size_t index = 0; index < static_cast<std::size_t>(0.18 * kRate) && start + index < count;
         ++index) {
      const double t = static_cast<double>(index) / kRate;
      const double thump = std::sin(2 * kPi * (95.0 - 200.0 * t) * t) * std::exp(-t * 30.0);
      const double scuff = grit.BandPass(noise.Next()) * std::exp(-t * 45.0) * force;
      samples[start + index] += force * thump + 0.8 * scuff;
    }
  }
  Normalize(samples, 0.6 + 0.3 * (force - 1.0));
  return samples;
}

// Cloth and gear rustling as the pilot crouches.
Samples Rustle(double seconds) {
  Noise noise;
  Filter cloth(3800.0, 0.7);
  Samples samples(static_cast<std::size_t>(seconds * kRate));
  for (std::size_t index = 0; index < samples.size(); ++index) {
    const double t = static_cast<double>(index) / kRate;
    const double envelope = std::sin(kPi * t / seconds) * (0.6 + 0.4 * std::sin(2 * kPi * 7.0 * t));
    samples[index] = cloth.BandPass(noise.Next()) * envelope;
  }
  Normalize(samples, 0.5);
  return samples;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_sounds OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const struct {
    const char* name;
    Samples samples;
  } sounds[] = {
      {"Wind 4-9.wav", Wind(4.0, 1.0, 0.4, 0.0)},
      {"Wind 10-X.wav", Wind(4.0, 2.5, 0.9, 0.35)},
      {"Stress.wav", Creak(3.0)},
      {"Walk.wav", Steps(0.5, 1.0)},
      {"Run.wav", Steps(0.3, 1.4)},
      {"Crouch.wav", Rustle(0.8)},
  };
  for (const auto& sound : sounds) {
    if (!Write(folder + "/" + sound.name, sound.samples)) {
      std::fprintf(stderr, "make_sounds: cannot write %s/%s\n", folder.c_str(), sound.name);
      return 1;
    }
  }
  return 0;
}
