#pragma once
// Shares one set of frame settings among many edits: a change here reaches every
// registered control that opted in, through its properties by name, so any control with
// matching properties can take part and one that lacks a property simply skips it.
#include "controls/FmCommon.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QVariant>
#include <vector>

class TFmFrameController : public QObject {
  Q_OBJECT

public:
  explicit TFmFrameController(QObject* parent = nullptr);
  ~TFmFrameController() override;

  // Adds `control` and gives it every setting at once; a second add is ignored.
  void Register(QObject* control);
  void Unregister(QObject* control);
  bool IsRegistered(const QObject* control) const;

  // While updates are locked nothing is pushed; the last unlock pushes everything.
  void BeginUpdate() { ++updateLock_; }
  void EndUpdate();

  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool on);
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool on);
  QColor FrameColor() const { return frameColor_; }
  void SetFrameColor(const QColor& color);
  bool FrameFlat() const { return frameFlat_; }
  void SetFrameFlat(bool on);
  TFrameStyle FrameFlatStyle() const { return frameFlatStyle_; }
  void SetFrameFlatStyle(TFrameStyle style);
  TFrameStyle FrameFocusStyle() const { return frameFocusStyle_; }
  void SetFrameFocusStyle(TFrameStyle style);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides sides);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle style);
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool on);

private:
  void PushAll(QObject* control) const;
  void PushToAll(const char* name) const;
  void Push(QObject* control, const char* name) const;
  QVariant Value(const QByteArray& name) const;

  QColor color_;
  bool parentColor_ = false;
  bool flatButtons_ = true;
  QColor frameColor_;
  bool frameFlat_ = false;
  TFrameStyle frameFlatStyle_ = fsStatus;
  TFrameStyle frameFocusStyle_ = fsLowered;
  TSides frameSides_ = AllSides;
  TFrameStyle frameStyle_ = fsFlat;
  bool frameVisible_ = false;
  int updateLock_ = 0;
  std::vector<QPointer<QObject>> controls_;
};
