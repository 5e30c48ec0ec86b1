// SPDX-License-Identifier: MIT
#include "render/picture_export.h"

#include "render/diagram_paint.h"
#include "render/qt_surface.h"

#include <QBuffer>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <png.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {

constexpr int kPdfDpi = 300;
constexpr TColor kBackground = 0xF5F5F5;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

[[noreturn]] void Fail(const QString& message) {
  throw std::runtime_error(message.toStdString());
}

// The scroll ranges of the first window: the root figure's size plus 50 each way.
QSize ScreenPictureSize(TBlock& root) {
  QImage probe(1, 1, QImage::Format_RGB32);
  QPainter painter(&probe);
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  const TSize size = Measure(root, surface, display);
  return QSize(size.cx + 50, size.cy + 50);
}

void PaintScreen(QPainter& painter, TBlock& root, QSize size) {
  painter.fillRect(QRect(QPoint(0, 0), size), ToQColor(kBackground));
  QtSurface surface(painter, DiagramFont());
  TDisplayOptions display;
  PaintStruktogramm(surface, root, display, {0, 0});
}

// Rows painted at a time: a few megabytes for a wide picture; every strip walks the tree anew,
// so much lower heights cost time, and higher ones gain little.
constexpr int kStripRows = 512;

[[noreturn]] void TooLarge(QSize size) {
  Fail(QStringLiteral("Das Bild wäre mit %1 × %2 Pixeln zu groß; bitte als SVG exportieren.")
           .arg(size.width())
           .arg(size.height()));
}

// Draws nothing and notes every colour the figures set; geometry comes from the real surface so
// that the walk takes the same course as the painting.
class ColourProbe : public TSurface {
public:
  explicit ColourProbe(QtSurface& metrics) : metrics_(metrics) {}

  void SetPenColor(TColor c) override { pen_ = Note(c); }
  TColor GetPenColor() const override { return pen_; }
  void SetPenWidth(int) override {}
  void SetPenStyle(TPenStyle) override {}
  void SetBrushColor(TColor c) override { brush_ = Note(c); }
  TColor GetBrushColor() const override { return brush_; }
  void SetFontColor(TColor c) override { Note(c); }
  void SetFontSize(int points) override { metrics_.SetFontSize(points); }
  void SetFontName(const std::string& face) override { metrics_.SetFontName(face); }
  void MoveTo(int32_t, int32_t) override {}
  void LineTo(int32_t, int32_t) override {}
  void Polygon(const TPoint*, int) override {}
  void Rectangle(int32_t, int32_t, int32_t, int32_t) override {}
  void FillRect(int32_t, int32_t, int32_t, int32_t) override {}
  void Ellipse(int32_t, int32_t, int32_t, int32_t) override {}
  void TextOut(int32_t, int32_t, const std::string&) override {}
  TSize TextExtent(const std::string& text) override { return metrics_.TextExtent(text); }

  std::vector<QRgb> colours;

private:
  TColor Note(TColor c) {
    const QRgb rgb = ToQColor(c).rgb();
    if (std::find(colours.begin(), colours.end(), rgb) == colours.end()) colours.push_back(rgb);
    return c;
  }
  QtSurface& metrics_;
  TColor pen_ = kBlack, brush_ = kWhite;
};

// Every colour the picture can contain: the background and what the figures set. Drawing is
// without anti-aliasing, so no pixel mixes two of them.
std::vector<QRgb> PictureColours(TBlock& root) {
  QImage image(1, 1, QImage::Format_RGB32);
  QPainter painter(&image);
  QtSurface metrics(painter, DiagramFont());
  ColourProbe probe(metrics);
  // The colours a fresh surface starts with, and the picture's background.
  probe.SetPenColor(kBlack);
  probe.SetBrushColor(kWhite);
  probe.SetFontColor(kBlack);
  probe.SetBrushColor(kBackground);
  TDisplayOptions display;
  PaintStruktogramm(probe, root, display, {0, 0});
  return probe.colours;
}

// Pixels to palette indices, packed bits to a byte, leftmost pixel in the high bits.
class Indexer {
public:
  Indexer(std::vector<QRgb> palette, int bits) : palette_(std::move(palette)), bits_(bits) {}

