#pragma once
// A mono 16-bit PCM wave file holding a tone, for tests that play sound files.
#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <QString>
#include <cmath>

inline bool WriteToneWave(const QString& name, double seconds, int frequency = 440) {
  constexpr int rate = 22050;
  const int frames = static_cast<int>(rate * seconds);
  QByteArray data;
  QDataStream out(&data, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + frames * 2);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
  out.writeRawData("data", 4);
  out << quint32(frames * 2);
  for (int i = 0; i < frames; ++i) out << qint16(8000 * std::sin(i * 2 * M_PI * frequency / rate));
  QFile file(name);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}
