#pragma once
// A single-line edit that can draw its own frame, switch the frame's style while it has
// the focus or the pointer, and turn Enter into Tab. Its frame settings are properties
// by name, so a frame controller can set many edits at once.
#include "controls/FmCommon.h"
#include "controls/FmFrameController.h"

#include <QLineEdit>
#include <QPointer>
#include <functional>


class TFmCustomEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(bool FrameVisible READ FrameVisible WRITE SetFrameVisible)
  Q_PROPERTY(TFrameStyle FrameStyle READ FrameStyle WRITE SetFrameStyle)
  Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
  Q_PROPERTY(TSides FrameSides READ FrameSides WRITE SetFrameSides)
  Q_PROPERTY(bool FrameFlat READ FrameFlat WRITE SetFrameFlat)
  Q_PROPERTY(TFrameStyle FrameFlatStyle READ FrameFlatStyle WRITE SetFrameFlatStyle)
  Q_PROPERTY(TFrameStyle FrameFocusStyle READ FrameFocusStyle WRITE SetFrameFocusStyle)
  Q_PROPERTY(TFmFrameController* FrameController READ FrameController WRITE SetFrameController)
  Q_PROPERTY(bool UseFrameController READ UseFrameController WRITE SetUseFrameController)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)

public:
  explicit TFmCustomEdit(QWidget* parent = nullptr);
  ~TFmCustomEdit() override;

  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool on);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle style);
  QColor FrameColor() const { return frameColor_; }
  void SetFrameColor(const QColor& color);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides sides);
  bool FrameFlat() const { return frameFlat_; }
  void SetFrameFlat(bool on);
  TFrameStyle FrameFlatStyle() const { return frameFlatStyle_; }
  void SetFrameFlatStyle(TFrameStyle style);
  TFrameStyle FrameFocusStyle() const { return frameFocusStyle_; }
  void SetFrameFocusStyle(TFrameStyle style);
  TFmFrameController* FrameController() const { return frameController_; }
  void SetFrameController(TFmFrameController* controller);
  bool UseFrameController() const { return useFrameController_; }
  void SetUseFrameController(bool on) { useFrameController_ = on; }
  QColor Color() const;
  void SetColor(const QColor& color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool on);
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool on) { tabOnEnter_ = on; }
  Qt::Alignment Alignment() const { return alignment() & Qt::AlignHorizontal_Mask; }
  void SetAlignment(Qt::Alignment alignment) { setAlignment(alignment | Qt::AlignVCenter); }

  // Settings given while loading are only stored.
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  // The style the frame shows now: with FrameFlat it follows the focus and the pointer.
  TFrameStyle CurrentFrameStyle() const;
  bool Hovered() const { return hovered_; }
  // Paints the frame over the edit's outer two pixels, as the widget does.
  void PaintFrame(TFmCanvas& canvas) const;

  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

protected:
  virtual void UpdateFrameState();
  virtual void RepaintFrame();

  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  // True when Enter was turned into Tab.
  bool HandleTabOnEnter(QKeyEvent* event);

private:
  void ApplyFrameGeometry();

  bool frameVisible_ = false;
  TFrameStyle frameStyle_ = fsFlat;
  QColor frameColor_;
  TSides frameSides_ = AllSides;
  bool frameFlat_ = false;
  TFrameStyle frameFlatStyle_ = fsStatus;
  TFrameStyle frameFocusStyle_ = fsLowered;
  QPointer<TFmFrameController> frameController_;
  bool useFrameController_ = true;
  bool parentColor_ = false;
  bool tabOnEnter_ = false;
  bool hovered_ = false;
  bool loading_ = false;
};