  // False when a pixel has a colour outside the palette.
  bool Pack(const QRgb* in, int width, uint8_t* out) {
    const int perByte = 8 / bits_;
    for (int x = 0; x < width; x += perByte) {
      unsigned byte = 0;
      for (int k = 0; k < perByte; ++k) {
        byte <<= bits_;
        if (x + k >= width) continue;
        const QRgb c = in[x + k] | 0xFF000000u;
        if (c != last_) {
          const auto it = std::find(palette_.begin(), palette_.end(), c);
          if (it == palette_.end()) return false;
          last_ = c;
          lastIndex_ = static_cast<unsigned>(it - palette_.begin());
        }
        byte |= lastIndex_;
      }
      *out++ = static_cast<uint8_t>(byte);
    }
    return true;
  }

private:
  std::vector<QRgb> palette_;
  int bits_;
  QRgb last_ = 0;  // never a palette entry: those are opaque
  unsigned lastIndex_ = 0;
};

// libpng reports errors by longjmp; the functions that call into it keep no objects with
// destructors between setjmp and the calls, and the callbacks below hold none either.
void PngWrite(png_structp png, png_bytep data, size_t length) {
  auto* file = static_cast<QSaveFile*>(png_get_io_ptr(png));
  if (file->write(reinterpret_cast<const char*>(data), static_cast<qint64>(length)) !=
      static_cast<qint64>(length))
    png_error(png, "write");
}

void PngFlush(png_structp) {}

[[noreturn]] void PngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngWarning(png_structp, png_const_charp) {}

// palette: nullptr for 8-bit RGB rows given as Format_RGB32 scan lines; else indexed rows of
// bits per pixel.
bool PngBegin(png_structp png, png_infop info, QSaveFile* file, int width, int height,
              const png_color* palette, int colours, int bits) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_write_fn(png, file, PngWrite, PngFlush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
               palette ? bits : 8, palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (palette) png_set_PLTE(png, info, palette, colours);
  // Flat colours in long runs: a fast level costs little size, and the "up" filter turns the
  // many rows that repeat the one above into zeros.
  png_set_compression_level(png, 3);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_write_info(png, info);
  if (!palette) {
    // Format_RGB32 words 0xffRRGGBB lie in memory as B, G, R, unused.
    png_set_bgr(png);
    png_set_filler(png, 0, PNG_FILLER_AFTER);
  }
  return true;
}

bool PngRows(png_structp png, png_bytepp rows, int count) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_rows(png, rows, static_cast<png_uint_32>(count));
  return true;
}

bool PngEnd(png_structp png, png_infop info) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_write_end(png, info);
  return true;
}

