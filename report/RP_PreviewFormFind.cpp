// Finding text across the prepared pages: each page is drawn at 100 % onto a device that
// keeps its text outputs, which are searched in drawing order; the hit is scrolled into
// view and marked, and the next search resumes after it.
#include "report/RP_PreviewForm.h"

#include "report/RP_Srch.h"
#include "report/engine/RP_EMFPages.h"
#include "report/engine/RP_TextRecorder.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QScrollBar>
#include <cmath>

void TrpPreviewForm::FindBtnClick() {
  if (PageCount() == 0) return;
  TrpPreviewSearchForm form(this);
  form.Edit()->setText(searchText_);
  form.CaseSensitive()->setChecked(caseSensitive_);
  if (form.exec() != QDialog::Accepted || form.Edit()->text().isEmpty()) return;
  SetSearch(form.Edit()->text(), form.CaseSensitive()->isChecked(), form.FirstPage()->isChecked());
  FindNext();
}

void TrpPreviewForm::SetSearch(const QString& text, bool caseSensitive, bool fromFirstPage) {
  caseSensitive_ = caseSensitive;
  searchText_ = caseSensitive ? text : text.toUpper();
  if (fromFirstPage) {
    searchPage_ = 0;
    searchPosition_ = 0;
  } else if (current_ - 1 != lastSearchedPage_) {
    searchPage_ = std::max(0, current_ - 1);
    searchPosition_ = 0;
  }
}

bool TrpPreviewForm::FindNext() {
  if (PageCount() == 0 || searchText_.isEmpty()) return false;
  for (int index = searchPage_; index < PageCount(); ++index) {
    const TrpPageInfo& info = pages_->Pages(index).PageInfo;
    const QSize full(info.PaperWidth, info.PaperHeight);
    const std::vector<TrpTextRecord> records = rpPageTextRecords(*pages_, index, DrawRectFor(index, full));
    const int from = index == searchPage_ ? searchPosition_ : 0;
    for (int k = from; k < int(records.size()); ++k) {
      const QString& text = records[size_t(k)].Text;
      if (!(caseSensitive_ ? text : text.toUpper()).contains(searchText_)) continue;
      hit_ = true;
      hitPage_ = index;
      hitRect_ = records[size_t(k)].Bounds.toAlignedRect();
      searchPage_ = lastSearchedPage_ = index;
      searchPosition_ = k + 1;
      current_ = index + 1;
      ShowPageNumber();
      ScrollHitIntoView();
      box_->update();
      return true;
    }
    searchPosition_ = 0;
  }
  // Past the last page: nothing is marked, and searching again finds nothing more.
  hit_ = false;
  searchPage_ = PageCount();
  lastSearchedPage_ = PageCount() - 1;
  box_->update();
  return false;
}

QRect TrpPreviewForm::HitRectInBox() const {
  if (!hit_ || hitPage_ < 0 || size_t(hitPage_) >= layout_.Rects.size()) return {};
  const QRect page = layout_.Rects[size_t(hitPage_)];
  auto scaled = [this](int v) { return int(std::lround(v * factor_)); };
  return QRect(page.left() + scaled(hitRect_.left()), page.top() + scaled(hitRect_.top()),
               std::max(1, scaled(hitRect_.width())), std::max(1, scaled(hitRect_.height())))
      .translated(-hbar_->value(), -vbar_->value());
}

void TrpPreviewForm::ScrollHitIntoView() {
  const QRect page = layout_.Rects[size_t(hitPage_)];
  const QRect hit = HitRectInBox().translated(hbar_->value(), vbar_->value());
  const QSize client = box_->size();
  // The page's top 10 pixels below the window's edge, or lower when the hit would fall
  // below the window; the same sideways.
  int v = page.top() - 10;
  if (hit.bottom() + 10 > v + client.height()) v = hit.bottom() + 10 - client.height();
  int h = hbar_->value();
  if (hit.right() + 10 > h + client.width() || hit.left() < h) h = std::max(page.left() - 10, hit.right() + 10 - client.width());
  followScroll_ = false;
  vbar_->setValue(v);
  hbar_->setValue(h);
  followScroll_ = true;
}

void TrpPreviewForm::MarkHit(QPainter& painter) {
  const QRect hit = HitRectInBox();
  if (hit.isEmpty()) return;
  painter.save();
  // White XOR: every colour inverted, as a difference with white does without touching alpha.
  painter.setCompositionMode(QPainter::CompositionMode_Difference);
  painter.fillRect(hit, Qt::white);
  painter.restore();
}
