#pragma once
// The report on paper: every named row under the column titles and units, on
// A4 landscape pages that each repeat the heading and carry the report file's
// name, the date and "Страница N из M".

#include <QDate>
#include <QObject>
#include <QString>

#include "report/file_io.h"

class QPagedPaintDevice;

namespace tesmir {

class DocumentDialogs;
class FileChooser;
class MessageSink;
class ReportForm;
class ReportTable;

// Lays the report out on `device` (A4 landscape is set here); returns the
// number of pages.
int PaintReport(QPagedPaintDevice& device, const ReportTable& table, const QString& reportFileName, const QDate& date);

// Writes the report as a PDF file; returns the empty text or the error text.
Result<FileSaved, FileError> WriteReportPdf(const QString& path, const ReportTable& table,
                                            const QString& reportFileName, const QDate& date);

// "Печать..." and "Сохранить в PDF..." of the report window.
class ReportDocuments : public QObject {
  Q_OBJECT

 public:
  ReportDocuments(ReportForm& form, const ReportTable& table, MessageSink& messages, FileChooser& files,
                  DocumentDialogs& dialogs);

  void PrintReportMenuClick();
  void PdfReportMenuClick();

 private:
  ReportForm& form_;
  const ReportTable& table_;
  MessageSink& messages_;
  FileChooser& files_;
  DocumentDialogs& dialogs_;
  QString pdfName_;
};

}  // namespace tesmir
