#include "report/report_file.h"

#include <QDir>

#include "report/file_io.h"
#include "report/file_names.h"

namespace tesmir {

std::optional<ReportLayout> LayoutForFileName(const QString& fileName) {
  if (fileName.endsWith(QLatin1String("csv"), Qt::CaseInsensitive)) {
    return ReportLayout::Semicolon;
  }
  if (fileName.endsWith(QLatin1String("okz"), Qt::CaseInsensitive)) {
    return ReportLayout::Bar;
  }
  return std::nullopt;
}

QString ReportSizeLimitText(qint64 maxBytes) {
  constexpr qint64 kMegabyte = 1024 * 1024;
  return maxBytes % kMegabyte == 0 ? QStringLiteral("%1 МБ").arg(maxBytes / kMegabyte)
                                   : QStringLiteral("%1 байт").arg(maxBytes);
}

Result<ReportSaved, QString> SaveReportFile(const QString& path, const ReportTable& table,
                                            const ReportFileLimits& limits) {
  const std::string bytes = EncodeReport(table);
  // What is written must open again: a file past the reader's bounds is
  // refused here, before the old file is touched.
  if (static_cast<qint64>(bytes.size()) > limits.maxBytes) {
    return FailWith(SaveFailureText(path, QStringLiteral("Файл отчета может занимать не более %1, а этот отчет "
                                                         "занял бы %2 байт. Удалите часть строк.")
                                              .arg(ReportSizeLimitText(limits.maxBytes))
                                              .arg(bytes.size())));
  }
  std::size_t named = 0;
  for (int r = 0; r < table.rowCount(); ++r) {
    if (!table.row(r)[0].empty()) ++named;
  }
  if (named > limits.maxRows) {
    return FailWith(SaveFailureText(path, QStringLiteral("Отчет может содержать не более %1 строк, а в этом "
                                                         "отчете %2 строк. Удалите часть строк.")
                                              .arg(limits.maxRows)
                                              .arg(named)));
  }
  const Result<FileSaved, FileError> saved =
      SaveFileBytes(path, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  if (!saved) {
    return FailWith(saved.error().message);
  }
  return ReportSaved{};
}

Result<LoadedReport, QString> LoadReportFile(const QString& path, ReportLayout layout, const ReportFileLimits& limits) {
  LoadedReport out;
  const QString name = QDir::toNativeSeparators(ShownFileName(path));
  ReadLimits read;
  read.maxBytes = limits.maxBytes;
  read.notRegular = QStringLiteral(
                        "Файл %1 не является обычным файлом (это папка, канал или устройство) "
                        "и не может быть открыт как отчет.")
                        .arg(name);
  read.tooLarge = QStringLiteral("Файл %1 слишком велик: файл отчета может занимать не более %2. Файл не открыт.")
                      .arg(name, ReportSizeLimitText(limits.maxBytes));
  Result<std::string, FileError> bytes = ReadRegularFileBytes(path, read);
  if (!bytes) {
    return FailWith(bytes.error().message);
  }
  out.scan = ScanReport(*bytes, layout);
  if (out.scan.dataLines > limits.maxRows) {
    return FailWith(QStringLiteral("Файл %1 содержит %2 строк данных, а отчет вмещает не более %3 строк "
                                   "(столько, сколько помещается на листе электронной таблицы). Файл не открыт.")
                        .arg(name)
                        .arg(out.scan.dataLines)
                        .arg(limits.maxRows));
  }
  out.bytes = std::move(bytes).value();
  return out;
}

}  // namespace tesmir
