// Draws the program's images: the toolbar strip, the record-kind icons, the
// application icon, the capture menu's cursor pictures and the cursors the
// program carries itself - each in the sizes a scaled screen needs, drawn
// again at that size rather than stretched.
//
// Regenerate (from the repository root):   tools/make-images.sh
//
// The build takes res/images/ as committed and never runs this program, so
// rerun it and commit the outputs whenever a drawing changes. It needs only a
// C++20 compiler; enlarged PNG previews go to the second argument's folder.
//
// Every image is vector-drawn here and rasterised with 8x8 supersampling, so
// diagonals get smooth edges while shapes placed on whole or half pixels stay
// crisp. Pixels keep straight (not premultiplied) alpha, fully transparent
// pixels are 0,0,0,0: that is what icons use and what a 32-bit image list
// expects from ImageList_Add, and no mask colour is needed.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

// ---------------------------------------------------------------- colours

struct Color {
  float r = 0, g = 0, b = 0, a = 0;
};

constexpr Color rgb(std::uint32_t v, float a = 1.0f) {
  return {((v >> 16) & 0xFF) / 255.0f, ((v >> 8) & 0xFF) / 255.0f, (v & 0xFF) / 255.0f, a};
}

Color mix(Color p, Color q, float t) {
  return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
          p.a + (q.a - p.a) * t};
}

// One palette for everything, so the icons read as a family.
namespace pal {
constexpr Color ink = rgb(0x3C4650);       // generic dark outline, glyph lines
constexpr Color greyLine = rgb(0x6C7885);  // outline of paper and light objects
constexpr Color paper = rgb(0xFFFFFF);
constexpr Color paperShade = rgb(0xE9EEF3);  // folded corner, paper bottom
constexpr Color textLine = rgb(0x8C98A6);    // lines standing for text
constexpr Color blue = rgb(0x2F7FD8);
constexpr Color blueLight = rgb(0x66A9F2);
constexpr Color blueDark = rgb(0x1A4F95);
constexpr Color green = rgb(0x35A853);
constexpr Color greenLight = rgb(0x6CD083);
constexpr Color greenDark = rgb(0x1D6B33);
constexpr Color yellow = rgb(0xF6C443);
constexpr Color yellowLight = rgb(0xFFE08A);
constexpr Color yellowBack = rgb(0xE0A42C);
constexpr Color yellowDark = rgb(0x9C6A12);
constexpr Color board = rgb(0xC98B4B);  // clipboard hardboard
constexpr Color boardLight = rgb(0xDDA463);
constexpr Color boardDark = rgb(0x7E5127);
constexpr Color metal = rgb(0xB7C1CC);
constexpr Color metalLight = rgb(0xE3E8EE);
constexpr Color metalDark = rgb(0x56616D);
constexpr Color orange = rgb(0xF08A24);
constexpr Color orangeLight = rgb(0xFFB45E);
constexpr Color orangeDark = rgb(0x9E4F0A);
constexpr Color pink = rgb(0xF29CA8);
constexpr Color sky = rgb(0x9FD3FA);
constexpr Color skyLight = rgb(0xD9EFFF);
constexpr Color hill = rgb(0x49B15F);
constexpr Color hillDark = rgb(0x2E8C45);
constexpr Color sun = rgb(0xFFC629);
constexpr Color sunDark = rgb(0xD08A00);
constexpr Color chainOffLight = rgb(0x8E98A3);
constexpr Color chainOffDark = rgb(0x5A6470);
constexpr Color chainOnLight = rgb(0x2F9BFF);
constexpr Color chainOnDark = rgb(0x0957C0);
constexpr Color quill = rgb(0x2E64D6);
constexpr Color quillLight = rgb(0x7FB0FF);
constexpr Color quillDark = rgb(0x173A8A);
}  // namespace pal

// ---------------------------------------------------------------- geometry

struct Pt {
  float x, y;
};
using Poly = std::vector<Pt>;
using Region = std::function<bool(float, float)>;
using Paint = std::function<Color(float, float)>;

Paint flat(Color c) {
  return [c](float, float) { return c; };
}

// Top-to-bottom gradient between rows y0 and y1 (light from above).
Paint vgrad(Color top, Color bottom, float y0, float y1) {
  return [=](float, float y) {
    return mix(top, bottom, std::clamp((y - y0) / (y1 - y0), 0.0f, 1.0f));
  };
}

// Gradient along an arbitrary direction from point a (colour p) to b (colour q).
Paint lgrad(Pt a, Pt b, Color p, Color q) {
  const float dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  return [=](float x, float y) {
    return mix(p, q, std::clamp(((x - a.x) * dx + (y - a.y) * dy) / len2, 0.0f, 1.0f));
  };
}

bool insidePoly(const Poly& p, float x, float y) {
  // Non-zero winding, so self-overlapping outlines still fill solid.
  int winding = 0;
  for (size_t i = 0, n = p.size(); i < n; ++i) {
    const Pt& a = p[i];
    const Pt& b = p[(i + 1) % n];
    if (a.y <= y) {
      if (b.y > y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) > 0) ++winding;
    } else if (b.y <= y && (b.x - a.x) * (y - a.y) - (x - a.x) * (b.y - a.y) < 0) {
      --winding;
    }
  }
  return winding != 0;
}

Region poly(Poly p) {
  return [p = std::move(p)](float x, float y) { return insidePoly(p, x, y); };
}

Region rect(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Region rrect(float x0, float y0, float x1, float y1, float r) {
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    const float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

Region ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) {
    const float u = (x - cx) / rx, v = (y - cy) / ry;
    return u * u + v * v <= 1.0f;
  };
}

float segDist(Pt a, Pt b, float x, float y) {
  const float dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
  float t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0;
  t = std::clamp(t, 0.0f, 1.0f);
  const float px = a.x + dx * t - x, py = a.y + dy * t - y;
  return std::sqrt(px * px + py * py);
}

enum class Cap { Butt, Square, Round };

// A band of width w centred on the polyline; closed paths join back to the start.
Region stroke(Poly p, float w, bool closed, Cap cap = Cap::Square) {
  return [=](float x, float y) {
    const size_t n = p.size(), segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i) {
      Pt a = p[i], b = p[(i + 1) % n];
      if (cap == Cap::Round) {
        if (segDist(a, b, x, y) <= w / 2) return true;
        continue;
      }
      const float dx = b.x - a.x, dy = b.y - a.y, len = std::sqrt(dx * dx + dy * dy);
      if (len == 0) continue;
      const float ux = dx / len, uy = dy / len;
      const float ext = cap == Cap::Square ? w / 2 : 0;
      const float t = (x - a.x) * ux + (y - a.y) * uy;
      const float s = -(x - a.x) * uy + (y - a.y) * ux;
      if (t >= -ext && t <= len + ext && std::fabs(s) <= w / 2) return true;
    }
    return false;
  };
}

