#include "renderer.h"

#include <GL/gl.h>
#include <GL/osmesa.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace render {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Colour {
  float r, g, b;
};

constexpr Colour kHaze = {0.80f, 0.85f, 0.90f};
constexpr Colour kGrass = {0.40f, 0.52f, 0.31f};
constexpr Colour kGridLine = {0.33f, 0.45f, 0.26f};
constexpr Colour kAsphalt = {0.33f, 0.33f, 0.35f};
constexpr Colour kPaint = {0.92f, 0.92f, 0.90f};
constexpr Colour kConcrete = {0.72f, 0.66f, 0.56f};
constexpr Colour kAirframe = {0.93f, 0.93f, 0.95f};
constexpr Colour kTrim = {0.75f, 0.12f, 0.10f};
constexpr Colour kTyre = {0.08f, 0.08f, 0.08f};
constexpr Colour kInterior = {0.22f, 0.23f, 0.25f};
constexpr Colour kPanel = {0.12f, 0.13f, 0.14f};
constexpr Colour kGauge = {0.03f, 0.03f, 0.03f};
constexpr Colour kRim = {0.75f, 0.75f, 0.72f};
constexpr Colour kPointerFill = {1.00f, 1.00f, 1.00f};
constexpr Colour kPointerEdge = {0.00f, 0.00f, 0.00f};
constexpr Colour kMarker = {1.00f, 0.00f, 1.00f};

// Where the light comes from: high in the south-west.
const Vec kSun = Unit({-0.4, 0.8, 0.45});

void Paint(const Colour& colour, double shade = 1.0) {
  glColor3f(static_cast<float>(colour.r * shade), static_cast<float>(colour.g * shade),
            static_cast<float>(colour.b * shade));
}

void Vertex(const Vec& v) { glVertex3d(v.x, v.y, v.z); }

// A flat face, shaded by how it faces the sun (either side lit alike).
void Face(const Colour& colour, std::initializer_list<Vec> corners) {
  const Vec* c = corners.begin();
  const Vec normal = Unit(Cross(c[1] - c[0], c[2] - c[0]));
  Paint(colour, 0.62 + 0.38 * std::fabs(Dot(normal, kSun)));
  glBegin(GL_POLYGON);
  for (const Vec& corner : corners) Vertex(corner);
  glEnd();
}

// A solid made of two rings of four corners (bottom-left, bottom-right,
// top-right, top-left), joined by its sides and closed at both ends.
void Loft(const Colour& colour, const Vec (&a)[4], const Vec (&b)[4]) {
  for (int i = 0; i < 4; ++i) {
    const int j = (i + 1) % 4;
    Face(colour, {a[i], a[j], b[j], b[i]});
  }
  Face(colour, {a[0], a[1], a[2], a[3]});
  Face(colour, {b[0], b[1], b[2], b[3]});
}

// A ring of a cross-section at `z` (the aircraft's frame): from `bottom` to
// `top`, `half` wide each side.
void Ring(double z, double bottom, double top, double half, Vec (&ring)[4]) {
  ring[0] = {-half, bottom, z};
  ring[1] = {half, bottom, z};
  ring[2] = {half, top, z};
  ring[3] = {-half, top, z};
}

void Block(const Colour& colour, const Vec& low, const Vec& high) {
  Vec a[4], b[4];
  Ring(low.z, low.y, high.y, 0, a);
  Ring(high.z, low.y, high.y, 0, b);
  for (Vec* ring : {a, b}) {
    ring[0].x = ring[3].x = low.x;
    ring[1].x = ring[2].x = high.x;
  }
  Loft(colour, a, b);
}

// A thin post between two points, square in section.
void Post(const Colour& colour, const Vec& from, const Vec& to, double thickness) {
  const Vec along = Unit(to - from);
  Vec side = Cross(along, {0, 0, 1});
  if (Dot(side, side) < 1e-6) side = Cross(along, {1, 0, 0});
  side = Unit(side) * (thickness / 2);
  const Vec other = Unit(Cross(along, side)) * (thickness / 2);
  const Vec a[4] = {from - side - other, from + side - other, from + side + other, from - side + other};
  const Vec b[4] = {to - side - other, to + side - other, to + side + other, to - side + other};
  Loft(colour, a, b);
}

