// The behaviour every clipboard implementation must show, run against the
// in-memory double and against the system's clipboard.
#include <cstring>
#include <string>
#include <vector>

#include "clipboard_contract.h"
#include "emf_bytes.h"
#include "platform/clipboard_guards.h"

namespace quill::platform::testing {
namespace {

std::vector<unsigned> ListFormats(Clipboard& clipboard) {
  std::vector<unsigned> formats;
  for (unsigned f = clipboard.EnumFormats(0); f != 0; f = clipboard.EnumFormats(f))
    formats.push_back(f);
  return formats;
}

// Puts a copy of `bytes` on the open clipboard under `format`.
bool PutBytes(Clipboard& clipboard, unsigned format, const void* bytes, std::size_t size) {
  GlobalBlock block(clipboard, size);
  if (!block) return false;
  {
    GlobalView view(clipboard, block.get());
    if (!view.locked()) return false;
    std::memcpy(view.bytes().data(), bytes, size);
  }
  return HandOver(clipboard, format, block);
}

bool PutText(Clipboard& clipboard, const std::string& text) {
  return PutBytes(clipboard, cf::kText, text.c_str(), text.size() + 1);
}

std::vector<std::uint8_t> BytesOf(Clipboard& clipboard, unsigned format) {
  GlobalView view(clipboard, clipboard.GetData(format));
  return {view.bytes().begin(), view.bytes().end()};
}

std::string TextOf(Clipboard& clipboard, unsigned format) {
  const std::vector<std::uint8_t> bytes = BytesOf(clipboard, format);
  return std::string(reinterpret_cast<const char*>(bytes.data()),
                     strnlen(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

TEST_P(ClipboardContract, FormatsComeInTheOrderSetThenTheDerivedTextFormats) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& owner = world_->NewWindow();
  const unsigned custom = clipboard.RegisterFormat("Quilleteer Contract Order");
  ASSERT_NE(custom, 0u);
  {
    ClipboardSession session(clipboard, owner.id);
    ASSERT_TRUE(session.is_open());
    ASSERT_TRUE(clipboard.Empty());
    const char marker[] = "custom";
    ASSERT_TRUE(PutBytes(clipboard, custom, marker, sizeof marker));
    ASSERT_TRUE(PutText(clipboard, "hello"));
  }
  ClipboardSession session(clipboard, owner.id);
  ASSERT_TRUE(session.is_open());
  EXPECT_EQ(ListFormats(clipboard), (std::vector<unsigned>{custom, cf::kText, cf::kLocale,
                                                           cf::kOemText, cf::kUnicodeText}));
  EXPECT_EQ(clipboard.CountFormats(), 5);
  EXPECT_TRUE(clipboard.IsFormatAvailable(cf::kUnicodeText));
  EXPECT_FALSE(clipboard.IsFormatAvailable(cf::kDib));
  EXPECT_EQ(TextOf(clipboard, cf::kText), "hello");
  EXPECT_EQ(TextOf(clipboard, cf::kOemText), "hello");
  const std::vector<std::uint8_t> wide = BytesOf(clipboard, cf::kUnicodeText);
  ASSERT_GE(wide.size(), 12u);
  EXPECT_EQ(std::memcmp(wide.data(), u"hello", 12), 0);
  EXPECT_EQ(BytesOf(clipboard, cf::kLocale).size(), 4u);
}

TEST_P(ClipboardContract, UnicodeTextDerivesTheEightBitFormats) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& owner = world_->NewWindow();
  {
    ClipboardSession session(clipboard, owner.id);
    ASSERT_TRUE(clipboard.Empty());
    ASSERT_TRUE(PutBytes(clipboard, cf::kUnicodeText, u"abc", sizeof u"abc"));
  }
  ClipboardSession session(clipboard, owner.id);
  EXPECT_EQ(ListFormats(clipboard),
            (std::vector<unsigned>{cf::kUnicodeText, cf::kLocale, cf::kText, cf::kOemText}));
  EXPECT_EQ(TextOf(clipboard, cf::kText), "abc");
}

TEST_P(ClipboardContract, BlocksComeBackWithTheirBytesAndEmptyRemovesEverything) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& owner = world_->NewWindow();
  const unsigned custom = clipboard.RegisterFormat("Quilleteer Contract Bytes");
  std::vector<std::uint8_t> pattern(1000);
  for (std::size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<std::uint8_t>(i * 7);
  {
    ClipboardSession session(clipboard, owner.id);
    ASSERT_TRUE(clipboard.Empty());
    ASSERT_TRUE(PutBytes(clipboard, custom, pattern.data(), pattern.size()));
  }
  {
    ClipboardSession session(clipboard, owner.id);
    const std::vector<std::uint8_t> back = BytesOf(clipboard, custom);
    ASSERT_GE(back.size(), pattern.size());
    EXPECT_TRUE(std::equal(pattern.begin(), pattern.end(), back.begin()));
    ASSERT_TRUE(clipboard.Empty());
  }
  ClipboardSession session(clipboard, owner.id);
  EXPECT_EQ(clipboard.CountFormats(), 0);
  EXPECT_EQ(clipboard.EnumFormats(0), 0u);
  EXPECT_EQ(clipboard.GetData(custom), nullptr);
}

TEST_P(ClipboardContract, FormatNamesAreReadThroughAFortyByteBuffer) {
  Clipboard& clipboard = world_->clipboard();
  const std::string long_name = "Quilleteer Contract Name 0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const unsigned format = clipboard.RegisterFormat(long_name);
  ASSERT_NE(format, 0u);
  EXPECT_EQ(clipboard.GetFormatName(format), long_name.substr(0, 39));

  const unsigned short_format = clipboard.RegisterFormat("Quilleteer, \"Short\"");
  EXPECT_EQ(clipboard.GetFormatName(short_format), "Quilleteer, \"Short\"");
  EXPECT_EQ(clipboard.RegisterFormat("QUILLETEER, \"SHORT\""), short_format);
  EXPECT_EQ(clipboard.GetFormatName(cf::kText), "");
  EXPECT_GE(format, 0xC000u);
}

TEST_P(ClipboardContract, EnhancedMetafileBytesRoundTrip) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& owner = world_->NewWindow();
  const std::vector<std::uint8_t> emf = MinimalEnhMetafile();
  {
    ClipboardSession session(clipboard, owner.id);
    ASSERT_TRUE(clipboard.Empty());
    EnhMetafile metafile(clipboard, emf);
    ASSERT_TRUE(metafile);
    // A metafile is no global memory block.
    EXPECT_EQ(clipboard.GlobalLock(metafile.get()), nullptr);
    ASSERT_TRUE(HandOver(clipboard, cf::kEnhMetafile, metafile));
    EXPECT_FALSE(metafile);
  }
  ClipboardSession session(clipboard, owner.id);
  EXPECT_EQ(clipboard.EnumFormats(0), cf::kEnhMetafile);
  EXPECT_EQ(clipboard.GetEnhMetaFileBits(clipboard.GetData(cf::kEnhMetafile)), emf);
}

TEST_P(ClipboardContract, BytesThatAreNoMetafileMakeNone) {
  Clipboard& clipboard = world_->clipboard();
  const std::vector<std::uint8_t> junk(200, 0x41);
  EXPECT_EQ(clipboard.SetEnhMetaFileBits(junk), nullptr);
  EXPECT_TRUE(clipboard.GetEnhMetaFileBits(nullptr).empty());
}

TEST_P(ClipboardContract, AnAnnouncedFormatIsRenderedByItsOwnerWhenAnotherWindowAsks) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& owner = world_->NewWindow();
  TestWindow& reader = world_->NewWindow();
  const unsigned custom = clipboard.RegisterFormat("Quilleteer Contract Delayed");
  owner.on_message = [&](const Message& m) {
    if (m.message != msg::kRenderFormat) return;
    const char rendered[] = "rendered late";
    PutBytes(clipboard, static_cast<unsigned>(m.wparam), rendered, sizeof rendered);
  };
  {
    ClipboardSession session(clipboard, owner.id);
    ASSERT_TRUE(clipboard.Empty());
    EXPECT_TRUE(clipboard.SetData(custom, nullptr));
  }
  EXPECT_EQ(owner.Count(msg::kRenderFormat), 0);
  ClipboardSession session(clipboard, reader.id);
  ASSERT_TRUE(session.is_open());
  EXPECT_TRUE(clipboard.IsFormatAvailable(custom));
  EXPECT_EQ(TextOf(clipboard, custom), "rendered late");
  world_->Pump();
  ASSERT_EQ(owner.Count(msg::kRenderFormat), 1);
  EXPECT_EQ(owner.received.back().wparam, custom);
  // Rendered once, the data stays.
  EXPECT_EQ(TextOf(clipboard, custom), "rendered late");
  EXPECT_EQ(owner.Count(msg::kRenderFormat), 1);
}

TEST_P(ClipboardContract, AViewerHearsOnceOnJoiningAndOnceAfterEachChange) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& viewer = world_->NewWindow();
  TestWindow& writer = world_->NewWindow();
  const WindowId next = clipboard.SetViewer(viewer.id);
  world_->Pump();
  EXPECT_EQ(viewer.Count(msg::kDrawClipboard), 1);
  std::uint32_t sequence = clipboard.SequenceNumber();
  for (int change = 1; change <= 2; ++change) {
    {
      ClipboardSession session(clipboard, writer.id);
      ASSERT_TRUE(clipboard.Empty());
      ASSERT_TRUE(PutText(clipboard, "change " + std::to_string(change)));
    }
    world_->Pump();
    EXPECT_EQ(viewer.Count(msg::kDrawClipboard), 1 + change);
    EXPECT_NE(clipboard.SequenceNumber(), sequence) << "one state, one number";
    sequence = clipboard.SequenceNumber();
  }
  {  // Only reading changes nothing.
    ClipboardSession session(clipboard, writer.id);
    EXPECT_EQ(TextOf(clipboard, cf::kText), "change 2");
  }
  world_->Pump();
  EXPECT_EQ(viewer.Count(msg::kDrawClipboard), 3);
  EXPECT_EQ(clipboard.SequenceNumber(), sequence);
  clipboard.ChangeChain(viewer.id, next);
}

