// SPDX-License-Identifier: MIT
#include "render/pdf_export.h"


#include "model/stream.h"
#include "render/diagram_paint.h"
#include "render/qt_surface.h"

#include <QBuffer>
#include <QIODevice>
#include <QPageSize>
#include <QPdfWriter>

#include <algorithm>
#include <optional>

namespace {

constexpr int kPdfDpi = 300;

// The PDF writer's output device over a file stream. Qt does not expect exceptions from a
// device, so the first failure is kept and the writing reports it afterwards.
class StreamDevice : public QIODevice {
public:
  explicit StreamDevice(TStream& stream) : stream_(stream) { open(QIODevice::WriteOnly); }
  bool isSequential() const override { return true; }
  // The failure's message, if writing failed.
  const std::optional<std::string>& Failure() const { return failure_; }

protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (failure_)
      return -1;
    try {
      stream_.WriteBuffer(data, static_cast<size_t>(size));
    } catch (const std::exception& e) {
      failure_ = e.what();
      return -1;
    }
    return size;
  }

private:
  TStream& stream_;
  std::optional<std::string> failure_;
};

} // namespace

void ExportPdf(TBlock& root, const std::string& path, const TDisplayOptions* shown) {
  QSize extent;
  {
    // Text metrics of the PDF device are taken from a writer of the same kind.
    QBuffer probeBuffer;
    probeBuffer.open(QIODevice::WriteOnly);
    QPdfWriter probe(&probeBuffer);
    probe.setResolution(kPdfDpi);
    QPainter painter(&probe);
    QtSurface surface(painter, PrintFont(kPdfDpi));
    TDisplayOptions display = PictureDisplay(shown);
    const TSize size = PrintoutSize(surface, root.Text, root, display);
    extent = QSize(size.cx, size.cy);
  }
  const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
  const double mmPerDot = 25.4 / kPdfDpi;
  const QSizeF page(std::max(a4.width(), extent.width() * mmPerDot + 1),
                    std::max(a4.height(), extent.height() * mmPerDot + 1));

  TFileWriteStream file(path);
  StreamDevice device(file);
  {
    QPdfWriter pdf(&device);
    pdf.setResolution(kPdfDpi);
    pdf.setTitle(FromWindows1252(root.Text));
    pdf.setPageSize(page == a4
                        ? QPageSize(QPageSize::A4)
                        : QPageSize(page, QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    QtSurface surface(painter, PrintFont(kPdfDpi));
    TDisplayOptions display = PictureDisplay(shown);
    PrintStruktogramm(surface, root.Text, root, display);
  }
  if (device.Failure())
    throw TStreamError(*device.Failure());
  file.Commit();
}
