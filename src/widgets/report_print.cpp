#include "widgets/report_print.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPrinter>

#include "paper/report_paper.h"
#include "widgets/document_dialogs.h"
#include "widgets/file_chooser.h"
#include "widgets/message_sink.h"
#include "widgets/printing.h"
#include "widgets/report_form.h"

namespace tesmir {

ReportDocuments::ReportDocuments(ReportForm& form, const ReportTable& table, MessageSink& messages, FileChooser& files,
                                 DocumentDialogs& dialogs)
    : QObject(&form), form_(form), table_(table), messages_(messages), files_(files), dialogs_(dialogs) {
  connect(form_.printAction(), &QAction::triggered, this, &ReportDocuments::PrintReportMenuClick);
  connect(form_.pdfAction(), &QAction::triggered, this, &ReportDocuments::PdfReportMenuClick);
}

void ReportDocuments::PrintReportMenuClick() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Отчет"));
  if (!dialogs_.choosePrinter(&form_, printer)) return;
  const Result<FileSaved, FileError> printed =
      PrintDocument(printer, QStringLiteral("Отчет"), [this](QPagedPaintDevice& device) {
        return PaintReport(device, table_, form_.reportFileName(), QDate::currentDate()) > 0;
      });
  if (!printed) messages_.error(&form_, printed.error().message);
}

void ReportDocuments::PdfReportMenuClick() {
  const QString path = ChooseNameToSave(
      files_, messages_, &form_,
      [this] {
        // The last PDF, else beside the report's file, else where the dialogs start.
        const QString name = QStringLiteral("Отчет.pdf");
        if (!pdfName_.isEmpty()) return pdfName_;
        if (!form_.reportFileName().isEmpty()) return QFileInfo(form_.reportFileName()).dir().filePath(name);
        return form_.places().proposedPath(name);
      },
      kPdfFilter, QStringLiteral("pdf"),
      [this](const QString& picked) { form_.places().useFolder(QFileInfo(picked).absolutePath()); });
  if (path.isEmpty()) return;
  const Result<FileSaved, FileError> written =
      WriteReportPdf(path, table_, form_.reportFileName(), QDate::currentDate());
  if (!written) {
    messages_.error(&form_, written.error().message);
    return;
  }
  pdfName_ = path;
}

}  // namespace tesmir
