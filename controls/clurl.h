#pragma once
// A label showing a web or mail address: it lights up while the pointer is over it and
// opens the address when clicked. The pointer is watched on a short timer rather than by
// leave events, so the colour comes back even when the pointer leaves the window in one
// jump.
#include <QColor>
#include <QLabel>
#include <QPoint>
#include <functional>
#include <memory>
#include <optional>

class QTimer;

class TClURL : public QLabel {
  Q_OBJECT

public:
  explicit TClURL(QWidget* parent = nullptr);
  ~TClURL() override;

  static QString About() { return QStringLiteral("v4.06"); }

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  QString URL() const { return url_; }
  void SetURL(const QString& url);
  // An invalid colour stands for "the default": the font's colour at that moment.
  QColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(const QColor& color);
  QColor VisitedColor() const { return visitedColor_; }
  void SetVisitedColor(const QColor& color);
  bool UseVisitedColor() const { return useVisitedColor_; }
  void SetUseVisitedColor(bool on) { useVisitedColor_ = on; }
  bool UnderlineURL() const { return font().underline(); }
  void SetUnderlineURL(bool on);
  QColor FontColor() const;
  void SetFontColor(const QColor& color);

  // Settings given while loading are kept; the end forgets the saved colour.
  void EndLoading() { savedColor_.reset(); }

  // The hover timer's tick: when the pointer has left, the timer goes and the colour
  // returns.
  void CheckHover();
  bool HoverTimerRunning() const { return hoverTimer_ != nullptr; }
  // Where the pointer is, in screen coordinates; tests put their own in place.
  std::function<QPoint()> CursorPosition;

  std::function<void()> OnClick;

  static constexpr int kHoverInterval = 100;
  static constexpr int kMaxUrlLength = 1023;

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

private:
  void Click();
  void UpdateText();

  QString caption_;
  QString url_;
  QColor highlightColor_ = Qt::red;
  QColor visitedColor_ = Qt::black;
  bool useVisitedColor_ = false;
  bool pressed_ = false;
  std::optional<QColor> savedColor_;
  std::unique_ptr<QTimer> hoverTimer_;
};
