#pragma once
// A panel with configurable borders and a caption. Children placed in it are kept inside
// its borders (its contents margins follow the borders), and a disabled panel shows its
// caption embossed.
#include "controls/FmBorders.h"

#include <QFont>
#include <QWidget>
#include <functional>

class TFmCustomPanel : public QWidget {
  Q_OBJECT

public:
  explicit TFmCustomPanel(QWidget* parent = nullptr);

  TFrameStyle BorderOuter() const { return borders_.outer; }
  void SetBorderOuter(TFrameStyle style);
  TFrameStyle BorderInner() const { return borders_.inner; }
  void SetBorderInner(TFrameStyle style);
  int BorderWidth() const { return borders_.width; }
  void SetBorderWidth(int width);
  TSides BorderSides() const { return borders_.sides; }
  void SetBorderSides(TSides sides);
  QColor BorderColor() const { return borders_.color; }
  void SetBorderColor(const QColor& color);
  QColor BorderHighlight() const { return borders_.highlight; }
  void SetBorderHighlight(const QColor& color);
  QColor BorderShadow() const { return borders_.shadow; }
  void SetBorderShadow(const QColor& color);
  QColor FlatColor() const { return borders_.flatColor; }
  void SetFlatColor(const QColor& color);
  int BevelWidth() const { return borders_.bevelWidth; }
  void SetBevelWidth(int width);
  TSides FrameSides() const { return borders_.frameSides; }
  void SetFrameSides(TSides sides);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  Qt::Alignment Alignment() const { return alignment_; }
  void SetAlignment(Qt::Alignment horizontal);
  Qt::Alignment VerticalAlignment() const { return verticalAlignment_; }
  void SetVerticalAlignment(Qt::Alignment vertical);

  // The area children are aligned in: the window less every border.
  QRect ClientRect() const { return borders_.Inside(rect()); }
  const TFmBorders& Borders() const { return borders_; }

  // Paints borders, background and caption as the widget does.
  void PaintTo(TFmCanvas& canvas) const;

  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Called whenever the borders change the client rectangle.
  virtual void BordersChanged();

private:
  void UpdateMargins();

  TFmBorders borders_;
  QColor color_;
  QString caption_;
  Qt::Alignment alignment_ = Qt::AlignHCenter;
  Qt::Alignment verticalAlignment_ = Qt::AlignVCenter;
};
