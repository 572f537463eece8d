#pragma once
// Test doubles for painting: a canvas that paints into a grid of letters (one letter
// per colour, so a frame reads as a picture in the test) and records text calls, text
// metrics with fixed character sizes, and a palette whose frame colours all differ.
#include "controls/FmCanvas.h"

#include <QApplication>
#include <QPalette>
#include <QStringList>
#include <map>
#include <vector>

class GridCanvas : public TFmCanvas {
public:
  struct TextCall {
    QRect rect;
    int flags;
    QString text;
    QColor color;
    QPointF origin;  // rotated text only
    qreal angle = 0;
  };

  GridCanvas(int width, int height, std::map<QRgb, char> legend)
      : width_(width), height_(height), legend_(std::move(legend)), rows_(height, QString(width, QLatin1Char('.'))) {}

  void FillRect(const QRect& rect, const QColor& color) override {
    const QRect clipped = rect.intersected(QRect(0, 0, width_, height_));
    const auto found = legend_.find(color.rgb());
    const QChar letter = found == legend_.end() ? QLatin1Char('?') : QChar::fromLatin1(found->second);
    for (int y = clipped.top(); y <= clipped.bottom(); ++y)
      for (int x = clipped.left(); x <= clipped.right(); ++x) rows_[y][x] = letter;
    fills.push_back({rect, color});
  }
  void FillPolygon(const QPolygon& polygon, const QColor& color) override { polygons.push_back({polygon, color}); }
  void DrawText(const QRect& rect, int flags, const QString& text, const QFont&, const QColor& color) override {
    texts.push_back({rect, flags, text, color, {}, 0});
  }
  void DrawRotatedText(QPointF origin, qreal angle, const QString& text, const QFont&, const QColor& color) override {
    texts.push_back({{}, 0, text, color, origin, angle});
  }

  QStringList Rows() const { return QStringList(rows_.begin(), rows_.end()); }

  std::vector<std::pair<QRect, QColor>> fills;
  std::vector<std::pair<QPolygon, QColor>> polygons;
  std::vector<TextCall> texts;

private:
  int width_, height_;
  std::map<QRgb, char> legend_;
  std::vector<QString> rows_;
};

// Every character is 6 pixels wide and a line 12 high; wrapping breaks at blanks.
class FixedTextMetrics : public TFmTextMetrics {
public:
  static constexpr int kCharWidth = 6;
  static constexpr int kLineHeight = 12;
  QSize TextExtent(const QFont&, int flags, const QString& text, int wrapWidth) const override {
    QStringList lines = text.split(QLatin1Char('\n'));
    if (flags & Qt::TextWordWrap) {
      QStringList wrapped;
      for (const QString& line : lines) {
        QString current;
        for (const QString& word : line.split(QLatin1Char(' '))) {
          const QString joined = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
          if (!current.isEmpty() && joined.size() * kCharWidth > wrapWidth) {
            wrapped << current;
            current = word;
          } else {
            current = joined;
          }
        }
        wrapped << current;
      }
      lines = wrapped;
    }
    int widest = 0;
    for (const QString& line : lines) widest = qMax(widest, static_cast<int>(line.size()) * kCharWidth);
    return {widest, static_cast<int>(lines.size()) * kLineHeight};
  }
  int LineHeight(const QFont&) const override { return kLineHeight; }
  int TextWidth(const QFont&, const QString& text) const override { return static_cast<int>(text.size()) * kCharWidth; }
};

// Puts a palette in place whose frame colours are all different, and names each with
// the letter the grid canvas paints it as.
class DistinctPalette {
public:
  DistinctPalette() : saved_(QApplication::palette()) {
    QPalette palette = saved_;
    for (const auto& [role, rgb] : Roles()) palette.setColor(role, QColor::fromRgb(rgb));
    QApplication::setPalette(palette);
  }
  ~DistinctPalette() { QApplication::setPalette(saved_); }

  // H highlight, L 3-D light, S shadow, D dark shadow, T button text, F button face,
  // W window, X window text / frame, G highlight (selection), P panel background.
  static std::map<QRgb, char> Legend() {
    return {{0xffffffff, 'H'}, {0xffe0e0e0, 'L'}, {0xff808080, 'S'}, {0xff404040, 'D'}, {0xff000010, 'T'},
            {0xffc0c0c0, 'F'}, {0xfff0f0ff, 'W'}, {0xff000020, 'X'}, {0xff3060c0, 'G'}, {0xffa0a000, 'P'},
            {0xff000000, 'k'}};
  }

private:
  static std::vector<std::pair<QPalette::ColorRole, QRgb>> Roles() {
    return {{QPalette::Light, 0xffffffff},      {QPalette::Midlight, 0xffe0e0e0}, {QPalette::Dark, 0xff808080},
            {QPalette::Shadow, 0xff404040},     {QPalette::ButtonText, 0xff000010}, {QPalette::Button, 0xffc0c0c0},
            {QPalette::Base, 0xfff0f0ff},       {QPalette::WindowText, 0xff000020}, {QPalette::Text, 0xff000020},
            {QPalette::Highlight, 0xff3060c0}, {QPalette::Window, 0xffc0c0c0}};
  }
  QPalette saved_;
};
