// Opening, closing and saving the record storage, and the program's start
// and end around it.
#include <cstdio>

#include "core/messages.h"
#include "core/recorder.h"
#include "core/storage_modes.h"
#include "core/storage_repair.h"

namespace quill::core {

using platform::kOk;
namespace answer = platform::answer;
namespace mb = platform::mb;

Recorder::Recorder(const RecorderServices& services, platform::WindowId window,
                   std::u16string folder, RecorderView& view, FormatFilter filter)
    : clipboard_(services.clipboard),
      messages_(services.messages),
      files_(services.files),
      dialogs_(services.dialogs),
      clock_(services.clock),
      window_(window),
      folder_(std::move(folder)),
      view_(view),
      filter_(std::move(filter)) {}

Recorder::~Recorder() { LeaveViewerChain(); }

bool Recorder::FormCreate() {
  current_no_ = 0;
  record_count_ = 0;
  capture_state_ = capture_state::kManual;
  if (!OpenStorage()) return false;
  in_chain_ = true;
  // Joining sends the first notification at once; with capture still
  // manual, the clipboard's present content is not recorded.
  next_viewer_ = clipboard_.SetViewer(window_);
  // A viewer that joins after us and passes nothing on would otherwise
  // keep every change from us; where the system has listeners, it cannot.
  clipboard_.AddListener(window_);
  return true;
}

void Recorder::FormActivate(bool automatic_mode) {
  if (automatic_mode) capture_state_ = capture_state::kAutomatic;
}

bool Recorder::FormClose() {
  if (CloseStorage() == answer::kCancel) return false;
  LeaveViewerChain();
  return true;
}

void Recorder::LeaveViewerChain() {
  if (!in_chain_) return;
  in_chain_ = false;
  clipboard_.RemoveListener(window_);
  clipboard_.ChangeChain(window_, next_viewer_);
}

namespace {

std::u16string Ascii(const char* text) {
  std::u16string out;
  while (*text) out += static_cast<char16_t>(*text++);
  return out;
}

// Brackets a load, also when it ends early.
class LoadingScope {
 public:
  explicit LoadingScope(RecorderView& view) : view_(view) { view_.BeginLoading(); }
  ~LoadingScope() { view_.EndLoading(); }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;

