// The notebook's keys, clicks, focus and accelerators.
#include "controls/clctrl.h"
#include "controls/clnbk.h"
#include "platform/Application.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace {

// Commands of the "Default" table the notebook acts on.
constexpr int kCmdLeft = 46, kCmdRight = 55, kCmdHome = 42, kCmdEnd = 16, kCmdUp = 73, kCmdDown = 15;

// The accelerator character of a caption ("&General" gives 'G'; "&&" is a plain "&").
QChar AcceleratorOf(const QString& caption) {
  for (int i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != QLatin1Char('&')) continue;
    if (caption[i + 1] != QLatin1Char('&')) return caption[i + 1].toUpper();
    ++i;
  }
  return {};
}

}  // namespace

bool TClNotebook::HasFocusForClick() const {
  // A window that is not active cannot say where the focus is; the click counts as the
  // one that activates it.
  return hasFocus() || !window()->isActiveWindow();
}

void TClNotebook::TabClick(int index) {
  if (OnTabClick) OnTabClick(*this, index);
}

bool TClNotebook::FocusFirstControl(bool tabStopsOnly) {
  for (QWidget* widget = nextInFocusChain(); widget != nullptr && widget != this; widget = widget->nextInFocusChain()) {
    if (!isAncestorOf(widget) || !widget->isVisible() || !widget->isEnabled()) continue;
    const Qt::FocusPolicy policy = widget->focusPolicy();
    if (tabStopsOnly ? (policy & Qt::TabFocus) != Qt::TabFocus : policy == Qt::NoFocus) continue;
    widget->setFocus(Qt::OtherFocusReason);
    return true;
  }
  return false;
}

bool TClNotebook::TabMouseDown(QPoint point) {
  for (int i = 0; i < CountPages(); ++i) {
    TClTabPage* page = PageAt(i);
    if (!page->TabRect().contains(point)) continue;
    if (i == pageIndex_) {
      setFocus(Qt::MouseFocusReason);
      TabClick(i);
      return true;
    }
    if (IsValidPage(i)) {
      // The click that activates a window focuses the notebook first; a notebook that
      // could not take the focus changes nothing.
      if (page->Enabled()) setFocus(Qt::MouseFocusReason);
      if (!HasFocusForClick()) return false;
      SetPageIndex(i);
      if (pageIndex_ != i) return false;
      if (!FocusFirstControl(true) && !FocusFirstControl(false)) setFocus(Qt::MouseFocusReason);
      TabClick(i);
      return true;
    }
    TabClick(i);
  }
  return true;
}

void TClNotebook::mousePressEvent(QMouseEvent* event) {
  bool passOn = true;
  if (event->button() == Qt::LeftButton) RunGuarded([&] { passOn = TabMouseDown(event->position().toPoint()); });
  if (passOn) TClCustomControlEx::mousePressEvent(event);
}

void TClNotebook::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  RunGuarded([&] {
    for (int i = 0; i < CountPages(); ++i) {
      if (!PageAt(i)->TabRect().contains(point)) continue;
      if (OnMouseOverTab) OnMouseOverTab(*this, i);
      break;
    }
  });
  TClCustomControlEx::mouseMoveEvent(event);
}

void TClNotebook::focusInEvent(QFocusEvent* event) {
  TClCustomControlEx::focusInEvent(event);
  InvalidateTab(pageIndex_);
}

void TClNotebook::focusOutEvent(QFocusEvent* event) {
  TClCustomControlEx::focusOutEvent(event);
  InvalidateTab(pageIndex_);
  if (mouseGrabber() == this) releaseMouse();
}