// A disc facing `toward`, as a fan, or its rim as a loop.
void Disc(const Vec& centre, double radius, const Vec& toward, bool filled) {
  const Vec normal = Unit(toward - centre);
  Vec u = Cross(normal, {0, 1, 0});
  if (Dot(u, u) < 1e-6) u = {1, 0, 0};
  u = Unit(u);
  const Vec v = Cross(u, normal);
  glBegin(filled ? GL_TRIANGLE_FAN : GL_LINE_LOOP);
  if (filled) Vertex(centre);
  for (int step = 0; step <= 24; ++step) {
    const double a = 2 * kPi * step / 24;
    Vertex(centre + u * (radius * std::cos(a)) + v * (radius * std::sin(a)));
  }
  glEnd();
}

// The sky around the camera: a dome from the haze at the horizon to deep blue
// overhead, drawn first and behind everything.
void Sky(const Vec& centre) {
  struct Band {
    double elevation;
    Colour colour;
  };
  static constexpr Band kBands[] = {{-90, kHaze},
                                    {0, kHaze},
                                    {4, {0.68f, 0.78f, 0.90f}},
                                    {15, {0.49f, 0.64f, 0.86f}},
                                    {45, {0.30f, 0.47f, 0.78f}},
                                    {90, {0.22f, 0.38f, 0.72f}}};
  constexpr double kRadius = 1000.0;
  constexpr int kSteps = 36;
  for (std::size_t band = 0; band + 1 < std::size(kBands); ++band) {
    glBegin(GL_QUAD_STRIP);
    for (int step = 0; step <= kSteps; ++step) {
      const double around = 2 * kPi * step / kSteps;
      for (const Band* edge : {&kBands[band + 1], &kBands[band]}) {
        const double up = edge->elevation * kPi / 180;
        Paint(edge->colour);
        Vertex(centre +
               Vec{std::cos(up) * std::cos(around), std::sin(up), std::cos(up) * std::sin(around)} * kRadius);
      }
    }
    glEnd();
  }
}

// A line or a strip on the ground from `from` to `to` (`across` its half
// width), in pieces: OpenGL fogs by vertex, so nothing on the ground may be
// long for its distance.
void Pieces(const Vec& from, const Vec& to, const Vec& across, GLenum mode) {
  constexpr double kPiece = 200.0;
  const Vec step = to - from;
  const int count = std::max(1, static_cast<int>(std::ceil(std::sqrt(Dot(step, step)) / kPiece)));
  glBegin(mode);
  for (int piece = 0; piece <= count; ++piece) {
    const Vec at = from + step * (static_cast<double>(piece) / count);
    Vertex(at - across);
    if (mode == GL_QUAD_STRIP) Vertex(at + across);
  }
  glEnd();
}

void DrawRunway(const Runway& runway, double y) {
  const Vec along = runway.direction;
  const Vec across = Vec{-along.z, 0, along.x};
  const Vec start = {runway.start.x, y, runway.start.z};
  const auto strip = [&](const Colour& colour, double from, double to, double left, double right) {
    Paint(colour);
    const Vec middle = across * ((left + right) / 2);
    Pieces(start + along * from + middle, start + along * to + middle, across * ((right - left) / 2),
           GL_QUAD_STRIP);
  };
  strip(kAsphalt, 0, kRunwayLength, -kRunwayWidth / 2, kRunwayWidth / 2);
  // The centre line's 30 m stripes every 50 m, and nine threshold bars at each end.
  for (int stripe = 0; 60 + 50 * stripe + 30 < kRunwayLength - 60; ++stripe) {
    const double at = 60 + 50 * stripe;
    strip(kPaint, at, at + 30, -0.45, 0.45);
  }
  for (const double end : {6.0, kRunwayLength - 36.0}) {
    for (int bar = 0; bar < 9; ++bar) {
      const double middle = -18 + 4.5 * bar;
      strip(kPaint, end, end + 30, middle - 0.9, middle + 0.9);
    }
  }
}

