#pragma once
// The recorder: the open record storage and its ring of numbered records,
// the place in the clipboard-viewer chain, and capture. It owns no window;
// it works through the platform services and tells its window what to show
// through RecorderView.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/format_filter.h"
#include "core/record_kind.h"
#include "core/record_text.h"
#include "core/recorder_view.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/storage.h"
#include "platform/window_messages.h"

namespace quill::core {

struct RecorderServices {
  platform::Clipboard& clipboard;
  platform::WindowMessages& messages;
  platform::StorageFiles& files;
  platform::Dialogs& dialogs;
  platform::Clock& clock;
};

// Private messages of the main window.
constexpr unsigned WM_LINKNEXT = platform::msg::kUser + 0x67;
constexpr unsigned WM_CAPTURECLIP = platform::msg::kUser + 0x68;

namespace capture_state {
constexpr int kManual = 0;
constexpr int kAutomatic = 1;
constexpr int kSkipNext = 2;  // automatic; the next change is our own
}  // namespace capture_state

class Recorder {
 public:
  // `window` is the main window: clipboard owner and viewer. `folder` is
  // the executable's folder with its trailing separator, where the
  // temporary storage lives.
  Recorder(const RecorderServices& services, platform::WindowId window, std::u16string folder,
           RecorderView& view, FormatFilter filter);
  ~Recorder();

  // --- lifecycle ---
  // Opens the temporary storage and joins the viewer chain; false if no
  // storage could be created (the program then ends).
  bool FormCreate();
  // Arms automatic capture when the window is activated in automatic mode.
  void FormActivate(bool automatic_mode);
  // Offers to save; false if the user cancelled (the window stays open).
  // Otherwise the recorder has left the viewer chain.
  bool FormClose();

  // --- storage ---
  bool OpenStorage();
  int CloseStorage();
  // Opens a user's storage file chosen with the open dialog and loads it.
  void OpenBtnClick();
  int NextSlot() const;
  RecordKind WriteRecord(std::int32_t n, std::string& date);
  RecordKind ReadRecord(std::int32_t n, bool announce_only, std::string& date);
  // ReadRecord without the display menu: puts record `n` on the clipboard
  // and gives its kind and Header items. kDamaged: a stream of it could not
  // be read whole (a damaged file); what could be read was placed.
  enum class Placed { kNoSuchRecord, kWhole, kDamaged };
  Placed PlaceRecord(std::int32_t n, bool announce_only, RecordKind& kind,
                     std::vector<std::string>& items);
  // The same reading of record `n`, every stream whole, its text kept, but
  // nothing put on the clipboard: how a storage that opens is loaded.
  Placed CheckRecord(std::int32_t n, RecordKind& kind, std::vector<std::string>& items);
  // "整形書き込み": `text` (the text box's content, quoted already if so
  // wished) becomes the clipboard's text, and record CurrentNo is written
  // anew from the clipboard. Returns its kind and date, or kNoRecord when
  // nothing was written.
  RecordKind FormattedWrite(const std::u16string& text, std::string& date);
  void MenuDelClick();
  // Moves the current record before record `target` (0: no row there).
  void ListViewDragDrop(int target);
  // Shows record CurrentNo: ends link mode, puts it on the clipboard.
  void MovePosition(bool select);

  // --- navigation and link mode ---
  void FirstBtnClick();
  void PrevBtnClick();
  void NextBtnClick();
  void LastBtnClick();
  // A key pressed in the list or on the window (a virtual-key code).
  void MoveKeyDown(unsigned key);
  void LinkBtnClick();
  bool LinkMode() const { return link_mode_; }
  // Another program asks for the announced record; it is given only while
  // the user holds Ctrl and V (`paste_keys_held`).
  void WMRenderFormat(bool paste_keys_held);
  void WMLinkNext();

  // --- finding a record by its text ---
  // Turns text in the system's code page into Unicode.
  using TextDecoder = std::function<std::u16string(std::string_view)>;
  // The first record after the current one, in the direction asked and
  // round to the current one, whose text holds `what`; 0 if none does.
  // Reads the storage alone: the clipboard, the ring and the current
  // record stay as they are.
  int FindRecord(std::u16string_view what, bool match_case, bool down, const TextDecoder& decode);

  // --- clipboard notifications and capture ---
  void WMChangeCBChain(platform::WindowId removed, platform::WindowId next);
  void WMDrawClipboard(platform::WParam wparam, platform::LParam lparam);
  // The system's listener: every change, also those a viewer before us in
  // the chain did not pass on.
  void WMClipboardUpdate();
  // A capture request (from either notification, a retry or the text
  // loader): the clipboard's state is read unless it was read already.
  void WMCaptureClip();
  // Reads the clipboard into the next slot, whatever was read before (the
  // manual read, screen captures, dropped icons). If another program holds
  // the clipboard too long, the state is read later (RetryCaptureLater).
  void CaptureClipboard();
  // Call immediately before the program changes the clipboard itself.
  void SkipOwnChange();
  void WatchRGClick(bool automatic_mode);
  void MaxEditChange(std::u16string_view text);

