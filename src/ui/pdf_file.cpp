#include "ui/pdf_file.h"

#include <QBuffer>
#include <QPdfWriter>
#include <QPrinter>

#include "tesmir_version.h"

namespace tesmir {

Result<FileSaved, FileError> SavePdfFile(const QString& path, const QString& title, const PaintPages& paint,
                                         int resolution) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool painted = false;
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(resolution);
    pdf.setTitle(title);
    pdf.setCreator(QString::fromUtf8(kProgramTitle));
    painted = paint(pdf);
  }
  if (!painted || buffer.data().isEmpty()) {
    return FailWith(
        FileError{FileErrorKind::Write, SaveFailureText(path, QStringLiteral("Документ PDF не удалось построить."))});
  }
  return SaveFileBytes(path, buffer.data());
}

Result<FileSaved, FileError> PrintDocument(QPrinter& printer, const QString& title, const PaintPages& paint) {
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    return SavePdfFile(printer.outputFileName(), title, paint, printer.resolution());
  }
  const QString failed = QStringLiteral("Не удалось напечатать документ «%1» на принтере %2.");
  if (!paint(printer) || printer.printerState() == QPrinter::Error) {
    return FailWith(FileError{FileErrorKind::Write, failed.arg(title, printer.printerName())});
  }
  return FileSaved{};
}

}  // namespace tesmir
