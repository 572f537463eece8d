#pragma once
// The flat speed button of the preview's and print window's tool bars, and the tool-bar
// button and separator built on it.
//
// A glyph holds 1 to 4 images side by side (width / height of them when that divides
// evenly and is below 5): up, disabled, down, exclusive. A missing disabled image is
// embossed from the up image's shape; a missing down image is the up image.
#include <QPixmap>
#include <QWidget>
#include <functional>

class TrpSpeedButton : public QWidget {
  Q_OBJECT

public:
  enum class GlyphLayout { Left, Right, Top, Bottom };
  // What is painted: 0 up, 1 disabled, 2 pressed, 3 down (stays down), 4 inactive grey.
  enum class DrawState { Up = 0, Disabled = 1, Pressed = 2, Down = 3, Inactive = 4 };

  explicit TrpSpeedButton(QWidget* parent = nullptr);

  const QPixmap& Glyph() const { return glyph_; }
  void SetGlyph(const QPixmap& glyph);
  int NumGlyphs() const { return numGlyphs_; }
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  GlyphLayout Layout() const { return layout_; }
  void SetLayout(GlyphLayout layout);
  // -1 centres glyph and caption.
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index) { groupIndex_ = index; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  bool Down() const { return down_; }
  // Only for a button with a group: a down button that may not leave all up stays down;
  // otherwise it changes and the other buttons of its group and parent come up.
  void SetDown(bool down);
  bool GrayedInactive() const { return grayedInactive_; }
  void SetGrayedInactive(bool value);

  DrawState State() const;
  bool MouseInside() const { return mouseInside_; }
  // The image painted for a state, after embossing and greying.
  QPixmap GlyphFor(DrawState state) const;

  // Fires when the left button is released over the button it was pressed on.
  std::function<void()> OnClick;

  QSize sizeHint() const override { return QSize(22, 22); }

  // The grey level of a colour, as inactive glyphs show it.
  static QRgb Grey(QRgb colour);

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void Paint(QPainter& painter);

  QPixmap glyph_;
  int numGlyphs_ = 1;
  QString caption_;
  GlyphLayout layout_ = GlyphLayout::Left;
  int margin_ = -1;
  int spacing_ = 4;
  bool flat_ = false;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
  bool down_ = false;
  bool grayedInactive_ = true;
  bool pressed_ = false;   // the left button went down on us and is held
  bool dragging_ = false;  // pressed_, and the pointer is inside
  bool mouseInside_ = false;
};

enum class TrpAlign { Left, Top, Right, Bottom };

// Tool-bar pieces line up on their panel: to the top when the panel's own container is
// docked at the left or right (a vertical bar), else to the left.
TrpAlign rpToolBarAlign(const QWidget* panel);

class TrpTBButton : public TrpSpeedButton {
  Q_OBJECT

public:
  explicit TrpTBButton(QWidget* parent = nullptr);
  TrpAlign Align() const { return align_; }

protected:
  bool event(QEvent* event) override;

private:
  TrpAlign align_ = TrpAlign::Left;
};

// An 8 x 8 spacer with a two-line bevel across its middle: horizontal when it lines up
// to the top or bottom, vertical when to the left or right.
class TrpTBSeparator : public QWidget {
  Q_OBJECT

public:
  explicit TrpTBSeparator(QWidget* parent = nullptr);
  TrpAlign Align() const { return align_; }
  void SetAlign(TrpAlign align);
  QSize sizeHint() const override { return QSize(8, 8); }

protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  TrpAlign align_ = TrpAlign::Left;
};
