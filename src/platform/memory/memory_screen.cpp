#include "platform/memory/memory_screen.h"

#include <algorithm>
#include <cstring>

namespace quill::platform {
namespace {

constexpr std::int32_t kArrow = 32512;
constexpr std::int32_t kIBeam = 32513;
constexpr std::int32_t kCross = 32515;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
constexpr std::size_t kInfoHeaderSize = 40;

// A plus sign of `size` (odd) pixels with its hot spot in the middle.
CursorImage Plus(int size) {
  CursorImage image{size, size, {size / 2, size / 2}, std::vector<std::uint32_t>(size * size)};
  for (int i = 0; i < size; ++i) {
    image.pixels[(size / 2) * size + i] = kOpaqueBlack;
    image.pixels[i * size + size / 2] = kOpaqueBlack;
  }
  return image;
}

// A right triangle with its tip, the hot spot, at the top-left corner.
CursorImage Arrow() {
  CursorImage image{4, 6, {0, 0}, std::vector<std::uint32_t>(24)};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x <= std::min(y, 3); ++x) image.pixels[y * 4 + x] = kOpaqueBlack;
  return image;
}

CursorImage IBeam() {
  CursorImage image{3, 7, {1, 3}, std::vector<std::uint32_t>(21)};
  for (int y = 0; y < 7; ++y) image.pixels[y * 3 + 1] = kOpaqueBlack;
  for (int x : {0, 2}) image.pixels[x] = image.pixels[18 + x] = kOpaqueBlack;
  return image;
}

bool Contains(const Rect& r, Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

// A 32-bit bottom-up packed DIB inside the clipboard double's bitmap object.
class MemoryScreenBitmap : public ScreenBitmap {
 public:
  MemoryScreenBitmap(MemoryScreen& screen, int width, int height)
      : screen_(screen), width_(width), height_(height) {
    std::vector<std::uint8_t> dib(kInfoHeaderSize + std::size_t(width) * height * 4);
    const std::int32_t fields[] = {40, width, height};
    std::memcpy(dib.data(), fields, sizeof fields);
    const std::uint16_t planes_bits[] = {1, 32};
    std::memcpy(dib.data() + 12, planes_bits, sizeof planes_bits);
    const std::uint32_t image_size = std::uint32_t(width) * height * 4;
    std::memcpy(dib.data() + 20, &image_size, 4);
    handle_ = screen_.clipboard_.CreateBitmap(std::move(dib));
  }
  ~MemoryScreenBitmap() override {
    if (handle_) screen_.clipboard_.DeleteBitmap(handle_);
  }

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void CopyFromScreen(const Rect& source, Point to) override {
    for (std::int64_t y = 0; y < source.Height(); ++y)
      for (std::int64_t x = 0; x < source.Width(); ++x) {
        const std::int64_t sx = source.left + x, sy = source.top + y;
        const bool on_screen = sx >= 0 && sy >= 0 && sx < screen_.width_ && sy < screen_.height_;
        Set(to.x + x, to.y + y,
            on_screen ? screen_.raster_[std::size_t(sy) * screen_.width_ + std::size_t(sx)]
                      : kWhite);
      }
  }

  void CopyFromBitmap(const ScreenBitmap& picture, const Rect& source, Point to) override {
    for (std::int64_t y = 0; y < source.Height(); ++y)
      for (std::int64_t x = 0; x < source.Width(); ++x) {
        const std::int64_t sx = source.left + x, sy = source.top + y;
        const bool inside = sx >= 0 && sy >= 0 && sx < picture.Width() && sy < picture.Height();
        Set(to.x + x, to.y + y, inside ? picture.PixelAt(int(sx), int(sy)) : kWhite);
      }
  }

  void FillWhite() override {
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) Set(x, y, kWhite);
  }

  bool DrawCursor(std::int32_t choice, WindowId window, Point at) override {
    const CursorImage* image = screen_.CursorFor(choice, window);
    if (!image) return false;
    for (int y = 0; y < image->height; ++y)
      for (int x = 0; x < image->width; ++x) {
        const std::uint32_t pixel = image->pixels[std::size_t(y) * image->width + x];
        if (pixel >> 24)
          Set(std::int64_t{at.x} - image->hot_spot.x + x,
              std::int64_t{at.y} - image->hot_spot.y + y, pixel & 0xFFFFFF);
      }
    return true;
  }

  std::uint32_t PixelAt(int x, int y) const override {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    const std::uint8_t* p = Pixel(x, y);
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
  }

  DataHandle Handle() const override { return handle_; }
  void Release() override { handle_ = nullptr; }

 private:
  std::uint8_t* Pixel(int x, int y) const {
    std::vector<std::uint8_t>* bytes = screen_.clipboard_.BitmapBytes(handle_);
    const std::size_t row = std::size_t(height_ - 1 - y);
    return bytes->data() + kInfoHeaderSize + (row * width_ + x) * 4;
  }
  // Writes a pixel; outside the bitmap nothing happens, as with GDI clipping.
  void Set(std::int64_t x, std::int64_t y, std::uint32_t colour) {
    if (!handle_ || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    std::uint8_t* p = Pixel(int(x), int(y));
    p[0] = std::uint8_t(colour);
    p[1] = std::uint8_t(colour >> 8);
    p[2] = std::uint8_t(colour >> 16);
    p[3] = 0;
  }

  MemoryScreen& screen_;
  int width_;
  int height_;
  DataHandle handle_ = nullptr;
};

MemoryScreen::MemoryScreen(MemoryClipboard& clipboard, int width, int height)
    : clipboard_(clipboard),
      width_(width),
      height_(height),
      raster_(std::size_t(width) * height, kWhite) {
  cursors_[kArrow] = Arrow();
  cursors_[kIBeam] = IBeam();
  cursors_[kCross] = Plus(7);
  // The framework's own: pointers with their hot spot at the tip, the split
  // cursors centred.
  for (std::int32_t index : {-12, -13, -16, -17, -21}) cursors_[index] = Arrow();
  for (std::int32_t index : {-14, -15}) cursors_[index] = Plus(9);
}

const MemoryScreen::Window* MemoryScreen::Find(WindowId window) const {
  for (const Window& w : windows_)
    if (w.id == window) return &w;
  return nullptr;
}

Rect MemoryScreen::WindowRect(WindowId window) {
  const Window* w = Find(window);
  return w ? w->rect : Rect{};
}

WindowId MemoryScreen::WindowFromPoint(Point at) {
  constexpr std::uint32_t kVisible = 0x10000000;
  // Controls lie inside their windows: they are found first.
  for (bool top_level : {false, true})
    for (const Window& w : windows_)
      if (w.top_level == top_level && (w.style & kVisible) && Contains(w.rect, at)) return w.id;
  return 0;
}

WindowId MemoryScreen::TopWindow() {
  for (const Window& w : windows_)
    if (w.top_level) return w.id;
  return 0;
}

WindowId MemoryScreen::NextWindow(WindowId window) {
  auto it = std::find_if(windows_.begin(), windows_.end(),
                         [window](const Window& w) { return w.id == window; });
  if (it == windows_.end()) return 0;
  for (++it; it != windows_.end(); ++it)
    if (it->top_level) return it->id;
  return 0;
}

std::uint32_t MemoryScreen::WindowStyle(WindowId window) {
  const Window* w = Find(window);
  return w ? w->style : 0;
}

bool MemoryScreen::RegisterHotKey(WindowId window, int id, unsigned modifiers, unsigned key) {
  // Like the system: a key held by anyone, even by this very window and id,
  // cannot be registered again (ERROR_HOTKEY_ALREADY_REGISTERED).
  return hotkeys_.emplace(std::pair(modifiers, key), std::pair(window, id)).second;
}

bool MemoryScreen::UnregisterHotKey(WindowId window, int id) {
  for (auto it = hotkeys_.begin(); it != hotkeys_.end(); ++it)
    if (it->second == std::pair(window, id)) {
      hotkeys_.erase(it);
      return true;
    }
  return false;
}

bool MemoryScreen::SetTimer(WindowId window, std::uintptr_t id, unsigned milliseconds) {
  if (!window) return false;
  timers_[{window, id}] = milliseconds;
  return true;
}

bool MemoryScreen::KillTimer(WindowId window, std::uintptr_t id) {
  return timers_.erase({window, id}) != 0;
}

std::unique_ptr<ScreenBitmap> MemoryScreen::CreateBitmap(int width, int height) {
  if (width <= 0 || height <= 0 || std::int64_t{width} * height > max_bitmap_pixels_)
    return nullptr;
  ++bitmaps_made_;
  return std::make_unique<MemoryScreenBitmap>(*this, width, height);
}

void MemoryScreen::Paint(const Rect& area, std::uint32_t colour) {
  for (std::int32_t y = std::max(area.top, 0); y < std::min(area.bottom, height_); ++y)
    for (std::int32_t x = std::max(area.left, 0); x < std::min(area.right, width_); ++x)
      raster_[std::size_t(y) * width_ + x] = colour;
}

std::uint32_t MemoryScreen::ScreenPixel(int x, int y) const {
  return raster_[std::size_t(y) * width_ + x];
}

WindowId MemoryScreen::AddWindow(const Rect& rect, std::uint32_t style, bool top_level) {
  next_window_ += 0x10;
  windows_.insert(windows_.begin(), {next_window_, rect, style, top_level});
  return next_window_;
}

const CursorImage* MemoryScreen::CursorFor(std::int32_t choice, WindowId window) const {
  std::int32_t id = choice;
  if (choice == 1) {
    const auto current = current_.find(window);
    id = current != current_.end() ? current->second : kArrow;
    // A cursor that cannot be drawn falls back to the arrow.
    if (!cursors_.count(id)) id = kArrow;
  }
  const auto found = cursors_.find(id);
  return found != cursors_.end() ? &found->second : nullptr;
}

MemoryScreen::ShowState MemoryScreen::ShowStateOf(WindowId window) const {
  const auto found = show_.find(window);
  return found != show_.end() ? found->second : ShowState::kNormal;
}

std::optional<unsigned> MemoryScreen::TimerOf(WindowId window, std::uintptr_t id) const {
  const auto found = timers_.find({window, id});
  if (found == timers_.end()) return std::nullopt;
  return found->second;
}

std::optional<std::pair<WindowId, int>> MemoryScreen::HotKeyOwner(unsigned modifiers,
                                                                  unsigned key) const {
  const auto found = hotkeys_.find({modifiers, key});
  if (found == hotkeys_.end()) return std::nullopt;
  return found->second;
}

}  // namespace quill::platform