// Acts on a page command; true when the key was used.
bool TClNotebook::KeyCommand(int command) {
  using enum TClTabOrientation;
  int target = -1;
  bool outward = false;
  bool used = true;
  const int first = NextValidPage(CountPages() - 1);
  const int last = PrevValidPage(0);
  const int next = NextValidPage(pageIndex_);
  const int previous = PrevValidPage(pageIndex_);
  switch (command) {
    case kCmdHome: target = first; break;
    case kCmdEnd: target = last; break;
    case kCmdLeft:
      if (orientation_ == toTop || orientation_ == toBottom) target = previous;
      outward = orientation_ == toLeft;
      break;
    case kCmdRight:
      if (orientation_ == toTop || orientation_ == toBottom) target = next;
      outward = orientation_ == toRight;
      break;
    case kCmdUp:
      if (orientation_ == toRight) target = previous;
      if (orientation_ == toLeft) target = next;
      outward = orientation_ == toTop;
      break;
    case kCmdDown:
      if (orientation_ == toRight) target = next;
      if (orientation_ == toLeft) target = previous;
      outward = orientation_ == toBottom;
      break;
    default: used = false; break;
  }
  if (outward && layout_.rowCount > 1 && PageAt(pageIndex_) != nullptr) {
    // As a click on the tab in the row beyond the current tab.
    const QRect tab = layout_.tabs[static_cast<size_t>(pageIndex_)];
    if (!tab.isEmpty()) {
      const QPoint above(tab.left() + tab.width() / 2, tab.top() - tabHeight_ / 2);
      TabMouseDown(EdgeFrame(orientation_, size()).mapRect(QRectF(above, QSizeF(1, 1))).topLeft().toPoint());
    }
  }
  if (target >= 0) {
    SetPageIndex(target);
    setFocus(Qt::OtherFocusReason);
  }
  return used;
}

void TClNotebook::keyPressEvent(QKeyEvent* event) {
  bool used = false;
  RunGuarded([&] {
    const int command = Controller().EntryCommands().Translate(*event);
    if (command == 0) return;
    used = KeyCommand(command);
    if (command >= ClCmd::UserCommand) {
      if (OnUserCommand) OnUserCommand(*this, command);
      used = true;
    }
    // A focused notebook takes a caption's letter without Alt, as dialogs do.
    if (!used && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && event->text().size() == 1 &&
        event->text()[0].isPrint()) {
      used = DialogChar(event->text()[0]);
    }
  });
  if (used) {
    event->accept();
  } else {
    TClCustomControlEx::keyPressEvent(event);
  }
}

bool TClNotebook::DialogChar(QChar character) {
  if (!isEnabled() || CountPages() == 0) return false;
  const QChar wanted = character.toUpper();
  const int count = CountPages();
  int found = -1;
  for (int step = 1; step <= count; ++step) {
    const int i = ((pageIndex_ < 0 ? -1 : pageIndex_) + step) % count;
    if (AcceleratorOf(PageAt(i)->Caption()) == wanted) {
      found = i;
      break;
    }
  }
  if (!IsValidPage(found) || !isVisible()) return false;
  if (found == pageIndex_) {
    setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  SetPageIndex(found);
  if (!FocusFirstControl(true)) setFocus(Qt::ShortcutFocusReason);
  if (pageIndex_ == found) TabClick(found);
  return true;
}

void TClNotebook::GrabAccelerators() {
  for (const int id : accelerators_) releaseShortcut(id);
  accelerators_.clear();
  QList<QChar> grabbed;
  for (int i = 0; i < CountPages(); ++i) {
    const QChar accelerator = AcceleratorOf(PageAt(i)->Caption());
    if (accelerator.isNull() || grabbed.contains(accelerator)) continue;
    grabbed << accelerator;
    accelerators_.push_back(grabShortcut(QKeySequence(Qt::ALT | QKeySequence(accelerator)[0].key())));
  }
}

bool TClNotebook::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut) {
    const auto* shortcut = static_cast<QShortcutEvent*>(event);
    const QString text = QKeySequence(shortcut->key()[0].key()).toString();
    bool used = false;
    if (!text.isEmpty()) RunGuarded([&] { used = DialogChar(text.back()); });
    if (used) return true;
  }
  return TClCustomControlEx::event(event);
}
