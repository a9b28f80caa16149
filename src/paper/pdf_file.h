#pragma once
// Documents made as PDF files: a PDF is painted in memory and goes to disk
// through the one save helper, so a full or read-only folder is reported and
// leaves no partial file under the chosen name.

#include <QString>
#include <functional>

#include "core/result.h"
#include "report/file_io.h"

class QPagedPaintDevice;
class QPdfWriter;

namespace tesmir {

// A PDF writer as the program makes every PDF: the resolution, the title
// and the program as its creator.
void SetUpPdfWriter(QPdfWriter& pdf, const QString& title, int resolution);

// Paints every page on the device; false when painting could not start.
using PaintPages = std::function<bool(QPagedPaintDevice&)>;

Result<FileSaved, FileError> SavePdfFile(const QString& path, const QString& title, const PaintPages& paint,
                                         int resolution = 300);

}  // namespace tesmir
