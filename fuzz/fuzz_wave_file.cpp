// libFuzzer target: the wave file reader with any bytes as the file.
#include <cstdint>

#include "sound/wave_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || size > 0xFFFFFFFFu) return 0;
  varolen::WaveFileReader reader;
  if (reader.Open(data, static_cast<std::uint32_t>(size)) < 0) return 0;
  // The data size never lies beyond the file: reading it all ends.
  if (reader.GetSize() > size) __builtin_trap();
  std::uint8_t buffer[4096];
  std::uint32_t total = 0;
  for (std::uint32_t read = 1; read != 0; total += read) reader.Read(buffer, sizeof buffer, &read);
  if (total != reader.GetSize()) __builtin_trap();
  return 0;
}