Region line(Pt a, Pt b, float w, Cap cap = Cap::Square) { return stroke({a, b}, w, false, cap); }

Region intersect(Region p, Region q) {
  return [=](float x, float y) { return p(x, y) && q(x, y); };
}

// ---------------------------------------------------------------- canvas

// Drawings are laid out in design units (16 to a toolbar button); a canvas
// for a scaled screen has `scale` pixels to the unit.
class Canvas {
 public:
  explicit Canvas(int w, int h, float scale = 1)
      : w_(w), h_(h), scale_(scale), px_(size_t(w) * h) {}
  int width() const { return w_; }
  int height() const { return h_; }
  float scale() const { return scale_; }
  // A design coordinate moved to the nearest pixel edge, so a scaled edge
  // stays sharp.
  float snap(float v) const { return std::round(v * scale_) / scale_; }
  // The width of an outline in design units: one pixel up to 150 %, two at 200 %.
  float line() const { return std::max(1.0f, std::floor(scale_ + 0.25f)) / scale_; }
  Color at(int x, int y) const { return px_[size_t(y) * w_ + x]; }
  Color& at(int x, int y) { return px_[size_t(y) * w_ + x]; }

  // Composites paint over the canvas where the region covers it; each pixel is
  // sampled 8x8 times and the covered fraction scales the paint's alpha.
  void fill(const Region& region, const Paint& paint) {
    constexpr int ss = 8;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        int hits = 0;
        float r = 0, g = 0, b = 0, a = 0;
        for (int j = 0; j < ss; ++j) {
          for (int i = 0; i < ss; ++i) {
            const float sx = (x + (i + 0.5f) / ss) / scale_, sy = (y + (j + 0.5f) / ss) / scale_;
            if (!region(sx, sy)) continue;
            const Color c = paint(sx, sy);
            ++hits;
            r += c.r * c.a;
            g += c.g * c.a;
            b += c.b * c.a;
            a += c.a;
          }
        }
        if (hits == 0) continue;
        const float cover = a / (ss * ss);
        const Color src{a > 0 ? r / a : 0, a > 0 ? g / a : 0, a > 0 ? b / a : 0, cover};
        over(at(x, y), src);
      }
    }
  }
  void fill(const Region& region, Color c) { fill(region, flat(c)); }
  // An upright rectangle with its edges on pixel edges, never thinner than a pixel.
  void fillRect(float x0, float y0, float x1, float y1, const Paint& paint) {
    const float px = 1 / scale_;
    x0 = snap(x0);
    y0 = snap(y0);
    x1 = std::max(snap(x1), x0 + px);
    y1 = std::max(snap(y1), y0 + px);
    fill(rect(x0, y0, x1, y1), paint);
  }
  void fillRect(float x0, float y0, float x1, float y1, Color c) {
    fillRect(x0, y0, x1, y1, flat(c));
  }

  // Cuts a transparent gap, so overlapping shapes stay apart on any background.
  void erase(const Region& region) {
    constexpr int ss = 8;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        int hits = 0;
        for (int j = 0; j < ss; ++j)
          for (int i = 0; i < ss; ++i)
            if (region((x + (i + 0.5f) / ss) / scale_, (y + (j + 0.5f) / ss) / scale_)) ++hits;
        at(x, y).a *= 1.0f - float(hits) / (ss * ss);
      }
    }
  }

  void blit(const Canvas& src, int dx, int dy) {
    for (int y = 0; y < src.h_; ++y)
      for (int x = 0; x < src.w_; ++x) over(at(dx + x, dy + y), src.at(x, y));
  }

 private:
  static void over(Color& d, const Color& s) {
    const float a = s.a + d.a * (1 - s.a);
    if (a <= 0) {
      d = {};
      return;
    }
    d.r = (s.r * s.a + d.r * d.a * (1 - s.a)) / a;
    d.g = (s.g * s.a + d.g * d.a * (1 - s.a)) / a;
    d.b = (s.b * s.a + d.b * d.a * (1 - s.a)) / a;
    d.a = a;
  }

  int w_, h_;
  float scale_;
  std::vector<Color> px_;
};

// Filled shape with an outline: the outline colour covers the outer box, the
// fill the box inset by the outline's width, so both edges land on pixel
// boundaries whatever the scale.
void box(Canvas& c, float x0, float y0, float x1, float y1, float r, Color line,
         const Paint& fill) {
  x0 = c.snap(x0);
  y0 = c.snap(y0);
  x1 = c.snap(x1);
  y1 = c.snap(y1);
  const float w = c.line();
  c.fill(rrect(x0, y0, x1, y1, r), line);
  c.fill(rrect(x0 + w, y0 + w, x1 - w, y1 - w, std::max(r - w, 0.0f)), fill);
}
void box(Canvas& c, float x0, float y0, float x1, float y1, float r, Color line, Color fill) {
  box(c, x0, y0, x1, y1, r, line, flat(fill));
}

// Polygon whose vertices sit on pixel centres, outlined by a one-pixel stroke
// along its edges.
void shape(Canvas& c, const Poly& p, const Paint& fill, Color line, Cap cap = Cap::Square) {
  c.fill(poly(p), fill);
  c.fill(stroke(p, c.line(), true, cap), line);
}
void shape(Canvas& c, const Poly& p, Color fill, Color line, Cap cap = Cap::Square) {
  shape(c, p, flat(fill), line, cap);
}

// ---------------------------------------------------------------- shared parts

// Sheet of paper with a folded top-right corner, outline on pixel centres.
void page(Canvas& c, float x0, float y0, float x1, float y1, float fold) {
  const Poly outline{{x0, y0}, {x1 - fold, y0}, {x1, y0 + fold}, {x1, y1}, {x0, y1}};
  shape(c, outline, vgrad(pal::paper, pal::paperShade, y0, y1 + 2), pal::greyLine, Cap::Round);
  shape(c, {{x1 - fold, y0}, {x1 - fold, y0 + fold}, {x1, y0 + fold}}, pal::paperShade,
        pal::greyLine, Cap::Round);
}

// The clipboard used by the capture and write-back buttons.
void clipboard(Canvas& c) {
  box(c, 2, 2, 14, 16, 1.5f, pal::boardDark, vgrad(pal::boardLight, pal::board, 2, 16));
  c.fillRect(4, 4, 12, 14, vgrad(pal::paper, pal::paperShade, 4, 15));
  box(c, 5, 1, 11, 4, 1, pal::metalDark, vgrad(pal::metalLight, pal::metal, 1, 4));
}

// Triangle with its apex at x = tip and its base upright at x = base.
Poly triangle(float tip, float base, float top, float bottom) {
  return {{tip, (top + bottom) / 2}, {base, top}, {base, bottom}};
}

