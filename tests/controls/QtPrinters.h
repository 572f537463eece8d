#pragma once
// Readable failure messages for the Qt types the control tests compare.
#include <QColor>
#include <QRect>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QRect& r, std::ostream* os) {
  *os << "QRect(" << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height() << ")";
}
inline void PrintTo(const QColor& c, std::ostream* os) { *os << c.name(QColor::HexArgb).toStdString(); }