 private:
  RecorderView& view_;
};

bool HoldsAnyRecord(platform::Storage& root) {
  std::unique_ptr<platform::ElementEnumerator> elements;
  if (root.EnumElements(elements) != kOk) return false;
  platform::ElementStat element;
  while (elements->Next(element) == kOk)
    if (element.type == platform::ElementType::kStorage) return true;
  return false;
}

}  // namespace

// A temporary storage left by a run that did not end normally holds the
// only copy of its records: keep it under a new name rather than replace it.
bool Recorder::RecoverLeftoverStorage(const std::u16string& path) {
  if (!files_.Exists(path)) return true;
  bool readable = false;
  {
    std::unique_ptr<platform::Storage> leftover;
    const platform::HResult opened = files_.OpenDocfile(path, mode::kOpenRoot, leftover);
    // One in use belongs to another running instance: leave it to the
    // create below, which then fails as well.
    if (platform::IsInUse(opened) || opened == platform::stg_error::kFileNotFound) return true;
    if (opened == kOk) {
      RepairRecords(*leftover);
      if (!HoldsAnyRecord(*leftover)) return true;
      readable = true;
    }
    // Otherwise it is not a compound file any more (half written when the
    // system went down, say): its bytes may still be all that is left of
    // the last records, so they are kept as they are.
  }
  const platform::LocalTime t = clock_.Now();
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  std::u16string target;
  for (int attempt = 1;; ++attempt) {
    target = folder_ + u"Quillet-recovered-" + Ascii(stamp);
    if (attempt > 1) target += u"-" + Ascii(std::to_string(attempt).c_str());
    target += u".stg";
    if (!files_.Exists(target)) break;
  }
  if (!files_.Move(path, target)) return false;
  if (readable)
    dialogs_.ShowMessage(std::u16string(text::kRecoveredStorage) + target,
                         mb::kOk | mb::kIconInformation);
  else
    dialogs_.ShowMessage(std::u16string(text::kRecoveredUnreadableStorage) + target,
                         mb::kOk | mb::kIconWarning);
  return true;
}

bool Recorder::OpenStorage() {
  storage_name_ = folder_ + text::kTemporaryStorage;
  // If the leftover could not be moved aside, creating the new storage
  // would destroy it: better not to start.
  if (!RecoverLeftoverStorage(storage_name_)) {
    root_.reset();
    return false;
  }
  root_.reset();
  record_texts_.clear();
  if (files_.CreateDocfile(storage_name_, mode::kCreateRoot, root_) != kOk) root_.reset();
  root_path_ = storage_name_;
  view_.SetExportEnabled(false);
  return root_ != nullptr;
}

int Recorder::CloseStorage() {
  int result = answer::kNo;
  if (record_count_ != 0 && !storage_name_.empty())
    result = dialogs_.ShowMessage(text::kSaveQuestion, mb::kYesNoCancel | mb::kIconQuestion);
  // Only an explicit No discards: a box that could not be shown, Cancel or
  // any other answer keeps everything as it is.
  if (result != answer::kYes && result != answer::kNo) return answer::kCancel;
  if (result == answer::kYes) {
    const auto target = dialogs_.SaveFile(text::kStorageFilter, text::kStorageExtension);
    if (!target) return answer::kCancel;
    if (root_) root_->Commit(0);
    root_.reset();
    if (*target != storage_name_ && !files_.Replace(storage_name_, *target)) {
      // Nothing may be lost: keep recording into the same storage. If it
      // cannot be opened again, its file still holds the records and can
      // be saved on the next close; only recording has to stop.
      if (files_.OpenDocfile(storage_name_, mode::kOpenRoot, root_) != kOk) {
        root_.reset();
        dialogs_.ShowMessage(std::u16string(text::kCannotReopenStorage) + storage_name_,
                             mb::kOk | mb::kIconError);
      } else {
        dialogs_.ShowMessage(std::u16string(text::kCannotSaveStorage) + *target,
                             mb::kOk | mb::kIconError);
      }
      return answer::kCancel;
    }
  } else {
    root_.reset();
    if (!storage_name_.empty()) files_.Delete(storage_name_);
  }
  storage_name_.clear();
  return result;
}

bool Recorder::InOneTransaction(const std::function<bool()>& step) {
  const auto open_direct = [this] {
    if (files_.OpenDocfile(root_path_, mode::kOpenRoot, root_) == kOk) return true;
    root_.reset();
    dialogs_.ShowMessage(text::kCannotOpenStorage, mb::kOk | mb::kIconError);
    return false;
  };
  root_.reset();
  // Where the file cannot be opened so, the step runs directly.
  if (files_.OpenDocfile(root_path_, mode::kOpenTransacted, root_) != kOk) {
    root_.reset();
    if (!open_direct()) return false;
  }
  const bool done = step();
  if (done)
    root_->Commit(0);
  else
    record_texts_.clear();  // the records stay as they were, the texts kept of them not
  root_.reset();
  return open_direct() && done;
}

void Recorder::OpenBtnClick() {
  const auto path = dialogs_.OpenFile(text::kStorageFilter);
  if (!path) return;
  if (CloseStorage() == answer::kCancel) return;
  view_.ClearList();
  current_no_ = 0;
  record_count_ = 0;
  view_.UpdateCounter(current_no_, record_count_);
  view_.HidePreview();
  view_.SetFormattedWriteEnabled(false);
  root_.reset();
  root_path_ = *path;
  record_texts_.clear();
  if (files_.OpenDocfile(*path, mode::kOpenRoot, root_) != kOk) {
    root_.reset();
    dialogs_.ShowMessage(text::kCannotOpenStorage, mb::kOk | mb::kIconError);
    OpenStorage();
    return;
  }
  int damaged = 0;
  {
    LoadingScope loading(view_);
    while (record_count_ < max_records_) {
      // Only the record shown at the end needs its display menu.
      RecordKind kind = kNoRecord;
      std::vector<std::string> items;
      // Read, not put on the clipboard: other programs watching it would
      // see (and record) every record pass, and wait on each.
      const Placed placed = CheckRecord(record_count_ + 1, kind, items);
      // A record that cannot be read whole is not shown as if it were.
      if (placed == Placed::kDamaged) damaged = record_count_ + 1;
      if (placed != Placed::kWhole || kind < 0) break;
      const std::string date = items.empty() ? std::string() : items.front();
      ++record_count_;
      current_no_ = record_count_;
      view_.SetListRow(current_no_, kind, date);
      view_.ShowLoading(record_count_);
    }
  }
  if (record_count_ > 0) {
    current_no_ = 1;
    MovePosition(true);
  }
  if (damaged)
    dialogs_.ShowMessage(
        std::u16string(text::kDamagedStorage) + Ascii(std::to_string(damaged).c_str()),
        mb::kOk | mb::kIconWarning);
}

}  // namespace quill::core