void navigation(Canvas& c, bool right, bool bar) {
  // Drawn pointing left, mirrored for the forward buttons.
  Canvas g(c.width(), c.height(), c.scale());
  const Paint fill = vgrad(pal::blueLight, pal::blue, 3, 13);
  const float tip = bar ? 5.5f : 4.5f, base = bar ? 12.5f : 11.5f;
  shape(g, triangle(tip, base, 2.5f, 13.5f), fill, pal::blueDark, Cap::Round);
  if (bar) box(g, 2, 3, 5, 13, 0, pal::blueDark, fill);
  if (!right) {
    c.blit(g, 0, 0);
    return;
  }
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) c.at(c.width() - 1 - x, y) = g.at(x, y);
}

// Two interlocked chain links along the rising diagonal.
void chain(Canvas& c, Color light, Color dark) {
  const auto ringAt = [](Pt a, Pt b, float r0, float r1) -> Region {
    return [=](float x, float y) {
      const float d = segDist(a, b, x, y);
      return d >= r0 && d <= r1;
    };
  };
  const Pt a0{4.3f, 11.7f}, a1{6.3f, 9.7f};  // lower-left link, axis end points
  const Pt b0{9.7f, 6.3f}, b1{11.7f, 4.3f};  // upper-right link
  const float rOut = 3.3f, rIn = 1.15f;
  const Paint paint = lgrad({4, 4}, {12, 12}, light, dark);
  // The far link first, then a gap where the near one crosses it, then the
  // near one, so the pair reads as interlocked rather than as one blob.
  c.fill(ringAt(b0, b1, rIn, rOut), paint);
  c.erase(ringAt(a0, a1, rIn - 0.7f, rOut + 0.7f));
  c.fill(ringAt(a0, a1, rIn, rOut), paint);
}

// A pencil at 45 degrees, point at the lower left, designed pixel by pixel:
// at 16 pixels a diagonal only stays crisp on whole pixels. Pixels (x, y)
// with x + y == diag lie on its axis; x - y runs from the point to the end.
// The colour of the pencil at band `side` across it and step `s` along it,
// if it covers that place.
std::optional<Color> pencilAt(int side, int s, int from, int to) {
  if (s < from || s > to || std::abs(side) > 2) return std::nullopt;
  const int along = s - from;  // 0 at the point
  if (along < 2) {
    if (side != 0) return std::nullopt;
    return pal::ink;  // graphite
  }
  if (along < 4) {
    if (std::abs(side) > 1) return std::nullopt;
    if (side != 0) return rgb(0xF3D2A2);  // sharpened wood
    return along == 3 ? rgb(0xE8BC80) : pal::ink;
  }
  if (std::abs(side) == 2 || s == to) return pal::orangeDark;
  if (to - s <= 3)
    return side < 0 ? rgb(0xF8B9C2) : side == 0 ? pal::pink : rgb(0xD8707F);  // eraser
  return side < 0 ? pal::orangeLight : side == 0 ? pal::orange : rgb(0xD46E12);
}

void pencil(Canvas& c, int diag, int from, int to) {
  if (c.scale() == 1) {
    for (int y = 0; y < c.height(); ++y)
      for (int x = 0; x < c.width(); ++x)
        if (const auto col = pencilAt(x + y - diag, x - y, from, to)) c.at(x, y) = *col;
    return;
  }
  // Scaled, the same design as bands between diagonal lines, whose edges the
  // supersampling smooths: a design pixel's centre (x + 0.5, y + 0.5) gives
  // back the bands above.
  c.fill([](float, float) { return true; },
         [=](float x, float y) {
           const int side = int(std::lround(x + y - 1 - diag)), s = int(std::lround(x - y));
           return pencilAt(side, s, from, to).value_or(Color{});
         });
}

// Landscape picture: frame, sky, sun and two hills, clipped to the frame.
void landscape(Canvas& c, float x0, float y0, float x1, float y1) {
  box(c, x0, y0, x1, y1, 0.8f, pal::greyLine, vgrad(pal::sky, pal::skyLight, y0, y1));
  const Region inside = rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1);
  const float w = x1 - x0, h = y1 - y0;
  // The sun centred on a pixel corner, so a small disc stays round and sharp.
  const float sr = std::max(1.5f, h * 0.14f);
  c.fill(intersect(inside, ellipse(std::round(x1 - w * 0.3f), std::round(y0 + h * 0.35f), sr, sr)),
         pal::sun);
  c.fill(intersect(inside, poly({{x0, y1},
                                 {x0, y0 + h * 0.62f},
                                 {x0 + w * 0.35f, y0 + h * 0.42f},
                                 {x0 + w * 0.72f, y1}})),
         pal::hillDark);
  c.fill(intersect(inside, poly({{x0 + w * 0.25f, y1},
                                 {x0 + w * 0.62f, y0 + h * 0.55f},
                                 {x1, y0 + h * 0.8f},
                                 {x1, y1}})),
         pal::hill);
}

// ---------------------------------------------------------------- toolbar

void openButton(Canvas& c) {
  box(c, 1, 2, 7, 6, 1, pal::yellowDark, pal::yellowBack);
  box(c, 1, 4, 14, 14, 1, pal::yellowDark, pal::yellowBack);
  c.fillRect(2, 3, 6, 5, pal::yellowBack);
  box(c, 3, 4, 13, 10, 0, pal::greyLine, pal::paper);
  shape(c, {{4.5f, 7.5f}, {15.5f, 7.5f}, {12.5f, 13.5f}, {1.5f, 13.5f}},
        vgrad(pal::yellowLight, pal::yellow, 7, 14), pal::yellowDark, Cap::Round);
}

void downArrow(Canvas& c) {
  shape(c,
        {{6.5f, 4.5f},
         {9.5f, 4.5f},
         {9.5f, 8.5f},
         {11.5f, 8.5f},
         {8, 12},
         {4.5f, 8.5f},
         {6.5f, 8.5f}},
        vgrad(pal::blueLight, pal::blue, 5, 12), pal::blueDark);
}

void pasteButton(Canvas& c) {
  clipboard(c);
  downArrow(c);
}

void copyButton(Canvas& c) {
  clipboard(c);
  // Quoted lines: the leading bar of a quotation, then text.
  c.fillRect(5, 5, 6, 13, pal::blue);
  for (int y : {6, 8, 10, 12})
    c.fillRect(7, float(y), y == 12 ? 9.0f : 11.0f, y + 1.0f, pal::textLine);
  pencil(c, 20, -6, 8);
}

Poly rightArrow(float x0, float x1, float head, float cy, float shaft, float wing) {
  return {{x0, cy - shaft},       {x1 - head, cy - shaft}, {x1 - head, cy - wing}, {x1, cy},
          {x1 - head, cy + wing}, {x1 - head, cy + shaft}, {x0, cy + shaft}};
}

