// Pictures and videos written by Debian's ffmpeg, fed raw frames through a
// pipe (no shell: the paths pass as they are).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace render {

// A WebM (VP9) video of frames of width x height, three bytes a pixel.
class VideoEncoder {
 public:
  VideoEncoder(const std::string& path, int width, int height, double framesPerSecond);
  ~VideoEncoder();
  VideoEncoder(const VideoEncoder&) = delete;
  VideoEncoder& operator=(const VideoEncoder&) = delete;

  bool Good() const { return input_ >= 0; }
  void Add(const std::vector<std::uint8_t>& picture);
  // Waits for ffmpeg; false with `error` set when the video was not written.
  bool Finish(std::string& error);

 private:
  pid_t process_ = -1;
  int input_ = -1;
  bool failed_ = false;
};

// A PNG picture (or any format ffmpeg knows by the name's extension).
bool WritePicture(const std::string& path, const std::vector<std::uint8_t>& picture, int width, int height,
                  std::string& error);

}  // namespace render
