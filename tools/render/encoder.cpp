#include "encoder.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

extern char** environ;

namespace render {

namespace {

// Starts ffmpeg reading raw frames from a pipe; the pipe's writing end, or -1.
int StartFfmpeg(std::vector<std::string> arguments, int width, int height, double framesPerSecond,
                pid_t& process) {
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  std::vector<std::string> command = {"ffmpeg",
                                      "-nostdin",
                                      "-loglevel",
                                      "error",
                                      "-y",
                                      "-f",
                                      "rawvideo",
                                      "-pix_fmt",
                                      "rgb24",
                                      "-s",
                                      size,
                                      "-r",
                                      std::to_string(framesPerSecond),
                                      "-i",
                                      "-"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  argv.reserve(command.size() + 1);
  for (std::string& argument : command) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int ends[2];
  if (pipe(ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  posix_spawn_file_actions_addclose(&actions, ends[1]);
  const int failed = posix_spawnp(&process, "ffmpeg", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ends[0]);
  if (failed != 0) {
    close(ends[1]);
    process = -1;
    return -1;
  }
  return ends[1];
}

bool WriteAll(int to, const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = write(to, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

bool Wait(pid_t process, const std::string& what, std::string& error) {
  int status = 0;
  while (waitpid(process, &status, 0) < 0) {
    if (errno != EINTR) break;
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  error = "ffmpeg could not write " + what;
  return false;
}

}  // namespace

VideoEncoder::VideoEncoder(const std::string& path, int width, int height, double framesPerSecond) {
  // A writer that went away must fail the write, not end the renderer.
  std::signal(SIGPIPE, SIG_IGN);
  // VP9 at a quality a report needs, as fast as libvpx goes.
  input_ = StartFfmpeg({"-c:v", "libvpx-vp9", "-pix_fmt", "yuv420p", "-b:v", "0", "-crf", "40", "-deadline",
                        "realtime", "-cpu-used", "8", "-row-mt", "1", "-an", path},
                       width, height, framesPerSecond, process_);
}

VideoEncoder::~VideoEncoder() {
  std::string ignored;
  if (process_ >= 0) Finish(ignored);
}

void VideoEncoder::Add(const std::vector<std::uint8_t>& picture) {
  if (input_ >= 0 && !WriteAll(input_, picture)) failed_ = true;
}

bool VideoEncoder::Finish(std::string& error) {
  if (process_ < 0) {
    error = "cannot start ffmpeg";
    return false;
  }
  if (input_ >= 0) close(input_);
  input_ = -1;
  const bool written = Wait(process_, "the video", error);
  process_ = -1;
  if (written && failed_) error = "ffmpeg stopped reading the video's frames";
  return written && !failed_;
}

bool WritePicture(const std::string& path, const std::vector<std::uint8_t>& picture, int width, int height,
                  std::string& error) {
  std::signal(SIGPIPE, SIG_IGN);
  pid_t process = -1;
  const int input = StartFfmpeg({"-frames:v", "1", "-update", "1", path}, width, height, 1.0, process);
  if (input < 0) {
    error = "cannot start ffmpeg";
    return false;
  }
  const bool sent = WriteAll(input, picture);
  close(input);
  return Wait(process, path, error) && sent;
}

}  // namespace render
