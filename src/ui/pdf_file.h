#pragma once
// Documents made as PDF files or printed: a PDF is painted in memory and goes
// to disk through the one save helper, so a full or read-only folder is
// reported and leaves no partial file under the chosen name; a printer that
// cannot start or fails while printing is reported too.

#include <QString>
#include <functional>

#include "core/result.h"
#include "report/file_io.h"

class QPagedPaintDevice;
class QPrinter;

namespace tesmir {

// Paints every page on the device; false when painting could not start.
using PaintPages = std::function<bool(QPagedPaintDevice&)>;

Result<FileSaved, FileError> SavePdfFile(const QString& path, const QString& title, const PaintPages& paint,
                                         int resolution = 300);

// Prints on the printer the user chose. When it prints to a PDF file, the
// file is made as SavePdfFile makes it. The failure is the whole message.
Result<FileSaved, FileError> PrintDocument(QPrinter& printer, const QString& title, const PaintPages& paint);

}  // namespace tesmir