// The ground: a plane at the scenario's elevation, cut in rings around the
// camera, with a 100 m grid and the runways, all drawn before the solids
// (nothing lies under the ground, so they need no depth test among themselves).
void Ground(const Scene& scene, const Vec& camera) {
  constexpr double kRings[] = {0, 30, 100, 250, 500, 1000, 2000, 3500, 6000, 10000, 16000, 25000, 40000};
  constexpr int kSectors = 48;
  constexpr double kGrid = 100.0;
  constexpr int kGridLines = 60;  // each way: 6 km
  constexpr double kGridReach = kGrid * kGridLines;
  const double y = scene.groundMetres;
  Paint(kGrass);
  for (std::size_t ring = 0; ring + 1 < std::size(kRings); ++ring) {
    glBegin(GL_QUAD_STRIP);
    for (int sector = 0; sector <= kSectors; ++sector) {
      const double a = 2 * kPi * sector / kSectors;
      for (const double radius : {kRings[ring], kRings[ring + 1]})
        glVertex3d(camera.x + radius * std::cos(a), y, camera.z + radius * std::sin(a));
    }
    glEnd();
  }
  Paint(kGridLine);
  const double x0 = std::floor(camera.x / kGrid) * kGrid, z0 = std::floor(camera.z / kGrid) * kGrid;
  for (int line = -kGridLines; line <= kGridLines; ++line) {
    const double d = kGrid * line;
    Pieces({x0 + d, y, z0 - kGridReach}, {x0 + d, y, z0 + kGridReach}, {}, GL_LINE_STRIP);
    Pieces({x0 - kGridReach, y, z0 + d}, {x0 + kGridReach, y, z0 + d}, {}, GL_LINE_STRIP);
  }
  for (const Runway& runway : scene.runways) DrawRunway(runway, y);
}

// A box or a ramp of the scenery, turned by its heading.
void Solid(const Box& box) {
  const double h = box.heading * kPi / 180;
  const Vec east = Vec{std::cos(h), 0, std::sin(h)} * (box.size[0] / 2);  // its own east-west axis
  const Vec north = Vec{std::sin(h), 0, -std::cos(h)} * (box.size[2] / 2);
  const Vec up = {0, box.size[1], 0};
  const Vec& c = box.centre;
  const Vec a[4] = {c - east - north, c + east - north, c + east - north + (box.ramp ? Vec{} : up),
                    c - east - north + (box.ramp ? Vec{} : up)};
  const Vec b[4] = {c - east + north, c + east + north, c + east + north + up, c - east + north + up};
  Loft(kConcrete, a, b);
}

// The aircraft in its own frame (metres: x right, y up, z forward; the wheels
// stand on y = 0). From inside only what shows through the windows is drawn.
void Aircraft(bool fromInside) {
  const Colour& body = kAirframe;
  const Colour& trim = kTrim;
  const Colour& tyre = kTyre;
  Vec nose[4], cabinFront[4], cabinRear[4], tail[4];
  Ring(4.0, 0.4, 0.62, 0.25, nose);
  Ring(2.45, 0.25, 0.8, 0.95, cabinFront);
  Ring(-0.5, 0.25, 1.6, 0.95, cabinRear);
  Ring(-5.5, 0.9, 1.3, 0.15, tail);
  Loft(body, cabinRear, tail);
  if (!fromInside) {
    Loft(body, nose, cabinFront);
    Loft(body, cabinFront, cabinRear);
  }
  Block(body, {-5.5, 0.3, 0.8}, {5.5, 0.42, 2.3});   // the wing
  Block(trim, {-5.6, 0.3, 0.8}, {-5.5, 0.42, 2.3});  // its tips
  Block(trim, {5.5, 0.3, 0.8}, {5.6, 0.42, 2.3});
  Block(body, {-1.8, 1.0, -5.6}, {1.8, 1.08, -4.6});  // the tailplane
  const Vec finLow[4] = {{-0.05, 1.2, -5.7}, {0.05, 1.2, -5.7}, {0.05, 2.6, -5.7}, {-0.05, 2.6, -5.7}};
  const Vec finHigh[4] = {{-0.05, 1.2, -4.3}, {0.05, 1.2, -4.3}, {0.05, 2.6, -5.2}, {-0.05, 2.6, -5.2}};
  Loft(trim, finLow, finHigh);
  for (const Vec& wheel : {Vec{0, 0, 3.4}, Vec{-1.2, 0, 1.3}, Vec{1.2, 0, 1.3}})
    Block(tyre, wheel + Vec{-0.08, 0, -0.22}, wheel + Vec{0.08, 0.44, 0.22});
  if (!fromInside) return;
  // Inside: the floor, the sills, the roof, the posts, the panel under its
  // glare shield with its gauges.
  Block(kInterior, {-0.95, 0.25, -0.5}, {0.95, 0.27, 2.45});
  for (const double side : {-1.0, 1.0}) {
    Block(kInterior, {0.93 * side - 0.02, 0.25, -0.5}, {0.95 * side + 0.02, 0.6, 2.45});
    Post(kInterior, {0.9 * side, 0.8, 2.45}, {0.8 * side, 1.6, 1.6}, 0.06);
    Post(kInterior, {0.95 * side, 0.6, 0.9}, {0.8 * side, 1.6, 0.9}, 0.08);
  }
  Post(kInterior, {0, 0.8, 2.45}, {0, 1.6, 1.6}, 0.04);
  Block(kInterior, {-0.8, 1.6, -0.5}, {0.8, 1.62, 1.6});
  Block(kPanel, {-0.95, 0.25, 2.2}, {0.95, 0.76, 2.25});
  Block(kInterior, {-0.95, 0.76, 2.15}, {0.95, 0.8, 2.45});
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 3; ++column) {
      const Vec centre = {-0.7 + 0.2 * column, 0.62 - 0.18 * row, 2.195};
      Paint(kGauge);
      Disc(centre, 0.07, centre - Vec{0, 0, 1}, true);
      Paint(kRim);
      Disc(centre - Vec{0, 0, 0.001}, 0.07, centre - Vec{0, 0, 1}, false);
    }
  }
}

