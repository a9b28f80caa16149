#include "paper/pdf_file.h"

#include <QBuffer>
#include <QPdfWriter>

#include "tesmir_version.h"

namespace tesmir {

void SetUpPdfWriter(QPdfWriter& pdf, const QString& title, int resolution) {
  pdf.setResolution(resolution);
  pdf.setTitle(title);
  pdf.setCreator(QString::fromUtf8(kProgramTitle));
}

Result<FileSaved, FileError> SavePdfFile(const QString& path, const QString& title, const PaintPages& paint,
                                         int resolution) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool painted = false;
  {
    QPdfWriter pdf(&buffer);
    SetUpPdfWriter(pdf, title, resolution);
    painted = paint(pdf);
  }
  if (!painted || buffer.data().isEmpty()) {
    return FailWith(
        FileError{FileErrorKind::Write, SaveFailureText(path, QStringLiteral("Документ PDF не удалось построить."))});
  }
  return SaveFileBytes(path, buffer.data());
}

}  // namespace tesmir