class PngStream {
public:
  PngStream() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngError, PngWarning);
    if (png_) info_ = png_create_info_struct(png_);
  }
  ~PngStream() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
  PngStream(const PngStream&) = delete;
  PngStream& operator=(const PngStream&) = delete;

  bool Ok() const { return png_ && info_; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// The whole picture as one image to Qt, backed by reserved address space of which only the
// strip being painted holds memory. Qt clips lines against the device's bounds, restarting dash
// patterns and rounding slanted lines anew where they cross them; with the full picture as the
// device, strips get exactly the pixels of a single paint. The strip's pages are one small
// buffer moved (not copied) to where the strip lies, so they are neither faulted in nor cleared
// anew for every strip.
class SparseCanvas {
public:
  SparseCanvas(QSize size, int stripRows)
      : page_(static_cast<size_t>(sysconf(_SC_PAGESIZE))),
        bytesPerLine_(4 * static_cast<size_t>(size.width())),
        reserved_(Up(bytesPerLine_ * static_cast<size_t>(size.height()))),
        window_(Up(bytesPerLine_ * static_cast<size_t>(stripRows)) + page_) {
    void* memory = Placeholder(nullptr, reserved_);
    if (memory == MAP_FAILED) return;
    memory_ = static_cast<uchar*>(memory);
    void* home = mmap(nullptr, window_, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (home == MAP_FAILED) return;
    home_ = static_cast<uchar*>(home);
    image_ = QImage(memory_, size.width(), size.height(),
                    static_cast<qsizetype>(bytesPerLine_), QImage::Format_RGB32);
  }
  ~SparseCanvas() {
    image_ = QImage();
    if (memory_) munmap(memory_, reserved_);
    if (home_) munmap(home_, window_);
  }
  SparseCanvas(const SparseCanvas&) = delete;
  SparseCanvas& operator=(const SparseCanvas&) = delete;

  // Null when the address space or the buffer cannot be had.
  QImage& Image() { return image_; }
  uchar* Row(int y) { return memory_ + bytesPerLine_ * static_cast<size_t>(y); }

  // Puts the buffer under rows top to top + count, taking it from where it was before.
  bool Show(int top, int count) {
    if (!Hide()) return false;
    const size_t from = bytesPerLine_ * static_cast<size_t>(top) / page_ * page_;
    const size_t to = Up(bytesPerLine_ * static_cast<size_t>(top + count));
    if (!Move(home_, memory_ + from, to - from)) return false;
    shown_ = from;
    length_ = to - from;
    return true;
  }

private:
  size_t Up(size_t bytes) const { return (bytes + page_ - 1) / page_ * page_; }
  // Address space that holds no memory until written; at, when given, replaces what is there.
  static void* Placeholder(void* at, size_t length) {
    return mmap(at, length, PROT_READ | PROT_WRITE,
                MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | (at ? MAP_FIXED : 0), -1, 0);
  }
  // Moves pages and leaves a placeholder behind, so that no other mapping can take the place.
  static bool Move(uchar* from, uchar* to, size_t length) {
    return mremap(from, length, length, MREMAP_MAYMOVE | MREMAP_FIXED, to) != MAP_FAILED &&
           Placeholder(from, length) != MAP_FAILED;
  }
  bool Hide() {
    if (length_ == 0) return true;
    const bool moved = Move(memory_ + shown_, home_, length_);
    length_ = 0;
    return moved;
  }

  size_t page_, bytesPerLine_, reserved_, window_;
  uchar* memory_ = nullptr;
  uchar* home_ = nullptr;
  size_t shown_ = 0, length_ = 0;
  QImage image_;
};

// Paints the picture strip by strip into the file. With a palette, returns false (the file
// left uncommitted, hence removed) when a pixel's colour is not in it.
bool WritePng(TBlock& root, const QString& path, QSize size, int stripRows,
              const std::vector<QRgb>* palette) {
  const int rows = std::max(1, std::min(stripRows, size.height()));
  SparseCanvas canvas(size, rows);
  if (canvas.Image().isNull())
    Fail(QStringLiteral("Für das Bild ist nicht genug Speicher frei."));

  int bits = 8;
  std::vector<png_color> plte;
  std::vector<uint8_t> packed;
  size_t packedRow = 0;
  std::vector<png_bytep> rowPointers(static_cast<size_t>(rows));
  if (palette) {
    const size_t n = palette->size();
    bits = n <= 2 ? 1 : n <= 4 ? 2 : n <= 16 ? 4 : 8;
    for (QRgb c : *palette)
      plte.push_back({static_cast<png_byte>(qRed(c)), static_cast<png_byte>(qGreen(c)),
                      static_cast<png_byte>(qBlue(c))});
    packedRow = (static_cast<size_t>(size.width()) * static_cast<size_t>(bits) + 7) / 8;
    packed.resize(packedRow * static_cast<size_t>(rows));
    for (int y = 0; y < rows; ++y)
      rowPointers[static_cast<size_t>(y)] = packed.data() + packedRow * static_cast<size_t>(y);
  }
  Indexer indexer(palette ? *palette : std::vector<QRgb>(), bits);

  // QSaveFile writes beside the target and renames on commit, so a failure leaves no file.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
  const QString writeError = QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(path);
  PngStream png;
  if (!png.Ok() || !PngBegin(png.png(), png.info(), &file, size.width(), size.height(),
                             palette ? plte.data() : nullptr, static_cast<int>(plte.size()),
                             bits))
    Fail(writeError);

  const QColor background = ToQColor(kBackground);
  for (int top = 0; top < size.height(); top += rows) {
    const int count = std::min(rows, size.height() - top);
    if (!canvas.Show(top, count))
      Fail(QStringLiteral("Für das Bild ist nicht genug Speicher frei."));
    {
      const QRect strip(0, top, size.width(), count);
      QPainter painter(&canvas.Image());
      painter.setClipRect(strip);
      painter.fillRect(strip, background);
      QtSurface surface(painter, DiagramFont());
      TDisplayOptions display;
      // Figures wholly outside the strip are skipped.
      const TRect clip{0, top, size.width(), top + count};
      PaintStruktogramm(surface, root, display, {0, 0}, &clip);
    }
    for (int y = 0; y < count; ++y) {
      png_bytep& row = rowPointers[static_cast<size_t>(y)];
      if (!palette)
        row = canvas.Row(top + y);
      else if (!indexer.Pack(reinterpret_cast<const QRgb*>(canvas.Row(top + y)), size.width(),
                             row))
        return false;
    }
    if (!PngRows(png.png(), rowPointers.data(), count)) Fail(writeError);
  }
  if (!PngEnd(png.png(), png.info()) || !file.commit()) Fail(writeError);
  return true;
}

void ExportPng(TBlock& root, const QString& path, int stripRows, PngColours colours) {
  const QSize size = ScreenPictureSize(root);
  const long long bytes = 4LL * size.width() * size.height();
  if (size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
      bytes > kMaxPictureBytes)
    TooLarge(size);
  if (colours != PngColours::TrueColour) {
    // A handful of colours: palette indices are a third of the bytes or less to compress.
    std::vector<QRgb> palette = PictureColours(root);
    if (colours == PngColours::PaletteWithoutBackground)
      palette.erase(std::remove(palette.begin(), palette.end(), ToQColor(kBackground).rgb()),
                    palette.end());
    if (palette.size() <= 256 && WritePng(root, path, size, stripRows, &palette)) return;
  }
  WritePng(root, path, size, stripRows, nullptr);
}

void ExportSvg(TBlock& root, const QString& path) {
  const QSize size = ScreenPictureSize(root);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
  QSvgGenerator svg;
  svg.setOutputDevice(&file);
  svg.setResolution(96);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(FromWindows1252(root.Text));
  {
    QPainter painter(&svg);
    PaintScreen(painter, root, size);
  }
  if (!file.commit()) Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(path));
}

// The printout's extent in device dots: caption and figure with the same 30-dot margin on the
// right as on the left and below.
QSize PrintExtent(QPainter& painter, TBlock& root) {
  QtSurface surface(painter, PrintFont(kPdfDpi));
  surface.SetFontSize(12);
  surface.SetFontName("Times New Roman");
  TDisplayOptions display;
  display.UseColor = false;
  display.Spacing = surface.TextExtent("ja").cy / 2;
  display.PrintMode = true;
  const TSize size = Measure(root, surface, display);
  const TSize caption = surface.TextExtent(root.Text);
  return QSize(std::max(size.cx + 60, caption.cx + 20), size.cy + 80 + 30);
}

void ExportPdf(TBlock& root, const QString& path) {
  QSize extent;
  {
    // Text metrics of the PDF device are taken from a writer of the same kind.
    QBuffer probeBuffer;
    probeBuffer.open(QIODevice::WriteOnly);
    QPdfWriter probe(&probeBuffer);
    probe.setResolution(kPdfDpi);
    QPainter painter(&probe);
    extent = PrintExtent(painter, root);
  }
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  const double mmPerDot = 25.4 / kPdfDpi;
  const QSizeF page(std::max(a4.width(), extent.width() * mmPerDot + 1),
                    std::max(a4.height(), extent.height() * mmPerDot + 1));

  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("Datei %1 kann nicht erstellt werden").arg(path));
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(kPdfDpi);
    pdf.setTitle(FromWindows1252(root.Text));
    pdf.setPageSize(page == a4 ? QPageSize(QPageSize::A4)
                               : QPageSize(page, QPageSize::Millimeter, QString(),
                                           QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    QtSurface surface(painter, PrintFont(kPdfDpi));
    TDisplayOptions display;
    PrintStruktogramm(surface, root.Text, root, display);
  }
  if (!file.commit()) Fail(QStringLiteral("Datei %1 kann nicht geschrieben werden").arg(path));
}

}  // namespace

void ExportPngInStrips(TBlock& root, const std::string& path, int stripRows, PngColours colours) {
  ExportPng(root, QString::fromLocal8Bit(path.c_str()), stripRows, colours);
}

void ExportPicture(TBlock& root, const std::string& path) {
  const std::string lower = Lower(path);
  const QString qpath = QString::fromLocal8Bit(path.c_str());
  if (EndsWith(lower, ".png"))
    ExportPng(root, qpath, kStripRows, PngColours::Palette);
  else if (EndsWith(lower, ".svg"))
    ExportSvg(root, qpath);
  else if (EndsWith(lower, ".pdf"))
    ExportPdf(root, qpath);
  else
    Fail(QStringLiteral("Unbekanntes Bildformat: %1").arg(qpath));
}