TEST_P(ClipboardContract, LeavingTheChainTellsTheWindowAtItsHead) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& first = world_->NewWindow();
  TestWindow& second = world_->NewWindow();
  const WindowId before_first = clipboard.SetViewer(first.id);
  const WindowId before_second = clipboard.SetViewer(second.id);
  EXPECT_EQ(before_second, first.id);

  clipboard.ChangeChain(first.id, before_first);
  world_->Pump();
  ASSERT_EQ(second.Count(msg::kChangeCbChain), 1);
  EXPECT_EQ(second.received.back().wparam, first.id);
  EXPECT_EQ(static_cast<WindowId>(second.received.back().lparam), before_first);

  // The head leaving tells nobody.
  clipboard.ChangeChain(second.id, before_first);
  world_->Pump();
  EXPECT_EQ(second.Count(msg::kChangeCbChain), 1);
  EXPECT_EQ(first.Count(msg::kChangeCbChain), 0);

  // Whoever joins next finds the chain as it was before the two.
  TestWindow& third = world_->NewWindow();
  EXPECT_EQ(clipboard.SetViewer(third.id), before_first);
  clipboard.ChangeChain(third.id, before_first);
}

TEST_P(ClipboardContract, TheClipboardIsHeldFromOpeningToClosing) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& holder = world_->NewWindow();
  TestWindow& other = world_->NewWindow();
  {
    ClipboardSession session(clipboard, holder.id);
    ASSERT_TRUE(session.is_open());
    EXPECT_FALSE(clipboard.Open(other.id));
  }
  EXPECT_FALSE(clipboard.Close());  // closed already
  ClipboardSession session(clipboard, other.id);
  EXPECT_TRUE(session.is_open());
}