void importButton(Canvas& c) {
  page(c, 5.5f, 1.5f, 14.5f, 14.5f, 3);
  for (int y : {5, 7, 9, 11}) c.fillRect(10, float(y), 13, y + 1.0f, pal::textLine);
  const Poly arrow = rightArrow(0.5f, 9.5f, 4, 9.5f, 2, 4);
  c.erase(stroke(arrow, 3.0f, true, Cap::Round));
  shape(c, arrow, vgrad(pal::greenLight, pal::green, 6, 14), pal::greenDark);
}

void exportButton(Canvas& c) {
  // A floppy disk: the familiar picture for "save to a file".
  shape(c, {{1.5f, 1.5f}, {12.5f, 1.5f}, {14.5f, 3.5f}, {14.5f, 14.5f}, {1.5f, 14.5f}},
        vgrad(pal::blueLight, pal::blue, 1, 15), pal::blueDark, Cap::Round);
  box(c, 4, 1, 12, 6, 0, pal::blueDark, vgrad(pal::metalLight, pal::metal, 1, 6));
  c.fillRect(9, 2, 11, 5, pal::metalDark);
  box(c, 3, 8, 13, 15, 0.8f, pal::blueDark, pal::paper);
  c.fillRect(5, 10, 11, 11, pal::textLine);
  c.fillRect(5, 12, 11, 13, pal::textLine);
}

void linkButton(Canvas& c, bool on) {
  if (on)
    chain(c, pal::chainOnLight, pal::chainOnDark);
  else
    chain(c, pal::chainOffLight, pal::chainOffDark);
}

void wideButton(Canvas& c) {
  box(c, 0, 1, 16, 15, 1, pal::greyLine, pal::paper);
  c.fillRect(1, 2, 15, 4, vgrad(pal::blueLight, pal::blue, 2, 4));
  const Color a = pal::ink;
  c.fill(poly({{12, 5}, {12, 8.8f}, {8.2f, 5}}), a);
  c.fill(poly({{4, 13}, {4, 9.2f}, {7.8f, 13}}), a);
  c.fill(line({5, 12}, {11, 6}, 1.6f, Cap::Butt), a);
}

// ---------------------------------------------------------------- record kinds

void textLines(Canvas& c, float x0, float x1, float y0, int count, float foldEnd) {
  for (int i = 0; i < count; ++i) {
    const float y = y0 + 2.0f * i;
    const float end = i == 0 ? foldEnd : i == count - 1 ? x0 + (x1 - x0) * 0.6f : x1;
    c.fillRect(x0, y, std::round(end), y + 1, pal::textLine);
  }
}

void kindOther(Canvas& c) {
  page(c, 2.5f, 0.5f, 13.5f, 15.5f, 4);
  for (float x : {4.0f, 7.0f, 10.0f}) c.fill(rrect(x, 9, x + 2, 11, 0.6f), pal::greyLine);
}

void kindText(Canvas& c) {
  page(c, 2.5f, 0.5f, 13.5f, 15.5f, 4);
  textLines(c, 5, 12, 4, 5, 9);
}

void kindPicture(Canvas& c) { landscape(c, 0, 2, 16, 14); }

void kindTextPicture(Canvas& c) {
  page(c, 0.5f, 0.5f, 11.5f, 15.5f, 4);
  textLines(c, 3, 10, 4, 5, 7);
  c.erase(rrect(5, 6, 17, 17, 1.5f));
  landscape(c, 6, 7, 16, 15);
}

// ---------------------------------------------------------------- application icon

// A point on a quadratic Bezier curve and its unit tangent.
struct Frame {
  Pt p, u;
};
Frame bezier(Pt a, Pt b, Pt e, float t) {
  const float s = 1 - t;
  const Pt p{s * s * a.x + 2 * s * t * b.x + t * t * e.x,
             s * s * a.y + 2 * s * t * b.y + t * t * e.y};
  Pt u{2 * s * (b.x - a.x) + 2 * t * (e.x - b.x), 2 * s * (b.y - a.y) + 2 * t * (e.y - b.y)};
  const float l = std::sqrt(u.x * u.x + u.y * u.y);
  return {p, {u.x / l, u.y / l}};
}

// The quill at 16x16, pixel by pixel for the same reason as the pencil.
// Bands with x + y - diag < 0 lie on the upper-left side, the wider half of
// the vane.
void smallQuill(Canvas& c, int diag, int from, int to) {
  for (int y = 0; y < c.height(); ++y) {
    for (int x = 0; x < c.width(); ++x) {
      const int side = x + y - diag, s = x - y;
      if (s < from || s > to) continue;
      const int along = s - from, left = to - s;
      Color col{};
      if (along < 2) {
        if (side != 0) continue;
        col = pal::ink;  // nib
      } else if (along < 4) {
        if (side != 0) continue;
        col = pal::quillDark;  // bare shaft
      } else {
        const int upper = std::min({(along - 2) / 2, 3, left / 2});
        const int lower = std::max(0, std::min({(along - 2) / 3, 2, (left - 1) / 2}));
        if (side < -upper || side > lower) continue;
        if (side == -upper || side == lower)
          col = pal::quillDark;
        else if (side == 0)
          col = left > 3 ? rgb(0xE8F0FF) : pal::quillLight;  // the spine
        else
          col = side < 0 ? pal::quillLight : pal::quill;
      }
      c.at(x, y) = col;
    }
  }
}

