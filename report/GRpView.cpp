#include "report/GRpView.h"

#include "platform/ApplicationError.h"
#include "platform/Desktop.h"
#include "report/RP_Ctrls.h"
#include "report/RP_Preview.h"
#include "report/engine/RP_Locale.h"
#include "report/engine/RP_StringTable.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

namespace ids {
constexpr int ZoomTo100 = 53200, ZoomToFit = 53201, ZoomToWidth = 53202, FirstPage = 53203, PrevPage = 53204,
              NextPage = 53205, LastPage = 53206, Print = 53207, Close = 53071;
}  // namespace ids

enum class GlyphKind { Zoom100, Fit, Width, First, Prev, Next, Last };

// 16 x 16 glyphs drawn here: any suitable image serves.
QPixmap DrawGlyph(GlyphKind kind) {
  QPixmap glyph(16, 16);
  glyph.fill(Qt::transparent);
  QPainter p(&glyph);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor ink(0, 0, 128);
  p.setPen(QPen(ink, 1));
  auto triangle = [&](double tipX, bool pointsLeft) {
    QPainterPath path;
    const double back = pointsLeft ? tipX + 5 : tipX - 5;
    path.moveTo(tipX, 8);
    path.lineTo(back, 3);
    path.lineTo(back, 13);
    path.closeSubpath();
    p.fillPath(path, ink);
  };
  switch (kind) {
    case GlyphKind::Zoom100: {
      p.setBrush(Qt::white);
      p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
      p.setPen(QPen(ink, 2.5));
      p.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
      QFont font(QStringLiteral("DejaVu Sans"));
      font.setPixelSize(7);
      font.setBold(true);
      p.setFont(font);
      p.setPen(ink);
      p.drawText(QRectF(1.5, 1.5, 9, 9), Qt::AlignCenter, QStringLiteral("1"));
      break;
    }
    case GlyphKind::Fit:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3.5, 1.5, 9, 13));
      p.drawLine(QPointF(5.5, 5), QPointF(10.5, 5));
      p.drawLine(QPointF(5.5, 8), QPointF(10.5, 8));
      p.drawLine(QPointF(5.5, 11), QPointF(10.5, 11));
      break;
    case GlyphKind::Width:
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 3.5, 13, 9));
      p.drawLine(QPointF(3.5, 8), QPointF(12.5, 8));
      p.drawLine(QPointF(3.5, 8), QPointF(5.5, 6));
      p.drawLine(QPointF(3.5, 8), QPointF(5.5, 10));
      p.drawLine(QPointF(12.5, 8), QPointF(10.5, 6));
      p.drawLine(QPointF(12.5, 8), QPointF(10.5, 10));
      break;
    case GlyphKind::First:
      p.fillRect(QRectF(3, 3, 2, 10), ink);
      triangle(6, true);
      break;
    case GlyphKind::Prev: triangle(5, true); break;
    case GlyphKind::Next: triangle(11, false); break;
    case GlyphKind::Last:
      triangle(10, false);
      p.fillRect(QRectF(11, 3, 2, 10), ink);
      break;
  }
  return glyph;
}

TrpSpeedButton* FlatButton(QWidget* parent, const char* name, GlyphKind glyph, int hint, int groupIndex = 0) {
  auto* button = new TrpSpeedButton(parent);
  button->setObjectName(QLatin1String(name));
  button->SetFlat(true);
  button->SetGlyph(DrawGlyph(glyph));
  button->SetGroupIndex(groupIndex);
  button->setToolTip(rpLoadStr(hint));
  button->setFixedSize(25, 25);
  return button;
}

}  // namespace