TEST_P(ClipboardContract, AnOpeningWaitsForAnotherProgramToLetGo) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& window = world_->NewWindow();
  world_->HoldClipboard(60);
  EXPECT_FALSE(clipboard.Open(window.id)) << "one try fails while it is held";
  {
    ClipboardSession session(clipboard, window.id);
    EXPECT_TRUE(session.is_open()) << "a patient opening outlasts a short hold";
  }
  // Held past the patience: the opening gives up, and works once let go.
  world_->HoldClipboard(60'000);
  EXPECT_FALSE(OpenPatiently(clipboard, window.id, 100));
  world_->LetGoOfClipboard();
  ClipboardSession session(clipboard, window.id);
  EXPECT_TRUE(session.is_open());
}

TEST_P(ClipboardContract, AListenerHearsOfEveryChangeWhateverTheViewerChainDoes) {
  Clipboard& clipboard = world_->clipboard();
  TestWindow& listener = world_->NewWindow();
  TestWindow& careless = world_->NewWindow();
  TestWindow& writer = world_->NewWindow();
  ASSERT_TRUE(clipboard.AddListener(listener.id));
  // A viewer at the head of the chain that passes nothing on.
  const WindowId next = clipboard.SetViewer(careless.id);
  for (int change = 1; change <= 2; ++change) {
    ClipboardSession session(clipboard, writer.id);
    ASSERT_TRUE(clipboard.Empty());
    ASSERT_TRUE(PutText(clipboard, "change " + std::to_string(change)));
  }
  // The update is posted; the system may deliver it a moment later.
  for (int wait = 0; wait < 100 && listener.Count(msg::kClipboardUpdate) < 2; ++wait) {
    world_->Pump();
    clipboard.WaitForRelease(10);
  }
  world_->Pump();
  EXPECT_EQ(listener.Count(msg::kClipboardUpdate), 2);
  clipboard.RemoveListener(listener.id);
  {
    ClipboardSession session(clipboard, writer.id);
    ASSERT_TRUE(clipboard.Empty());
  }
  world_->Pump();
  EXPECT_EQ(listener.Count(msg::kClipboardUpdate), 2) << "no word after leaving";
  clipboard.ChangeChain(careless.id, next);
}

}  // namespace
}  // namespace quill::platform::testing