// The quill, in 48-unit design space scaled by k: nib on the paper, feather
// rising past the board's right edge.
void quillPen(Canvas& c, float k, int size) {
  const Pt a{17 * k, 41 * k}, b{29 * k, 26 * k}, e{45.5f * k, 3.0f * k};
  const float vaneFrom = 0.27f, width = 7.2f * k;
  const auto notch = [&](float s, float at, float depth) {
    // A sawtooth: cut sharply on the nib side, the barbs closing again towards the tip.
    const float d = (s - at) / 0.07f;
    return d >= 0 && d < 1 ? 1 - depth * (1 - d) : 1.0f;
  };
  Poly vane, left, right;
  constexpr int steps = 80;
  for (int i = 0; i <= steps; ++i) {
    const float t = vaneFrom + (1 - vaneFrom) * i / steps, s = (t - vaneFrom) / (1 - vaneFrom);
    const Frame f = bezier(a, b, e, t);
    // Rounded at both ends and widest near the middle; the lower side is
    // narrower, as on a real flight feather.
    const float w = width * std::pow(std::sin(3.14159f * s), 0.55f);
    float wl = w, wr = w * 0.62f;
    if (size >= 48) {  // a split in the vane on each side; noise at smaller sizes
      wl *= notch(s, 0.42f, 0.4f);
      wr *= notch(s, 0.62f, 0.5f);
    }
    const Pt n{f.u.y, -f.u.x};  // points up-left, away from the board
    left.push_back({f.p.x + n.x * wl, f.p.y + n.y * wl});
    right.push_back({f.p.x - n.x * wr, f.p.y - n.y * wr});
  }
  vane = left;
  vane.insert(vane.end(), right.rbegin(), right.rend());

  // Nib and bare shaft below the vane.
  const Frame n0 = bezier(a, b, e, 0.0f), n1 = bezier(a, b, e, 0.1f), q = bezier(a, b, e, vaneFrom);
  const Pt nn{n1.u.y, -n1.u.x};
  const float nibW = std::max(1.2f, 1.9f * k), shaftW = std::max(1.0f, 1.3f * k);
  const Poly nib{n0.p,
                 {n1.p.x + nn.x * nibW, n1.p.y + nn.y * nibW},
                 {n1.p.x - nn.x * nibW, n1.p.y - nn.y * nibW}};
  const Poly shaft{{n1.p.x + nn.x * shaftW, n1.p.y + nn.y * shaftW},
                   {q.p.x + nn.x * shaftW, q.p.y + nn.y * shaftW},
                   {q.p.x - nn.x * shaftW, q.p.y - nn.y * shaftW},
                   {n1.p.x - nn.x * shaftW, n1.p.y - nn.y * shaftW}};

  c.fill(poly(shaft), pal::metalLight);
  c.fill(stroke(shaft, 1.0f, true, Cap::Round), pal::quillDark);
  c.fill(poly(nib), pal::ink);
  c.fill(poly(vane), lgrad(left[steps / 2], right[steps / 2], pal::quillLight, pal::quill));
  c.fill(stroke(vane, 1.0f, true, Cap::Round), pal::quillDark);
  // The rachis, the feather's central spine.
  if (size >= 32) {
    Poly spine;
    for (int i = 0; i <= 40; ++i)
      spine.push_back(bezier(a, b, e, vaneFrom + (0.93f - vaneFrom) * i / 40).p);
    c.fill(stroke(spine, size >= 48 ? 1.3f : 1.0f, false, Cap::Round), rgb(0xE8F0FF));
  }
}

void appIcon(Canvas& c) {
  const int size = c.width();
  const float k = size / 48.0f;
  const auto r = [&](float v) { return std::round(v * k); };
  const float bx0 = r(5), by0 = r(6), bx1 = r(38), by1 = size;
  box(c, bx0, by0, bx1, by1, std::max(1.5f, 3 * k), pal::boardDark,
      vgrad(pal::boardLight, pal::board, by0, by1));
  const float inset = size >= 48 ? 4 : size >= 32 ? 3 : 2;
  const float px0 = bx0 + inset, px1 = bx1 - inset, py0 = r(12), py1 = by1 - inset;
  c.fill(rect(px0, py0, px1, py1), vgrad(pal::paper, pal::paperShade, py0, py1));
  // Text on the sheet: fewer, thicker lines as the icon grows.
  const float lineH = size >= 48 ? 2 : 1, gap = size >= 48 ? 5 : size >= 32 ? 4 : 2;
  int lines = 0;
  for (float y = py0 + (size >= 32 ? gap : 2); y + lineH <= py1 - (size >= 32 ? 3 : 1);
       y += gap, ++lines) {
    const float end = lines % 3 == 2 ? px0 + (px1 - px0) * 0.55f : px1 - (size >= 32 ? 3 : 1);
    c.fill(rect(px0 + (size >= 32 ? 3 : 1), y, std::round(end), y + lineH), pal::textLine);
  }
  // The clip, with its hanging hole at larger sizes.
  const float cx0 = r(13), cx1 = r(30), cy0 = size >= 32 ? r(2) : 1,
              cy1 = r(12) + (size >= 32 ? 1 : 0);
  box(c, cx0, cy0, cx1, cy1, std::max(1.0f, 2 * k), pal::metalDark,
      vgrad(pal::metalLight, pal::metal, cy0, cy1));
  if (size >= 32)
    c.fill(ellipse((cx0 + cx1) / 2, cy0 + 2.5f * k + 1, 1.6f * k, 1.2f * k), pal::metalDark);
  if (size > 16)
    quillPen(c, k, size);
  else
    smallQuill(c, 17, -7, 13);
}

// ---------------------------------------------------------------- cursors

// Cursor shapes in the classic black-and-white look, designed on a 32-unit
// square and rasterised at any size: 32 pixels for the cursor files, 24 for
// the menu's picture strip. `at` places a smaller drawing inside a larger
// one (the hourglass beside an arrow).
struct Ink {
  Canvas& c;
  float k;               // pixels per design unit
  float dx = 0, dy = 0;  // design offset of a placed drawing
  float s = 1;           // its scale

  Ink at(float x, float y, float scale) const { return {c, k, dx + x * s, dy + y * s, s * scale}; }
  Region map(Region r) const {
    return [=, k = k, dx = dx, dy = dy, s = s](float x, float y) {
      return r((x / k - dx) / s, (y / k - dy) / s);
    };
  }
  void fill(const Region& r, Color col) const { c.fill(map(r), col); }
  // White body, black outline.
  void body(const Poly& p, Color inside = pal::paper) const {
    fill(poly(p), inside);
    fill(stroke(p, 1.3f, true, Cap::Round), rgb(0x000000));
  }
  // Black strokes with a white halo, readable on any background.
  void strokes(const std::vector<Poly>& lines, float w) const {
    for (const Poly& p : lines) fill(stroke(p, w + 2.4f, false, Cap::Round), pal::paper);
    for (const Poly& p : lines) fill(stroke(p, w, false, Cap::Round), rgb(0x000000));
  }
};

// The lines a cursor's outline is made of, turned about the centre.
Poly turned(const Poly& p, float degrees) {
  const float a = degrees * 3.14159265f / 180, ca = std::cos(a), sa = std::sin(a);
  Poly out;
  for (const Pt& q : p) out.push_back({16 + q.x * ca - q.y * sa, 16 + q.x * sa + q.y * ca});
  return out;
}

const Poly arrowOutline{{1, 1},      {1, 23},     {6.5f, 18}, {10.5f, 27},
                        {14, 25.5f}, {10, 16.5f}, {17, 16.5f}};

void arrowCursor(const Ink& i) { i.body(arrowOutline); }

void ibeamCursor(const Ink& i) {
  i.strokes({{{12.5f, 4.5f}, {15, 5.5f}, {17, 5.5f}, {19.5f, 4.5f}},
             {{16, 5.5f}, {16, 26.5f}},
             {{12.5f, 27.5f}, {15, 26.5f}, {17, 26.5f}, {19.5f, 27.5f}}},
            1.4f);
}

