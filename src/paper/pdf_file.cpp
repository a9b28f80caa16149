#include "paper/pdf_file.h"

#include <QBuffer>
#include <QPdfWriter>

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

}  // namespace tesmir
