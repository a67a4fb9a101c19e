#include "ui/record_finder.h"

#include <cstdio>

#include "ui/code_page.h"

namespace quill::ui {
namespace {

std::u16string U16(const std::wstring& text) { return {text.begin(), text.end()}; }

std::u16string Decode(std::string_view ansi) { return U16(FromAnsi(std::string(ansi))); }

}  // namespace

RecordFinder::RecordFinder(framework::Form& form, core::Recorder& recorder,
                           framework::ListView& list, platform::Dialogs& dialogs, CommandRunner run)
    : form_(form), recorder_(recorder), list_(list), dialogs_(dialogs), run_(std::move(run)) {
  form_.Handle(::RegisterWindowMessageW(FINDMSGSTRINGW), [this](WPARAM, LPARAM lparam) {
    const auto* find = reinterpret_cast<const FINDREPLACEW*>(lparam);
    run_([this, find] { OnFindMessage(*find); });
    return LRESULT{0};
  });
}

void RecordFinder::MenuFindClick() {
  if (find_dialog_) {
    ::SetActiveWindow(find_dialog_);
    return;
  }
  find_ = {};
  find_.lStructSize = sizeof find_;
  find_.hwndOwner = form_.hwnd();
  find_.lpstrFindWhat = find_text_;
  find_.wFindWhatLen = static_cast<WORD>(std::size(find_text_));
  // The dialog opens with the choices of its last use; records are not
  // searched by whole words.
  find_.Flags = (find_flags_ & (FR_DOWN | FR_MATCHCASE)) | FR_HIDEWHOLEWORD;
  find_dialog_ = ::FindTextW(&find_);
}

void RecordFinder::FindNextClick() {
  if (find_text_[0] == L'\0') {
    MenuFindClick();
    return;
  }
  FindAndShow();
}

void RecordFinder::OnFindMessage(const FINDREPLACEW& find) {
  if (find.Flags & FR_DIALOGTERM) {
    find_dialog_ = nullptr;
    return;
  }
  find_flags_ = find.Flags;
  if (find.Flags & FR_FINDNEXT) FindAndShow();
}

void RecordFinder::FindAndShow() {
  const std::wstring what = find_text_;
  const int found = recorder_.FindRecord(U16(what), (find_flags_ & FR_MATCHCASE) != 0,
                                         (find_flags_ & FR_DOWN) != 0, Decode);
  if (found == 0) {
    std::vector<wchar_t> text(what.size() + 32);
    std::swprintf(text.data(), text.size(), L"「%ls」が見つかりません。", what.c_str());
    dialogs_.ShowMessage(U16(text.data()), platform::mb::kOk | platform::mb::kIconInformation);
    return;
  }
  // Shown as a click on its row shows it, with the row selected and in view.
  recorder_.SetCurrentNo(found);
  recorder_.MovePosition(true);
  list_.EnsureVisible(found - 1);
}

}  // namespace quill::ui
