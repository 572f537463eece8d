#pragma once
// A label with the panel's borders, three-dimensional text styles, rotated or curved
// text, a hover colour and blinking. Painting and sizing go through a canvas and text
// metrics, so both can be checked without a screen.
#include "controls/FmBlink.h"
#include "controls/FmBorders.h"

#include <QWidget>
#include <functional>

enum TFmTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
enum TFmRotation { roNone, roFlat, roCurve };
enum TFmCenterPoint {
  cpUpperLeft,
  cpUpperCenter,
  cpUpperRight,
  cpLeftCenter,
  cpCenter,
  cpRightCenter,
  cpLowerLeft,
  cpLowerCenter,
  cpLowerRight,
};

class TFmLabel : public QWidget, private TFmBlinkClient {
  Q_OBJECT

public:
  explicit TFmLabel(QWidget* parent = nullptr);
  ~TFmLabel() override;

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  QColor FontColor() const { return fontColor_; }
  void SetFontColor(const QColor& color);
  void SetLabelFont(const QFont& font);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  Qt::Alignment Alignment() const { return alignment_; }
  void SetAlignment(Qt::Alignment horizontal);
  Qt::Alignment Layout() const { return layout_; }
  void SetLayout(Qt::Alignment vertical);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool on);

  int Angle() const { return angle_; }
  void SetAngle(int angle);
  TFmRotation Rotation() const { return rotation_; }
  void SetRotation(TFmRotation rotation);
  TFmCenterPoint CenterPoint() const { return centerPoint_; }
  void SetCenterPoint(TFmCenterPoint point);
  TFmTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TFmTextStyle style);
  bool LightTextStyle() const { return lightTextStyle_; }
  void SetLightTextStyle(bool on);
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int depth);
  QColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(const QColor& color);
  QColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(const QColor& color);

  bool FlyByEnabled() const { return flyByEnabled_; }
  void SetFlyByEnabled(bool on) { flyByEnabled_ = on; }
  QColor FlyByColor() const { return flyByColor_; }
  void SetFlyByColor(const QColor& color) { flyByColor_ = color; }
  bool Blinking() const { return blinking_; }
  void SetBlinking(bool on);
  QColor BlinkColor() const { return blinkColor_; }
  void SetBlinkColor(const QColor& color);
  // The intervals belong to the one blink timer all labels share.
  int BlinkIntervalOn() const { return TFmBlinkList::Instance().OnInterval(); }
  int BlinkIntervalOff() const { return TFmBlinkList::Instance().OffInterval(); }
  void SetBlinkIntervals(int onMs, int offMs) { TFmBlinkList::Instance().SetIntervals(onMs, offMs); }

  // Border settings, as the framed panel has them (outer border none by default).
  const TFmBorders& Borders() const { return borders_; }
  void SetBorders(const TFmBorders& borders);

  // While loading, size and rotation fix-ups wait for EndLoading.
  void BeginLoading() { loading_ = true; }
  void EndLoading();

  // The colour the text is drawn in now (blink phase and hover included).
  QColor CurrentTextColor() const;
  bool Hovered() const { return hovered_; }
  void SetTextMetrics(const TFmTextMetrics* metrics);
  void PaintTo(TFmCanvas& canvas) const;
  // Resizes the label to its text when AutoSize is on.
  void AdjustBounds();
  // The size the text, its borders and its style need.
  QSize sizeHint() const override;

  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  bool IsBlinking() const override { return blinking_; }
  void BlinkPhase(bool on) override;

  int DrawFlags() const;
  QSize TextBoxSize() const;
  QRect TextRect(const QRect& inside) const;
  void PaintFlat(TFmCanvas& canvas, const QRect& textRect, const QColor& color) const;
  void PaintRotated(TFmCanvas& canvas, const QRect& textRect, const QColor& color) const;
  void PaintCurved(TFmCanvas& canvas, const QRect& textRect, const QColor& color) const;
  void EnsureRotatableFont();

  QString caption_;
  QColor fontColor_;
  QColor color_;
  bool transparent_ = false;
  Qt::Alignment alignment_ = Qt::AlignLeft;
  Qt::Alignment layout_ = Qt::AlignTop;
  bool wordWrap_ = false;
  bool autoSize_ = true;
  bool showAccelChar_ = true;
  int angle_ = 0;
  TFmRotation rotation_ = roNone;
  TFmCenterPoint centerPoint_ = cpCenter;
  TFmTextStyle textStyle_ = tsNormal;
  bool lightTextStyle_ = false;
  int shadowDepth_ = 2;
  QColor shadowColor_;
  QColor highlightColor_;
  bool flyByEnabled_ = false;
  QColor flyByColor_;
  bool blinking_ = false;
  QColor blinkColor_;
  bool blinkOn_ = false;
  bool hovered_ = false;
  bool loading_ = false;
  TFmBorders borders_;
  const TFmTextMetrics* metrics_;
};
