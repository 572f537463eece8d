#pragma once
// The tree's own hint window: it measures and paints a cell's tooltip or the owner's hint
// text, stays on the screen that holds the mouse, and can fade or slide in.
#include "treeview/LazyTreeTypes.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class TBaseLazyTree;

// What the tree hands to its hint window.
struct TLTHintData {
  QPointer<TBaseLazyTree> Tree;
  PLazyNode Node = nullptr;
  int Column = -1;
  QRect HintRect;        // for trees that draw their hints themselves
  QString DefaultHint;   // a text fixed in advance (header hints)
};

class TLazyTreeHintWindow : public QWidget {
  Q_OBJECT
public:
  explicit TLazyTreeHintWindow(QWidget* parent = nullptr);
  ~TLazyTreeHintWindow() override;

  // The window size for the data, at the origin; empty when there is nothing to show.
  QRect MeasureHintRect(int MaxWidth, const TLTHintData* HintData);
  // Shows the hint over R (global coordinates); an empty R cancels it.
  void ShowHintAt(QRect R);
  void CancelHint();
  const TLTHintData& HintData() const { return data_; }
  QString HintText() const { return text_; }

  // The hint as painted at full strength, and the frame the window shows now.
  QImage RenderedHint() const { return rendered_; }
  QImage CurrentFrame() const { return frame_; }
  // One animation step at a time on the tree's clock; false once it ended.
  bool AnimationStep(qint64 NowMs);
  bool Animating() const { return animation_ != 0; }

  // The usable area of the screen that holds a global point; tests replace it.
  static std::function<QRect(QPoint)>& AvailableAreaAt();
  // Set while no hint animation may run (a hint window or an animating tree went away).
  static bool& StopAnimations();

protected:
  void paintEvent(QPaintEvent* e) override;
  void hideEvent(QHideEvent* e) override;

private:
  void RenderHint();
  void ComposeFrame(qint64 elapsedMs);

  TLTHintData data_;
  QString text_;
  bool rightToLeft_ = false;
  Qt::Alignment alignment_ = Qt::AlignLeft;
  QFont font_;
  int lineHeight_ = 0;
  QImage rendered_;
  QImage background_;
  QImage frame_;
  int animation_ = 0;  // 0 none, 1 fade, 2 slide
  qint64 animationStart_ = 0;
  QTimer stepTimer_;
};
