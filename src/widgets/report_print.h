#pragma once
// "Печать..." and "Сохранить в PDF..." of the report window: the report's
// paper sent to a printer or written as a PDF file.

#include <QObject>
#include <QString>

#include "report/file_io.h"

namespace tesmir {

class DocumentDialogs;
class FileChooser;
class MessageSink;
class ReportForm;
class ReportTable;

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
