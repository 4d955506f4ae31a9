// Draws a frame of a scenario as the host would show it, with OSMesa (OpenGL
// without a display): the sky and the horizon, the ground with its grid and
// the runway, the scenery, the aircraft, and the cockpit around the eye.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "scene.h"

namespace render {

struct Style {
  // Only a 2 m cube centred on the aircraft's reference point, on black:
  // where the projection puts the aircraft, for tests.
  bool marker = false;
};

class Renderer {
 public:
  Renderer(int width, int height, Style style = {});
  ~Renderer();
  Renderer(const Renderer&) = delete;
  Renderer& operator=(const Renderer&) = delete;

  // False when no OpenGL context could be made.
  bool Ready() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

  void Draw(const Scene& scene, const View& view);
  // The last picture: rows from the top, three bytes (red, green, blue) a pixel.
  const std::vector<std::uint8_t>& Picture() const { return picture_; }

 private:
  struct Context;
  int width_, height_;
  Style style_;
  std::unique_ptr<Context> context_;
  std::vector<std::uint8_t> buffer_;  // what OpenGL draws into: rows from the bottom, four bytes a pixel
  std::vector<std::uint8_t> picture_;
};

}  // namespace render