void hourglass(const Ink& i) {
  i.body({{7, 2}, {25, 2}, {25, 5}, {7, 5}});
  i.body({{7, 27}, {25, 27}, {25, 30}, {7, 30}});
  i.body({{9, 5},
          {23, 5},
          {23, 9},
          {17.5f, 16},
          {23, 23},
          {23, 27},
          {9, 27},
          {9, 23},
          {14.5f, 16},
          {9, 9}});
  i.fill(poly({{11.5f, 8}, {20.5f, 8}, {16, 13.5f}}), pal::yellowDark);
  i.fill(poly({{16, 19}, {21, 25.5f}, {11, 25.5f}}), pal::yellowDark);
}

void crossCursor(const Ink& i) { i.strokes({{{16, 3}, {16, 29}}, {{3, 16}, {29, 16}}}, 1.2f); }

void upArrowCursor(const Ink& i) {
  i.body({{16, 2}, {26, 12}, {19.5f, 12}, {19.5f, 29}, {12.5f, 29}, {12.5f, 12}, {6, 12}});
}

// A double-headed arrow along the x axis, turned to its direction.
void sizeCursor(const Ink& i, float degrees) {
  i.body(turned({{-14, 0},
                 {-7, -7},
                 {-7, -2.5f},
                 {7, -2.5f},
                 {7, -7},
                 {14, 0},
                 {7, 7},
                 {7, 2.5f},
                 {-7, 2.5f},
                 {-7, 7}},
                degrees));
}

void sizeAllCursor(const Ink& i) {
  i.body({{16, 1},  {22, 7},  {18, 7},  {18, 14}, {25, 14}, {25, 10}, {31, 16}, {25, 22},
          {25, 18}, {18, 18}, {18, 25}, {22, 25}, {16, 31}, {10, 25}, {14, 25}, {14, 18},
          {7, 18},  {7, 22},  {1, 16},  {7, 10},  {7, 14},  {14, 14}, {14, 7},  {10, 7}});
}

void noSign(const Ink& i) {
  const auto sign = [](float ring, float inner, float bar) -> Region {
    const Region disc = ellipse(16, 16, ring, ring), hole = ellipse(16, 16, inner, inner);
    const Region slash = line({8, 8}, {24, 24}, bar, Cap::Butt);
    return [=](float x, float y) { return disc(x, y) && (!hole(x, y) || slash(x, y)); };
  };
  i.fill(sign(13.2f, 7.2f, 5.6f), rgb(0x000000));
  i.fill(sign(12, 8.4f, 3.4f), rgb(0xD42A2A));
}

void helpCursor(const Ink& i) {
  arrowCursor(i);
  i.strokes({{{19, 7},
              {21, 4.5f},
              {24.5f, 3.5f},
              {27.5f, 5},
              {28.5f, 8},
              {27, 10.5f},
              {24.5f, 12},
              {24, 15}}},
            2.2f);
  i.fill(ellipse(24, 19.5f, 2.6f, 2.6f), pal::paper);
  i.fill(ellipse(24, 19.5f, 1.5f, 1.5f), rgb(0x000000));
}

void appStartingCursor(const Ink& i) {
  arrowCursor(i);
  hourglass(i.at(15, 13, 0.55f));
}

