#include "report/report_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tesmir {

std::optional<ReportLayout> LayoutForFileName(const QString& fileName) {
  if (fileName.endsWith(QLatin1String("csv"), Qt::CaseSensitive)) {
    return ReportLayout::Semicolon;
  }
  if (fileName.endsWith(QLatin1String("okz"), Qt::CaseSensitive)) {
    return ReportLayout::Bar;
  }
  return std::nullopt;
}

Result<ReportSaved, QString> SaveReportFile(const QString& path, const ReportTable& table) {
  const std::string bytes = EncodeReport(table);
  const auto failure = [&path](const QString& reason) {
    return FailWith(QStringLiteral("Не удалось сохранить файл %1.\n%2").arg(QDir::toNativeSeparators(path), reason));
  };
  // Unbuffered, so every failed write is seen here: a buffered tail that fails
  // only while the file is being closed would go unnoticed and commit() would
  // put a truncated file in place of the old one.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return failure(file.errorString());
  }
  // Until commit() the old file is untouched; an unfinished temporary file is
  // removed when `file` goes out of scope.
  std::size_t done = 0;
  while (done < bytes.size()) {
    const qint64 written = file.write(bytes.data() + done, static_cast<qint64>(bytes.size() - done));
    if (written <= 0) {
      return failure(file.errorString());
    }
    done += static_cast<std::size_t>(written);
  }
  if (!file.commit()) {
    return failure(file.errorString());
  }
  return ReportSaved{};
}

Result<LoadedReport, QString> LoadReportFile(const QString& path, ReportLayout layout, const ReportFileLimits& limits) {
  LoadedReport out;
  const QString name = QDir::toNativeSeparators(path);
  const auto systemText = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
  // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is then
  // checked on the descriptor itself, so a name swapped meanwhile changes nothing.
  const QByteArray encoded = QFile::encodeName(path);
  const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    return FailWith(QStringLiteral("Не удалось открыть файл %1.\n%2").arg(name, systemText(errno)));
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    return FailWith(QStringLiteral("Не удалось открыть файл %1.\n%2").arg(name, systemText(errno)));
  }
  if (!S_ISREG(info.st_mode)) {
    return FailWith(QStringLiteral("Файл %1 не является обычным файлом (это папка, канал или устройство) "
                                   "и не может быть открыт как отчет.")
                        .arg(name));
  }
  const auto tooLarge = [&] {
    constexpr qint64 kMegabyte = 1024 * 1024;
    const QString limit = limits.maxBytes % kMegabyte == 0 ? QStringLiteral("%1 МБ").arg(limits.maxBytes / kMegabyte)
                                                           : QStringLiteral("%1 байт").arg(limits.maxBytes);
    return QStringLiteral("Файл %1 слишком велик: файл отчета может занимать не более %2. Файл не открыт.")
        .arg(name, limit);
  };
  if (info.st_size > limits.maxBytes) {
    return FailWith(tooLarge());
  }
  // Read up to one byte past the limit: a file that grew since fstat is
  // still caught.
  std::string bytes(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (static_cast<qint64>(done) > limits.maxBytes) {
        return FailWith(tooLarge());
      }
      bytes.resize(std::min(bytes.size() * 2 + 4096, static_cast<std::size_t>(limits.maxBytes) + 1));
    }
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return FailWith(QStringLiteral("Не удалось прочитать файл %1.\n%2").arg(name, systemText(errno)));
    }
    if (got == 0) {
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  out.scan = ScanReport(bytes, layout);
  if (out.scan.dataLines > limits.maxRows) {
    return FailWith(QStringLiteral("Файл %1 содержит %2 строк данных, а отчет вмещает не более %3 строк "
                                   "(столько, сколько помещается на листе электронной таблицы). Файл не открыт.")
                        .arg(name)
                        .arg(out.scan.dataLines)
                        .arg(limits.maxRows));
  }
  out.bytes = std::move(bytes);
  return out;
}

}  // namespace tesmir