void Load(const double (&matrix)[16]) { glLoadMatrixd(matrix); }

// The aircraft's frame in the world: columns right, up, forward, position.
void AircraftMatrix(const View& view, double (&m)[16]) {
  const Basis& a = view.aircraftAxes;
  const Vec columns[4] = {a.right, a.up, a.forward, view.aircraft};
  for (int column = 0; column < 4; ++column) {
    m[column * 4 + 0] = columns[column].x;
    m[column * 4 + 1] = columns[column].y;
    m[column * 4 + 2] = columns[column].z;
    m[column * 4 + 3] = column == 3 ? 1.0 : 0.0;
  }
}

// The world outside, then the aircraft, and from inside the cockpit.
void DrawWorld(const Scene& scene, const View& view) {
  glDisable(GL_DEPTH_TEST);
  Sky(view.camera.position);
  const GLfloat haze[4] = {kHaze.r, kHaze.g, kHaze.b, 1.0f};
  glFogi(GL_FOG_MODE, GL_LINEAR);
  glFogfv(GL_FOG_COLOR, haze);
  glFogf(GL_FOG_START, 2000.0f);
  glFogf(GL_FOG_END, 30000.0f);
  glEnable(GL_FOG);
  Ground(scene, view.camera.position);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  for (const Box& box : scene.boxes) Solid(box);
  glDisable(GL_FOG);

  double matrix[16];
  glPushMatrix();
  AircraftMatrix(view, matrix);
  glMultMatrixd(matrix);
  if (view.inCockpit) glClear(GL_DEPTH_BUFFER_BIT);  // the cockpit is nearer than anything outside
  Aircraft(view.inCockpit);
  if (view.inCockpit) {
    // The switches and knobs; nothing lights up under the pointer, in the simulator either.
    for (const ClickArea& area : scene.clickAreas) {
      Paint(kPanel);
      Disc(area.centre, area.radius, view.eyeInAircraft, true);
      Paint(kRim);
      glLineWidth(2.0f);
      Disc(area.centre + Unit(view.eyeInAircraft - area.centre) * 0.002, area.radius, view.eyeInAircraft,
           false);
      glLineWidth(1.0f);
    }
  }
  glPopMatrix();
}

