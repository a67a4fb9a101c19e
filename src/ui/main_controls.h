#pragma once
// The main window's controls, as its collaborators reach them: made by the
// window in the declared order, owned by it.
#include "framework/container.h"
#include "framework/controls.h"
#include "framework/list_view.h"
#include "framework/page_control.h"
#include "framework/tool_bar.h"

namespace quill::ui {

struct MainControls {
  framework::ToolBar* ToolBar1 = nullptr;
  framework::StatusBar* StatusBar = nullptr;
  framework::PageControl* PageControl = nullptr;
  framework::Container* TabSheet1 = nullptr;
  framework::ListView* ListView = nullptr;
  framework::Container* SplitterPanel = nullptr;
  framework::Memo* Memo1 = nullptr;
  framework::ImageView* Image1 = nullptr;
  framework::RadioGroup* WatchRG = nullptr;
  framework::Edit* MaxEdit = nullptr;
  framework::RadioGroup* PositionRG = nullptr;
  framework::CheckBox* MiniCB = nullptr;
  framework::CheckBox* StayCB = nullptr;
  framework::CheckBox* ConvertCB = nullptr;
  framework::Edit* ConvertEdit = nullptr;
  framework::Edit* DelayEdit = nullptr;
  framework::ListView* FilterListView = nullptr;
  framework::RadioGroup* ColorRG = nullptr;
  framework::TrackBar* QualityBar = nullptr;
  framework::Edit* QualityEdit = nullptr;
  framework::UpDown* QualityUpDown = nullptr;
  framework::CheckBox* GrayCB = nullptr;
  framework::CheckBox* ProgCB = nullptr;
  framework::RadioGroup* ExpandRG = nullptr;
};

}  // namespace quill::ui
