#pragma once
// The report on paper: every named row under the column titles and units, on
// A4 landscape pages that each repeat the heading and carry the report file's
// name, the date and "Страница N из M".

#include <QDate>
#include <QString>

#include "report/file_io.h"

class QPagedPaintDevice;

namespace tesmir {

class ReportTable;

// Lays the report out on `device` (A4 landscape is set here); returns the
// number of pages.
int PaintReport(QPagedPaintDevice& device, const ReportTable& table, const QString& reportFileName, const QDate& date);

// Writes the report as a PDF file; returns the empty text or the error text.
Result<FileSaved, FileError> WriteReportPdf(const QString& path, const ReportTable& table,
                                            const QString& reportFileName, const QDate& date);

}  // namespace tesmir