// The system's pointer with its hot spot at pixel (x, y) from the top left:
// the arrow's tip, or the tip of the hand's raised finger.
void Pointer(const View::Pointer& pointer, double x, double y) {
  static const double kArrow[][2] = {{0, 0}, {0, 17}, {4, 13}, {7, 20}, {10, 19}, {7, 12}, {12, 12}};
  static const double kHand[][2] = {{5, 0},   {8, 0},  {8, 7},  {11, 7}, {14, 8}, {17, 9}, {17, 17},
                                    {14, 22}, {6, 22}, {1, 15}, {0, 11}, {2, 10}, {5, 13}};
  const double left = pointer.hand ? x - 6.5 : x;  // the finger's tip is the hot spot
  const auto outline = [left, y](const double(*points)[2], std::size_t count, GLenum mode) {
    glBegin(mode);
    for (std::size_t index = 0; index < count; ++index)
      glVertex2d(left + points[index][0], y + points[index][1]);
    glEnd();
  };
  const auto shape = [&outline](const double(*points)[2], std::size_t count) {
    Paint(kPointerFill);
    outline(points, count, GL_POLYGON);
    Paint(kPointerEdge);
    glLineWidth(1.5f);
    outline(points, count, GL_LINE_LOOP);
    glLineWidth(1.0f);
  };
  if (pointer.hand) {
    shape(kHand, std::size(kHand));
  } else {
    shape(kArrow, std::size(kArrow));
  }
}

}  // namespace

struct Renderer::Context {
  OSMesaContext gl = nullptr;
};

Renderer::Renderer(int width, int height, Style style)
    : width_(width),
      height_(height),
      style_(style),
      context_(std::make_unique<Context>()),
      buffer_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4),
      picture_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3) {
  context_->gl = OSMesaCreateContextExt(OSMESA_RGBA, 24, 0, 0, nullptr);
  if (context_->gl != nullptr &&
      !OSMesaMakeCurrent(context_->gl, buffer_.data(), GL_UNSIGNED_BYTE, width_, height_)) {
    OSMesaDestroyContext(context_->gl);
    context_->gl = nullptr;
  }
}

Renderer::~Renderer() {
  if (context_->gl != nullptr) OSMesaDestroyContext(context_->gl);
}

bool Renderer::Ready() const { return context_->gl != nullptr; }

void Renderer::Draw(const Scene& scene, const View& view) {
  if (!Ready()) return;
  glViewport(0, 0, width_, height_);
  glDisable(GL_CULL_FACE);
  glShadeModel(GL_SMOOTH);
  if (style_.marker) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  } else {
    glClearColor(kHaze.r, kHaze.g, kHaze.b, 1.0f);
  }
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  double matrix[16];
  glMatrixMode(GL_PROJECTION);
  ProjectionMatrix(view.camera.zoom, width_, height_, view.inCockpit ? 0.05 : 0.3, 60000.0, matrix);
  Load(matrix);
  glMatrixMode(GL_MODELVIEW);
  ViewMatrix(view.camera, matrix);
  Load(matrix);

  if (style_.marker) {
    glEnable(GL_DEPTH_TEST);
    Block(kMarker, view.aircraft - Vec{1, 1, 1}, view.aircraft + Vec{1, 1, 1});
  } else {
    DrawWorld(scene, view);
    if (view.pointer.shown) {
      // Over everything, in the window's pixels from the top left.
      glDisable(GL_DEPTH_TEST);
      glMatrixMode(GL_PROJECTION);
      glLoadIdentity();
      glOrtho(0.0, width_, height_, 0.0, -1.0, 1.0);
      glMatrixMode(GL_MODELVIEW);
      glLoadIdentity();
      Pointer(view.pointer, (view.pointer.across + 0.5) * width_, height_ * 0.5 - view.pointer.up * width_);
    }
  }
  glFinish();

  // OpenGL's rows run from the bottom.
  const auto width = static_cast<std::size_t>(width_), height = static_cast<std::size_t>(height_);
  for (std::size_t row = 0; row < height; ++row) {
    const std::uint8_t* from = &buffer_[(height - 1 - row) * width * 4];
    std::uint8_t* to = &picture_[row * width * 3];
    for (std::size_t column = 0; column < width; ++column) {
      to[column * 3 + 0] = from[column * 4 + 0];
      to[column * 3 + 1] = from[column * 4 + 1];
      to[column * 3 + 2] = from[column * 4 + 2];
    }
  }
}

}  // namespace render
