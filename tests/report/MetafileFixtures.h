#pragma once
// Metafiles written by hand, record by record, of 100 x 100 units: the WMF a blue
// square over the whole picture with a red one from (10, 10) to (90, 90) on it; the
// EMF the red square alone on an unpainted page.
#include <QByteArray>
#include <QtEndian>
#include <initializer_list>

namespace metafile {

inline void Put16(QByteArray& b, int v) {
  char x[2];
  qToLittleEndian(static_cast<uint16_t>(v), x);
  b.append(x, 2);
}
inline void Put32(QByteArray& b, int64_t v) {
  char x[4];
  qToLittleEndian(static_cast<uint32_t>(v), x);
  b.append(x, 4);
}

// One WMF record: size in 16-bit words, function, parameters.
inline void WmfRecord(QByteArray& b, int function, std::initializer_list<int> params) {
  Put32(b, 3 + static_cast<int>(params.size()));
  Put16(b, function);
  for (int p : params) Put16(b, p);
}

inline QByteArray RedSquareWmf() {
  QByteArray records;
  WmfRecord(records, 0x0103, {8});  // SetMapMode(MM_ANISOTROPIC)
  WmfRecord(records, 0x020B, {0, 0});  // SetWindowOrg(y, x)
  WmfRecord(records, 0x020C, {100, 100});  // SetWindowExt(y, x)
  WmfRecord(records, 0x02FC, {0, 0x0000, 0x00FF, 0});  // CreateBrushIndirect: solid, blue (object 0)
  WmfRecord(records, 0x012D, {0});  // SelectObject(0)
  WmfRecord(records, 0x041B, {100, 100, 0, 0});  // Rectangle(bottom, right, top, left)
  WmfRecord(records, 0x02FC, {0, 0x00FF, 0x0000, 0});  // CreateBrushIndirect: solid, red (object 1)
  WmfRecord(records, 0x012D, {1});  // SelectObject(1)
  WmfRecord(records, 0x041B, {90, 90, 10, 10});
  WmfRecord(records, 0x0000, {});  // end of file

  QByteArray header;
  Put16(header, 1);  // in memory
  Put16(header, 9);  // header words
  Put16(header, 0x0300);
  Put32(header, (18 + records.size()) / 2);
  Put16(header, 2);  // objects
  Put32(header, 7);  // largest record
  Put16(header, 0);

  // The placeable header: 100 x 100 units at 96 units per inch.
  QByteArray placeable;
  Put32(placeable, 0x9AC6CDD7);
  Put16(placeable, 0);
  for (int v : {0, 0, 100, 100}) Put16(placeable, v);
  Put16(placeable, 96);
  Put32(placeable, 0);
  uint16_t checksum = 0;
  for (int i = 0; i < 20; i += 2) checksum ^= qFromLittleEndian<uint16_t>(placeable.constData() + i);
  Put16(placeable, checksum);
  return placeable + header + records;
}

inline void EmfRecord(QByteArray& b, int type, std::initializer_list<int64_t> params) {
  Put32(b, type);
  Put32(b, 8 + 4 * static_cast<int>(params.size()));
  for (int64_t p : params) Put32(b, p);
}

inline QByteArray RedSquareEmf() {
  QByteArray records;
  EmfRecord(records, 39, {1, 0, 0x000000FF, 0});  // CreateBrushIndirect: handle 1, solid, red
  EmfRecord(records, 37, {1});  // SelectObject
  EmfRecord(records, 43, {10, 10, 90, 90});  // Rectangle
  EmfRecord(records, 14, {0, 16, 20});  // EOF

  QByteArray header;
  Put32(header, 1);  // EMR_HEADER
  Put32(header, 88);
  for (int v : {0, 0, 99, 99}) Put32(header, v);  // bounds, pixels
  for (int v : {0, 0, 2645, 2645}) Put32(header, v);  // frame, hundredths of a millimetre
  Put32(header, 0x464D4520);  // " EMF"
  Put32(header, 0x10000);
  Put32(header, 88 + records.size());
  Put32(header, 5);  // records
  Put16(header, 2);  // handles
  Put16(header, 0);
  Put32(header, 0);  // description
  Put32(header, 0);
  Put32(header, 0);  // palette entries
  for (int v : {1000, 1000}) Put32(header, v);  // device, pixels
  for (int v : {264, 264}) Put32(header, v);  // device, millimetres
  return header + records;
}

}  // namespace metafile
