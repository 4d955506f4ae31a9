// libFuzzer target: the view file reader with any bytes as the file.
#include <cstdint>
#include <cstdio>

#include "input/input_state.h"
#include "input/view_presets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "r");
  if (file == nullptr) return 0;
  varolen::ResetInputState();
  varolen::ReadViewPresets(file);
  std::fclose(file);
  return 0;
}
