#pragma once
// Base classes of the control library: the component and the windowed control with the
// library's version text, the attached label, focus notices that arrive after the focus
// has settled, and collections of child controls (a notebook's pages).
#include "controls/Component.h"
#include "controls/clexcpt.h"

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <vector>

class TClCollection;
class TClCollectibleControl;
class TClController;

inline const QString& ClLibraryVersion() {
  static const QString version = QStringLiteral("v4.06");
  return version;
}

class TClComponent : public TComponent {
  Q_OBJECT

public:
  explicit TClComponent(QObject* owner = nullptr) : TComponent(owner) {}
  QString About() const { return ClLibraryVersion(); }
  void SetAbout(const QString&) {}
};

class TClCustomControl;

// A label kept beside its control at an offset.
class TClAttachedLabel : public QLabel {
  Q_OBJECT

public:
  TClAttachedLabel(TClCustomControl& control, QWidget* parent);
  // Raises EClException "Label not attached" once the control is gone.
  TClCustomControl& Control() const;

private:
  QPointer<TClCustomControl> control_;
};

// Where a control's attached label goes, and whether it has one.
class TClLabelInfo {
public:
  explicit TClLabelInfo(TClCustomControl& control) : control_(control) {}
  int OffsetX() const { return offsetX_; }
  void SetOffsetX(int offset);
  int OffsetY() const { return offsetY_; }
  void SetOffsetY(int offset);
  bool Visible() const { return visible_; }
  // Making it visible creates the label beside the control; hiding it frees the label.
  void SetVisible(bool visible);
  TClAttachedLabel* Label() const { return label_; }
  void Place();

private:
  TClCustomControl& control_;
  int offsetX_ = 0;
  int offsetY_ = -16;
  bool visible_ = false;
  QPointer<TClAttachedLabel> label_;
};

class TClCustomControl : public QWidget {
  Q_OBJECT

public:
  explicit TClCustomControl(QWidget* parent = nullptr);
  ~TClCustomControl() override;

  QString About() const { return ClLibraryVersion(); }
  void SetAbout(const QString&) {}
  TClLabelInfo& LabelInfo() { return labelInfo_; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int context) { helpContext_ = context; }
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& hint) { setToolTip(hint); }
  QColor Color() const;
  void SetColor(const QColor& color);
  // A tab stop takes the focus from Tab as well as from clicks.
  bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void SetTabStop(bool tabStop) { setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus); }

  // Forms built in code bracket their setup with these; EndLoading runs Loaded.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  // The collections whose items are this control's streamed children.
  const std::vector<TClCollection*>& Collections() const { return collections_; }
  // The collection that holds items of `itemClass`, or null.
  TClCollection* FindCollection(const QMetaObject& itemClass) const;

  std::function<void(TClCustomControl& sender)> AfterEnter;
  std::function<void(TClCustomControl& sender)> AfterExit;
  std::function<void(TClCustomControl& sender, Qt::KeyboardModifiers shift, int wheelDelta, QPoint position)>
      OnMouseWheel;

protected:
  virtual void Loaded();
  // Called once, when the control is first shown (its window comes into being).
  virtual void CreateWnd() {}
  virtual void ColorChanged() {}
  bool event(QEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  friend class TClCollection;
  void PostToSelf(QEvent::Type type);

  TClLabelInfo labelInfo_;
  int helpContext_ = 0;
  bool loading_ = false;
  bool created_ = false;
  std::vector<TClCollection*> collections_;
};

// A windowed control that translates keys through a controller.
class TClCustomControlEx : public TClCustomControl {
  Q_OBJECT

public:
  explicit TClCustomControlEx(QWidget* parent = nullptr);
  ~TClCustomControlEx() override;

  // The control's own controller, else the program's default one.
  TClController& Controller() const;
  TClController* OwnController() const;
  void SetController(QObject* controller);
  // A controller placed on the form while this control has none becomes its own.
  void ControllerInserted(TClController& controller);

protected:
  void CreateWnd() override;

private:
  QPointer<TClController> controller_;
};

// An ordered list of child controls of one class, owned by the list: the controls are
// freed with it. The owner hears of every change through `changed`.
class TClCollection {
public:
  TClCollection(TClCustomControl& owner, const QMetaObject& itemClass, std::function<void()> changed);
  ~TClCollection();
  TClCollection(const TClCollection&) = delete;
  TClCollection& operator=(const TClCollection&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  TClCollectibleControl* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
  int IndexOf(const TClCollectibleControl* item) const;
  const QMetaObject& ItemClass() const { return itemClass_; }
  TClCustomControl& Owner() const { return owner_; }
  // Frees the item at `index`.
  void Delete(int index);
  // Told by the owner when its loading is complete.
  void Loaded() {}

private:
  friend class TClCollectibleControl;
  void Leave(TClCollectibleControl& item);
  void Changed() const {
    if (changed_) changed_();
  }

  TClCustomControl& owner_;
  const QMetaObject& itemClass_;
  std::function<void()> changed_;
  std::vector<std::unique_ptr<TClCollectibleControl>> items_;
};

// A control that is an item of a collection of its owner. Creating one joins the owner's
// collection for its class, which owns it from then on. Raises EClException when the
// owner is not a library control, has no collections, or none for this class.
class TClCollectibleControl : public TClCustomControl {
  Q_OBJECT

public:
  ~TClCollectibleControl() override;
  TClCollection* Collection() const { return collection_; }
  int Index() const { return collection_ != nullptr ? collection_->IndexOf(this) : -1; }

protected:
  TClCollectibleControl(QWidget* owner, const QMetaObject& itemClass);
  // The owner hears of a new item once the item is complete: the most derived class
  // calls this at the end of its constructor.
  void AnnounceJoined();

private:
  friend class TClCollection;
  TClCollection* collection_ = nullptr;
};