void page(const Ink& i, float x0, float y0, float x1, float y1) {
  i.body({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

void dragCursor(const Ink& i) {
  arrowCursor(i);
  page(i, 13, 19, 26, 30);
}

void noDropCursor(const Ink& i) {
  arrowCursor(i);
  noSign(i.at(13, 13, 0.58f));
}

// Two bars with arrows leading away from them: the split between two panes.
void splitCursor(const Ink& i, float degrees) {
  i.body(turned({{-15, 0}, {-9, -6}, {-9, -2}, {-4, -2}, {-4, 2}, {-9, 2}, {-9, 6}}, degrees));
  i.body(turned({{15, 0}, {9, 6}, {9, 2}, {4, 2}, {4, -2}, {9, -2}, {9, -6}}, degrees));
  for (float x : {-3.0f, 1.0f})
    i.body(turned({{x, -11}, {x + 2, -11}, {x + 2, 11}, {x, 11}}, degrees), rgb(0x000000));
}

void multiDragCursor(const Ink& i) {
  arrowCursor(i);
  page(i, 17, 16, 28, 25);
  page(i, 15, 18.5f, 26, 27.5f);
  page(i, 13, 21, 24, 30);
}

void sqlWaitCursor(const Ink& i) {
  arrowCursor(i);
  // A database drum: a cylinder seen from slightly above.
  const Ink d = i.at(14, 14, 0.55f);
  d.fill(rect(4, 7, 28, 27), rgb(0x000000));
  d.fill(ellipse(16, 27, 13, 5), rgb(0x000000));
  d.fill(rect(5.3f, 7, 26.7f, 27), pal::yellowLight);
  d.fill(ellipse(16, 27, 11.7f, 3.8f), pal::yellowLight);
  d.fill(ellipse(16, 7, 13, 5), rgb(0x000000));
  d.fill(ellipse(16, 7, 11.7f, 3.8f), pal::yellow);
}

const Poly handOutline{
    {11, 3},     {12.5f, 1.5f}, {14, 1.5f},  {15.5f, 3},    {15.5f, 12}, {17.5f, 11}, {19.5f, 12},
    {21.5f, 12}, {23.5f, 13},   {25.5f, 14}, {27, 16.5f},   {27, 23},    {25, 27},    {25, 30},
    {13, 30},    {13, 27},      {8, 21.5f},  {5.5f, 17.5f}, {5.5f, 15},  {7.5f, 14},  {11, 17}};

void handCursor(const Ink& i) {
  i.body(handOutline);
  for (float x : {19.5f, 23.5f}) i.fill(line({x, 12.5f}, {x, 17}, 1.1f, Cap::Butt), rgb(0x000000));
}

struct CursorShape {
  const char* file;  // nullptr: shown in the menu only (a system cursor)
  void (*draw)(const Ink&);
  Pt hotSpot;  // in design units
};

// In the menu's order: the system cursors, then the framework's own.
const std::array<CursorShape, 20> cursorShapes{{
    {nullptr, arrowCursor, {1, 1}},
    {nullptr, ibeamCursor, {16, 16}},
    {nullptr, hourglass, {16, 16}},
    {nullptr, crossCursor, {16, 16}},
    {nullptr, upArrowCursor, {16, 2}},
    {nullptr, [](const Ink& i) { sizeCursor(i, 45); }, {16, 16}},
    {nullptr, [](const Ink& i) { sizeCursor(i, -45); }, {16, 16}},
    {nullptr, [](const Ink& i) { sizeCursor(i, 0); }, {16, 16}},
    {nullptr, [](const Ink& i) { sizeCursor(i, 90); }, {16, 16}},
    {nullptr, sizeAllCursor, {16, 16}},
    {nullptr, noSign, {16, 16}},
    {nullptr, appStartingCursor, {1, 1}},
    {nullptr, helpCursor, {1, 1}},
    {"drag.cur", dragCursor, {1, 1}},
    {"nodrop.cur", noDropCursor, {1, 1}},
    {"hsplit.cur", [](const Ink& i) { splitCursor(i, 0); }, {16, 16}},
    {"vsplit.cur", [](const Ink& i) { splitCursor(i, 90); }, {16, 16}},
    {"multidrag.cur", multiDragCursor, {1, 1}},
    {"sqlwait.cur", sqlWaitCursor, {1, 1}},
    {"handpoint.cur", handCursor, {13, 2}},
}};

// The toolbar's disabled look: grey and faded. Drawn here rather than left to
// the toolbar, whose own greying of 32-bit images differs between systems.
Canvas disabled(const Canvas& src) {
  Canvas out(src.width(), src.height());
  for (int y = 0; y < src.height(); ++y)
    for (int x = 0; x < src.width(); ++x) {
      const Color p = src.at(x, y);
      const float g = 0.3f * p.r + 0.59f * p.g + 0.11f * p.b;
      const float v = 0.35f + 0.5f * g;
      out.at(x, y) = {v, v, v, p.a * 0.55f};
    }
  return out;
}

// ---------------------------------------------------------------- output files

void put16(std::vector<std::uint8_t>& v, unsigned x) {
  v.push_back(x & 0xFF);
  v.push_back((x >> 8) & 0xFF);
}
void put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  put16(v, x & 0xFFFF);
  put16(v, x >> 16);
}

std::uint8_t byte(float f) { return std::uint8_t(std::lround(std::clamp(f, 0.0f, 1.0f) * 255)); }

// Straight-alpha BGRA, bottom-up; fully transparent pixels carry no colour.
void putPixels(std::vector<std::uint8_t>& v, const Canvas& c) {
  for (int y = c.height() - 1; y >= 0; --y) {
    for (int x = 0; x < c.width(); ++x) {
      const Color p = c.at(x, y);
      const std::uint8_t a = byte(p.a);
      v.push_back(a ? byte(p.b) : 0);
      v.push_back(a ? byte(p.g) : 0);
      v.push_back(a ? byte(p.r) : 0);
      v.push_back(a);
    }
  }
}

void putInfoHeader(std::vector<std::uint8_t>& v, int w, int h) {
  put32(v, 40);
  put32(v, std::uint32_t(w));
  put32(v, std::uint32_t(h));
  put16(v, 1);   // planes
  put16(v, 32);  // bits per pixel
  put32(v, 0);   // BI_RGB
  put32(v, 0);   // image size may be zero for BI_RGB
  put32(v, 2835);
  put32(v, 2835);
  put32(v, 0);
  put32(v, 0);
}

std::vector<std::uint8_t> bmp(const Canvas& c) {
  std::vector<std::uint8_t> v;
  const std::uint32_t bits = std::uint32_t(c.width()) * c.height() * 4;
  v.push_back('B');
  v.push_back('M');
  put32(v, 14 + 40 + bits);
  put32(v, 0);
  put32(v, 14 + 40);
  putInfoHeader(v, c.width(), c.height());
  putPixels(v, c);
  return v;
}

// An icon file, or with hot spots a cursor file (same layout, type 2, the
// hot spot where an icon keeps planes and bit count).
std::vector<std::uint8_t> ico(const std::vector<Canvas>& images,
                              const std::vector<Pt>* hotSpots = nullptr) {
  std::vector<std::vector<std::uint8_t>> bodies;
  for (const Canvas& c : images) {
    std::vector<std::uint8_t> b;
    putInfoHeader(b, c.width(), c.height() * 2);  // colour plus AND mask
    putPixels(b, c);
    // The AND mask still matters to code paths that ignore alpha.
    const int stride = ((c.width() + 31) / 32) * 4;
    for (int y = c.height() - 1; y >= 0; --y) {
      std::vector<std::uint8_t> row(size_t(stride), 0);
      for (int x = 0; x < c.width(); ++x)
        if (byte(c.at(x, y).a) == 0) row[size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
      b.insert(b.end(), row.begin(), row.end());
    }
    bodies.push_back(std::move(b));
  }
  std::vector<std::uint8_t> v;
  put16(v, 0);
  put16(v, hotSpots ? 2 : 1);  // cursor or icon
  put16(v, unsigned(images.size()));
  std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    v.push_back(std::uint8_t(images[i].width() & 0xFF));
    v.push_back(std::uint8_t(images[i].height() & 0xFF));
    v.push_back(0);  // no palette
    v.push_back(0);
    if (hotSpots) {
      put16(v, unsigned((*hotSpots)[i].x));
      put16(v, unsigned((*hotSpots)[i].y));
    } else {
      put16(v, 1);
      put16(v, 32);
    }
    put32(v, std::uint32_t(bodies[i].size()));
    put32(v, offset);
    offset += std::uint32_t(bodies[i].size());
  }
  for (const auto& b : bodies) v.insert(v.end(), b.begin(), b.end());
  return v;
}

// Minimal PNG (stored deflate blocks) for the previews.
std::uint32_t crc32(const std::uint8_t* p, size_t n, std::uint32_t crc = 0) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int j = 0; j < 8; ++j) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::vector<std::uint8_t> png(const Canvas& c) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < c.height(); ++y) {
    raw.push_back(0);
    for (int x = 0; x < c.width(); ++x) {
      const Color p = c.at(x, y);
      raw.insert(raw.end(), {byte(p.r), byte(p.g), byte(p.b), byte(p.a)});
    }
  }
  std::vector<std::uint8_t> z{0x78, 0x01};
  for (size_t i = 0; i < raw.size() || i == 0; i += 65535) {
    const size_t n = std::min<size_t>(65535, raw.size() - i);
    z.push_back(i + n >= raw.size() ? 1 : 0);
    put16(z, unsigned(n));
    put16(z, unsigned(~n & 0xFFFF));
    z.insert(z.end(), raw.begin() + long(i), raw.begin() + long(i + n));
  }
  std::uint32_t s1 = 1, s2 = 0;
  for (std::uint8_t b : raw) {
    s1 = (s1 + b) % 65521;
    s2 = (s2 + s1) % 65521;
  }
  for (int sh : {24, 16, 8, 0}) z.push_back(std::uint8_t(((s2 << 16 | s1) >> sh) & 0xFF));

  std::vector<std::uint8_t> v{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const auto chunk = [&](const char* type, const std::vector<std::uint8_t>& data) {
    for (int sh : {24, 16, 8, 0}) v.push_back(std::uint8_t((data.size() >> sh) & 0xFF));
    const size_t start = v.size();
    v.insert(v.end(), type, type + 4);
    v.insert(v.end(), data.begin(), data.end());
    const std::uint32_t crc = crc32(v.data() + start, v.size() - start);
    for (int sh : {24, 16, 8, 0}) v.push_back(std::uint8_t((crc >> sh) & 0xFF));
  };
  std::vector<std::uint8_t> ihdr;
  for (std::uint32_t d : {std::uint32_t(c.width()), std::uint32_t(c.height())})
    for (int sh : {24, 16, 8, 0}) ihdr.push_back(std::uint8_t((d >> sh) & 0xFF));
  ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
  chunk("IHDR", ihdr);
  chunk("IDAT", z);
  chunk("IEND", {});
  return v;
}