TFrPreviewDialog::TFrPreviewDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FrPreviewDialog"));
  setWindowTitle(rpLoadStr(rpStrings::Preview));
  setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
  resize(450, 346);

  auto* top = new QWidget(this);
  top->setObjectName(QStringLiteral("pnlTop"));
  top->setFixedHeight(33);
  auto* row = new QHBoxLayout(top);
  row->setContentsMargins(4, 4, 4, 4);
  row->setSpacing(0);
  btnZoomTo100_ = FlatButton(top, "btnZoomTo100", GlyphKind::Zoom100, ids::ZoomTo100, 1);
  btnZoomToFit_ = FlatButton(top, "btnZoomToFit", GlyphKind::Fit, ids::ZoomToFit, 1);
  btnZoomToWidth_ = FlatButton(top, "btnZoomToWidth", GlyphKind::Width, ids::ZoomToWidth, 1);
  btnZoomTo100_->SetDown(true);
  btnFirst_ = FlatButton(top, "btnFirst", GlyphKind::First, ids::FirstPage);
  btnPrev_ = FlatButton(top, "btnPrev", GlyphKind::Prev, ids::PrevPage);
  btnNext_ = FlatButton(top, "btnNext", GlyphKind::Next, ids::NextPage);
  btnLast_ = FlatButton(top, "btnLast", GlyphKind::Last, ids::LastPage);
  btnPrint_ = new QPushButton(rpLoadStr(ids::Print), top);
  btnPrint_->setObjectName(QStringLiteral("btnPrint"));
  btnClose_ = new QPushButton(rpLoadStr(ids::Close), top);
  btnClose_->setObjectName(QStringLiteral("btnClose"));
  for (QPushButton* button : {btnPrint_, btnClose_}) {
    button->setFixedHeight(25);
    button->setAutoDefault(false);
    // Key preview: the preview hears the keys first, whatever has the focus.
    button->installEventFilter(this);
  }
  for (QWidget* w : std::initializer_list<QWidget*>{btnZoomTo100_, btnZoomToFit_, btnZoomToWidth_}) row->addWidget(w);
  row->addSpacing(8);
  for (QWidget* w : std::initializer_list<QWidget*>{btnFirst_, btnPrev_, btnNext_, btnLast_}) row->addWidget(w);
  row->addStretch(1);
  row->addWidget(btnPrint_);
  row->addSpacing(4);
  row->addWidget(btnClose_);

  rpPreview_ = new TrpPreview(this);
  rpPreview_->SetScrollBars(TrpScrollBars::Both);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addWidget(rpPreview_, 1);

  auto guarded = [](std::function<void()> f) { return [f] { RunGuarded(f); }; };
  btnZoomTo100_->OnClick = guarded([this] { SetZoomMode(1); });
  btnZoomToFit_->OnClick = guarded([this] { SetZoomMode(0); });
  btnZoomToWidth_->OnClick = guarded([this] { SetZoomMode(2); });
  btnFirst_->OnClick = guarded([this] { rpPreview_->First(); });
  btnPrev_->OnClick = guarded([this] { rpPreview_->Prev(); });
  btnNext_->OnClick = guarded([this] { rpPreview_->Next(); });
  btnLast_->OnClick = guarded([this] { rpPreview_->Last(); });
  connect(btnPrint_, &QPushButton::clicked, this, [this] { RunGuarded([&] { rpPreview_->Form().PrintBtnClick(); }); });
  connect(btnClose_, &QPushButton::clicked, this, &QDialog::accept);

  // Centred on the screen.
  const QSize screen = Desktop().ScreenSize();
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

void TFrPreviewDialog::SetZoomMode(int mode) {
  zoomMode_ = mode;
  ApplyZoomMode();
}

void TFrPreviewDialog::ApplyZoomMode() {
  switch (zoomMode_) {
    case 0:
      btnZoomToFit_->SetDown(true);
      rpPreview_->OnePage();
      break;
    case 2:
      btnZoomToWidth_->SetDown(true);
      rpPreview_->PageWidth();
      break;
    default:
      btnZoomTo100_->SetDown(true);
      rpPreview_->SetZoom(100);
      break;
  }
}

void TFrPreviewDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ApplyZoomMode();
  rpPreview_->setFocus();
}

void TFrPreviewDialog::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) ApplyZoomMode();
}

void TFrPreviewDialog::keyPressEvent(QKeyEvent* event) {
  bool handled = false;
  RunGuarded([&] { handled = rpPreview_->HandleKey(event); });
  // Esc belongs to the preview: it leaves this window open.
  if (handled || event->key() == Qt::Key_Escape) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFrPreviewDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    bool handled = false;
    RunGuarded([&] { handled = rpPreview_->HandleKey(key); });
    if (handled || key->key() == Qt::Key_Escape) return true;
  }
  return QDialog::eventFilter(watched, event);
}
