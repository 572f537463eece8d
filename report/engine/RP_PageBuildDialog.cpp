// Dialog pages: before the report pages are built, each shows its controls on a modal
// form (unless its activation script answers for the user); Cancel there cancels the
// report.
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Control.h"
#include "report/engine/RP_Globals.h"
#include "report/engine/RP_Page.h"
#include "report/engine/RP_PageBuild.h"

#include <QRect>
#include <QVariant>

namespace {

constexpr int kRpModalCancel = 2;  // mrCancel

}  // namespace

void TrpPageRun::InitDialog() {
  dialogForm_.reset();
  modalResult_ = 0;
  std::vector<TrpControl*> controls;
  for (const auto& object : page_.Objects()) {
    if (auto* control = dynamic_cast<TrpControl*>(object.get()); control && control->Control()) controls.push_back(control);
  }
  TrpWindows* windows = rpWindows();
  if (!controls.empty() && windows) dialogForm_ = windows->CreateDialogPageForm();
  if (dialogForm_) {
    for (TrpControl* control : controls) {
      QObject& live = *control->Control();
      dialogForm_->Place(live);
      live.setProperty("geometry", QRect(control->Left, control->Top, control->Width, control->Height));
      live.setProperty("visible", control->Visible);
    }
  }
  if (!dialogForm_ || !page_.Visible) {
    RunPageScript();
    return;
  }
  // The form stands alone: the progress window steps aside while it is up.
  TrpProgressView* progress = rpGlobals().Progress();
  const bool progressShown = progress && progress->IsVisible();
  if (progressShown) progress->SetVisible(false);
  TrpDialogLook look;
  look.sizeable = page_.BorderStyle == TrpBorderStyle::bsSizeable;
  look.caption = page_.Caption;
  look.color = page_.Color;
  look.left = page_.FormLeft;
  look.top = page_.FormTop;
  look.width = page_.FormWidth;
  look.height = page_.FormHeight;
  look.screenCenter = page_.Position == TrpPosition::poScreenCenter;
  dialogForm_->SetLook(look);
  activating_ = true;
  RunPageScript();  // OnActivate: may answer for the user through ModalResult
  activating_ = false;
  int result = modalResult_;
  if (result == 0) {
    showingDialog_ = true;
    result = dialogForm_->ShowModal();
    showingDialog_ = false;
  }
  if (result == kRpModalCancel) {
    build_.DialogCancelled = true;
    build_.Terminated = true;
  }
  if (progressShown) progress->SetVisible(true);
}

bool TrpPageRun::SetModalResult(int result) {
  if (page_.PageType != rpPageType::Dialog || !dialogForm_) return false;
  if (showingDialog_)
    dialogForm_->SetModalResult(result);
  else
    modalResult_ = result;
  return true;
}
