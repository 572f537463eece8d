// Windows metafiles as SVG. Both converters are C libraries that trust their input, so
// the record chain is walked here first: every record's size must be sane and inside
// the bytes, and the chain must reach its end record.
#include "report/engine/RP_Graphic.h"

#include <QtEndian>
#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" {
#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>
}

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEmfSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kEmrHeader = 1, kEmrEof = 14;

uint16_t Word(const QByteArray& b, qsizetype at) { return qFromLittleEndian<uint16_t>(b.constData() + at); }
uint32_t Dword(const QByteArray& b, qsizetype at) { return qFromLittleEndian<uint32_t>(b.constData() + at); }

void SetWord(QByteArray& b, qsizetype at, uint16_t v) { qToLittleEndian(v, b.data() + at); }
void SetDword(QByteArray& b, qsizetype at, uint32_t v) { qToLittleEndian(v, b.data() + at); }

// The WMF with its header's totals taken from the records themselves (the converter
// allocates by them), or empty when the records do not chain to the end record.
QByteArray NormalizedWmf(const QByteArray& wmf) {
  QByteArray b = wmf;
  qsizetype pos = 0;
  if (b.size() >= 22 && Dword(b, 0) == kPlaceableKey) pos = 22;
  const qsizetype header = pos;
  if (b.size() - pos < 18) return {};
  const uint16_t type = Word(b, pos);
  if ((type != 1 && type != 2) || Word(b, pos + 2) != 9) return {};
  pos += 18;
  uint32_t largest = 0, records = 0;
  while (b.size() - pos >= 6) {
    const uint32_t words = Dword(b, pos);
    const uint16_t function = Word(b, pos + 4);
    if (words < 3 || words > static_cast<uint32_t>((b.size() - pos) / 2)) return {};
    largest = std::max(largest, words);
    ++records;
    pos += static_cast<qsizetype>(words) * 2;
    if (function == 0) {
      b.truncate(pos);
      SetDword(b, header + 6, static_cast<uint32_t>((pos - header) / 2));
      SetWord(b, header + 10, static_cast<uint16_t>(std::min<uint32_t>(Word(b, header + 10), records)));
      SetDword(b, header + 12, largest);
      return b;
    }
  }
  return {};
}

// The header's description and pixel format lie inside the header record: the converter
// reads them by the header's own counts, without looking at the record's size.
bool EmfHeaderPartsInside(const QByteArray& b, uint32_t size) {
  const auto inside = [size](uint64_t offset, uint64_t bytes) {
    return bytes == 0 || (offset >= 88 && offset + bytes <= size);
  };
  if (!inside(Dword(b, 64), uint64_t(Dword(b, 60)) * 2)) return false;
  return size < 100 || inside(Dword(b, 92), Dword(b, 88));
}

// The EMF as the converter may take it, or empty when its records do not chain to the
// end record. A header part with an offset but no count is dropped: the converter would
// read it up to the next zero word, past any bound.
QByteArray NormalizedEmf(const QByteArray& emf) {
  if (!rpIsEmf(emf)) return {};
  qsizetype pos = 0;
  bool first = true;
  while (emf.size() - pos >= 8) {
    const uint32_t type = Dword(emf, pos);
    const uint32_t size = Dword(emf, pos + 4);
    if (size < 8 || size % 4 != 0 || size > static_cast<uint32_t>(emf.size() - pos)) return {};
    if (first && (type != kEmrHeader || size < 88 || !EmfHeaderPartsInside(emf, size))) return {};
    first = false;
    pos += size;
    if (type != kEmrEof) continue;
    QByteArray b = emf;
    if (Dword(b, 60) == 0) SetDword(b, 64, 0);
    if (Dword(b, 4) >= 100 && Dword(b, 88) == 0) SetDword(b, 92, 0);
    return b;
  }
  return {};
}

}  // namespace

bool rpIsEmf(const QByteArray& bytes) {
  return bytes.size() >= 44 && Dword(bytes, 0) == kEmrHeader && Dword(bytes, 40) == kEmfSignature;
}

QByteArray rpEmfToSvg(const QByteArray& emf) {
  QByteArray input = NormalizedEmf(emf);  // also the mutable buffer the converter takes
  if (input.isEmpty()) return {};
  char ns[] = "";
  generatorOptions options{};
  options.nameSpace = ns;
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  char* out = nullptr;
  size_t length = 0;
  const int ok = emf2svg(input.data(), static_cast<size_t>(input.size()), &out, &length, &options);
  QByteArray svg;
  if (ok && out) svg = QByteArray(out, static_cast<qsizetype>(length));
  std::free(out);
  return svg;
}

QByteArray rpWmfToSvg(const QByteArray& wmf) {
  QByteArray input = NormalizedWmf(wmf);
  if (input.isEmpty()) return {};
  wmfAPI_Options options;
  std::memset(&options, 0, sizeof options);
  options.function = wmf_svg_function;
  const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
  wmfAPI* api = nullptr;
  if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    return {};
  }
  QByteArray svg;
  wmfD_Rect bbox;
  if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(input.data()), static_cast<long>(input.size())) == wmf_E_None &&
      wmf_scan(api, 0, &bbox) == wmf_E_None) {
    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);
    device->Description = nullptr;
    device->bbox = bbox;
    unsigned int width = 0, height = 0;
    wmf_display_size(api, &width, &height, 96, 96);
    device->width = width;
    device->height = height;
    if (device->out && width > 0 && height > 0 && width <= kRpMaxPictureSide && height <= kRpMaxPictureSide &&
        wmf_play(api, 0, &bbox) == wmf_E_None) {
      char* buffer = nullptr;
      unsigned long length = 0;
      wmf_stream_destroy(api, device->out, &buffer, &length);
      device->out = nullptr;
      if (buffer) svg = QByteArray(buffer, static_cast<qsizetype>(length));
    }
    wmf_mem_close(api);
  }
  wmf_api_destroy(api);
  return svg;
}