bool save(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!f) {
    std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
    return false;
  }
  return true;
}

// ---------------------------------------------------------------- previews

// The images side by side on light and dark backgrounds, at 1x and enlarged.
Canvas previewSheet(const std::vector<const Canvas*>& images, int zoom) {
  int w = 4, h = 0;
  for (const Canvas* c : images) {
    w += c->width() * zoom + 4;
    h = std::max(h, c->height() * zoom);
  }
  const std::array<Color, 3> backs{rgb(0xF0F0F0), rgb(0xFFFFFF), rgb(0x2B2B2B)};
  Canvas sheet(w, int(backs.size()) * (h + 4) + 4);
  sheet.fill(rect(0, 0, float(w), float(sheet.height())), rgb(0x9A9A9A));
  for (size_t row = 0; row < backs.size(); ++row) {
    const int top = 4 + int(row) * (h + 4);
    int left = 4;
    for (const Canvas* c : images) {
      for (int y = 0; y < c->height() * zoom; ++y)
        for (int x = 0; x < c->width() * zoom; ++x) {
          Color& d = sheet.at(left + x, top + y);
          d = backs[row];
          const Color s = c->at(x / zoom, y / zoom);
          d = mix(d, Color{s.r, s.g, s.b, 1}, s.a);
        }
      left += c->width() * zoom + 4;
    }
  }
  return sheet;
}

std::vector<const Canvas*> cursorSet(const std::vector<Canvas>& pictures) {
  std::vector<const Canvas*> set;
  for (const Canvas& c : pictures) set.push_back(&c);
  return set;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: make-images OUTPUT-DIR [PREVIEW-DIR]\n");
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::filesystem::create_directories(out);

  using Draw = void (*)(Canvas&);
  const std::array<Draw, 12> toolbar{
      openButton,
      pasteButton,
      copyButton,
      importButton,
      exportButton,
      [](Canvas& c) { navigation(c, false, true); },
      [](Canvas& c) { navigation(c, false, false); },
      [](Canvas& c) { navigation(c, true, false); },
      [](Canvas& c) { navigation(c, true, true); },
      [](Canvas& c) { linkButton(c, false); },
      [](Canvas& c) { linkButton(c, true); },
      wideButton,
  };
  const std::array<Draw, 4> kinds{kindOther, kindText, kindPicture, kindTextPicture};

  // Every strip in the sizes a screen at 100, 125, 150 and 200 % needs; the
  // program takes the largest that is not larger than its scale asks for.
  constexpr std::array<float, 4> scales{1, 1.25f, 1.5f, 2};
  bool ok = true;
  // Per size: the buttons, the kinds, the cursor pictures, for the previews.
  std::vector<std::vector<Canvas>> previews;
  for (float scale : scales) {
    const int size = int(std::lround(16 * scale)), cursorSize = int(std::lround(24 * scale));
    const std::string suffix = "-" + std::to_string(size) + ".bmp";
    Canvas toolStrip(size * int(toolbar.size()), size), kindStrip(size * int(kinds.size()), size);
    std::vector<Canvas> tools, kindIcons, cursorPictures;
    for (size_t i = 0; i < toolbar.size(); ++i) {
      tools.emplace_back(size, size, scale);
      toolbar[i](tools.back());
      toolStrip.blit(tools.back(), size * int(i), 0);
    }
    for (size_t i = 0; i < kinds.size(); ++i) {
      kindIcons.emplace_back(size, size, scale);
      kinds[i](kindIcons.back());
      kindStrip.blit(kindIcons.back(), size * int(i), 0);
    }
    // The capture menu's cursor pictures: 24 pixels at 100 %.
    Canvas cursorStrip(cursorSize * int(cursorShapes.size()), cursorSize);
    for (size_t i = 0; i < cursorShapes.size(); ++i) {
      cursorPictures.emplace_back(cursorSize, cursorSize);
      cursorShapes[i].draw(Ink{cursorPictures.back(), cursorSize / 32.0f});
      cursorStrip.blit(cursorPictures.back(), cursorSize * int(i), 0);
    }
    ok = ok && save(out / ("toolbar" + suffix), bmp(toolStrip)) &&
         save(out / ("toolbar-disabled" + suffix), bmp(disabled(toolStrip))) &&
         save(out / ("kinds" + suffix), bmp(kindStrip)) &&
         save(out / ("cursors-" + std::to_string(cursorSize) + ".bmp"), bmp(cursorStrip));
    previews.push_back(tools);
    for (const Canvas& c : tools) previews.back().push_back(disabled(c));
    previews.back().insert(previews.back().end(), kindIcons.begin(), kindIcons.end());
    previews.push_back(cursorPictures);
  }

  std::vector<Canvas> app;
  for (int size : {16, 20, 24, 32, 40, 48}) {
    app.emplace_back(size, size);
    appIcon(app.back());
  }
  ok = ok && save(out / "quilleteer.ico", ico(app));

  // The framework's cursors as files: 32 pixels, and larger for enlarged pointers.
  for (const CursorShape& shape : cursorShapes) {
    if (!shape.file) continue;
    std::vector<Canvas> images;
    std::vector<Pt> hot;
    for (int size : {32, 48, 64}) {
      images.emplace_back(size, size);
      shape.draw(Ink{images.back(), size / 32.0f});
      hot.push_back(
          {std::floor(shape.hotSpot.x * size / 32), std::floor(shape.hotSpot.y * size / 32)});
    }
    ok = ok && save(out / shape.file, ico(images, &hot));
  }

  if (ok && argc > 2) {
    const std::filesystem::path preview = argv[2];
    std::filesystem::create_directories(preview);
    std::vector<const Canvas*> a;
    for (auto it = app.rbegin(); it != app.rend(); ++it) a.push_back(&*it);
    ok = save(preview / "app-x1.png", png(previewSheet(a, 1))) &&
         save(preview / "app-x8.png", png(previewSheet(a, 8)));
    for (size_t i = 0; ok && i < previews.size(); ++i) {
      const std::string name = (i % 2 ? "cursors-" : "buttons-") + std::to_string(i / 2);
      ok = save(preview / (name + "-x1.png"), png(previewSheet(cursorSet(previews[i]), 1))) &&
           save(preview / (name + "-x4.png"), png(previewSheet(cursorSet(previews[i]), 4)));
    }
  }
  return ok ? 0 : 1;
}
