#include "capture_fixture.h"

#include <cstring>

#include "platform/clipboard_guards.h"

namespace quill::capture::testing {

CaptureTest::CaptureTest() {
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) screen_.Paint({x, y, x + 1, y + 1}, ScreenColour(x, y));
  main_ = desktop_.AddWindow([this](platform::WindowId, unsigned m, platform::WParam w,
                                    platform::LParam l) -> platform::LResult {
    if (!recorder_) return 0;
    if (m == platform::msg::kDrawClipboard) recorder_->WMDrawClipboard(w, l);
    if (m == core::WM_CAPTURECLIP) recorder_->WMCaptureClip();
    return 0;
  });
  view_ = std::make_unique<core::testing::FakeView>(clipboard_, main_);
  const core::RecorderServices services = {clipboard_, desktop_, files_, dialogs_, clock_};
  recorder_ = std::make_unique<core::Recorder>(services, main_, u"C:\\memory\\", *view_,
                                               core::FormatFilter("(all)", "Other"));
  EXPECT_TRUE(recorder_->FormCreate());
  recorder_->FormActivate(true);
  desktop_.PumpMessages();
  capturer_ = std::make_unique<Capturer>(CaptureServices{screen_, clipboard_, dialogs_, *recorder_},
                                         main_, true);
}

CaptureTest::~CaptureTest() {
  capturer_.reset();
  recorder_.reset();
}

Picture CaptureTest::NewestRecord() {
  std::string date;
  EXPECT_GE(recorder_->ReadRecord(recorder_->CurrentNo(), false, date), 0);
  platform::ClipboardSession session(clipboard_, main_);
  platform::GlobalView dib(clipboard_, clipboard_.GetData(platform::cf::kDib));
  Picture picture;
  if (dib.bytes().size() < 40) return picture;
  const std::uint8_t* bytes = dib.bytes().data();
  std::int32_t header[3];
  std::memcpy(header, bytes, sizeof header);
  picture.width = header[1];
  picture.height = header[2];
  EXPECT_EQ(dib.bytes().size(), 40 + std::size_t(picture.width) * picture.height * 4);
  for (int y = 0; y < picture.height; ++y)
    for (int x = 0; x < picture.width; ++x) {
      const std::uint8_t* p =
          bytes + 40 + (std::size_t(picture.height - 1 - y) * picture.width + x) * 4;
      picture.pixels.push_back(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0]);
    }
  return picture;
}

void CaptureTest::CaptureWindow(int mode) {
  capturer_->MenuCaptureClick(mode, u"0");
  ASSERT_TRUE(capturer_->Pending());
  capturer_->WMHotKey();
  desktop_.PumpMessages();
}

}  // namespace quill::capture::testing
