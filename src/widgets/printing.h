#pragma once
// Documents sent to a printer: a printer that cannot start or fails while
// printing is reported.

#include <QString>

#include "core/result.h"
#include "paper/pdf_file.h"
#include "report/file_io.h"

class QPrinter;

namespace tesmir {

// Prints on the printer the user chose. When it prints to a PDF file, the
// file is made as SavePdfFile makes it. The failure is the whole message.
Result<FileSaved, FileError> PrintDocument(QPrinter& printer, const QString& title, const PaintPages& paint);

}  // namespace tesmir