  // --- state ---
  const std::u16string& StorageName() const { return storage_name_; }
  platform::WindowId NextViewer() const { return next_viewer_; }
  bool HasStorage() const { return root_ != nullptr; }
  int CurrentNo() const { return current_no_; }
  void SetCurrentNo(int n) { current_no_ = n; }
  int RecordCount() const { return record_count_; }
  int MaxRecords() const { return max_records_; }
  void SetMaxRecords(int n) { max_records_ = n; }
  int CaptureState() const { return capture_state_; }
  unsigned OpusAppWait() const { return opus_app_wait_; }
  void SetOpusAppWait(unsigned ms) { opus_app_wait_ = ms; }
  FormatFilter& Filter() { return filter_; }
  // The clipboard state read last, recorded or not (or put there by us):
  // a writer of the clipboard waits for its own state to be read.
  std::uint32_t ExaminedSequence() const { return examined_sequence_; }
  // Whether a state could not be read yet because another program held
  // the clipboard; it is tried again.
  bool CaptureHeld() const { return unread_sequence_.has_value(); }
  int LostChanges() const { return lost_changes_; }
  // The text of record `n` as last read or written, or nullptr if none is
  // kept: a window can show a record's first line without the clipboard.
  // The text just captured into record `n` while the clipboard is still in
  // state `sequence`, so that showing it need not read it again; none
  // otherwise.
  std::shared_ptr<const std::string> CapturedText(int n, std::uint32_t sequence) const {
    return n == captured_record_ && sequence == captured_sequence_ ? captured_text_ : nullptr;
  }
  const RecordText* KeptText(int n) const {
    const auto kept = record_texts_.find(n);
    return kept == record_texts_.end() ? nullptr : &kept->second;
  }

 private:
  // The text of the record captured last, in the system's code page, and
  // the clipboard state it was read from.
  std::shared_ptr<const std::string> captured_text_;
  int captured_record_ = 0;
  std::uint32_t captured_sequence_ = 0;
  struct TakenFormat {
    unsigned format;
    std::string name;
    std::unique_ptr<std::uint8_t[]> bytes;
    std::size_t size;
  };
  // How reading the clipboard went: read (whether or not anything was
  // kept), or not read because another program held it.
  enum class Reading { kRead, kHeld };
  // Reads the formats that pass the filter into `taken`; none if the
  // clipboard content asks not to be kept.
  Reading TakeClipboardFormats(std::vector<TakenFormat>& taken);
  // False if a block could not be copied into our memory.
  bool TakeOpenClipboard(std::vector<TakenFormat>& taken);
  enum class Privacy { kPublic, kPrivate, kHeld };
  Privacy ContentPrivacy();
  Reading ReadIntoNextSlot();
  RecordKind WriteRecordFrom(std::int32_t n, std::string& date, Reading& reading);
  // Before a capture of content that is not private: the clipboard's DIB
  // converted to the colour mode the window asks for and put back as the
  // clipboard's only content.
  void ConvertClipboardPicture();
  bool RecoverLeftoverStorage(const std::u16string& path);
  // Renames record `from` to `to` (0: the spare name), with its kept text.
  void RenameRecord(int from, int to);
  bool RecordHolds(std::int32_t n, std::u16string_view what, bool match_case,
                   const TextDecoder& decode);
  // Runs `step` on the root storage opened as one transaction, committed
  // if the step returns true: a run cut off in the middle of a step that
  // renumbers records leaves them as they were before it (the compound-file
  // library relinks its tree of names in several writes, and a process
  // ended between them loses the names being moved). False if the step
  // did not run or was not committed.
  bool InOneTransaction(const std::function<bool()>& step);
  void EndLinkMode();
  void LeaveViewerChain();

  platform::Clipboard& clipboard_;
  platform::WindowMessages& messages_;
  platform::StorageFiles& files_;
  platform::Dialogs& dialogs_;
  platform::Clock& clock_;
  platform::WindowId window_;
  std::u16string folder_;
  RecorderView& view_;
  FormatFilter filter_;

  std::u16string storage_name_;
  // The file the root storage is open on (the temporary one or the user's).
  std::u16string root_path_;
  platform::WindowId next_viewer_ = 0;
  bool in_chain_ = false;
  bool link_mode_ = false;
  std::unique_ptr<platform::Storage> root_;
  int current_no_ = 0;
  int record_count_ = 0;
  int max_records_ = 999;
  int capture_state_ = capture_state::kManual;
  // The texts of the records read or written so far, by number, each cut
  // to its first part; renumbered with their records, forgotten when
  // another storage is opened.
  std::map<int, RecordText> record_texts_;
  enum class Placing { kPut, kAnnounce, kCheck };
  Placed ReadRecordAs(std::int32_t n, Placing how, RecordKind& kind,
                      std::vector<std::string>& items);
  // The clipboard state read last: requests queued for the same state (the
  // chain and the listener both tell of one change) read it once.
  std::uint32_t examined_sequence_ = 0;
  // A state another program held past our patience, to be read later.
  std::optional<std::uint32_t> unread_sequence_;
  int lost_changes_ = 0;
  unsigned opus_app_wait_ = 2000;
};

}  // namespace quill::core
