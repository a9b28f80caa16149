#include "widgets/printing.h"

#include <QPrinter>

namespace tesmir {

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
