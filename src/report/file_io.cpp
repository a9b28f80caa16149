#include "report/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tesmir {
namespace {

QString SystemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString WithReason(const QString& head, const QString& reason) {
  return reason.isEmpty() ? head : head + QLatin1Char('\n') + reason;
}

FileError Error(FileErrorKind kind, QString message) { return FileError{kind, std::move(message)}; }

// Reads into any buffer with resize() and data().
template <class Buffer>
Result<Buffer, FileError> ReadInto(const QString& path, const ReadLimits& limits) {
  const QString name = QDir::toNativeSeparators(path);
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const QByteArray encoded = QFile::encodeName(path);
  const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    return FailWith(Error(FileErrorKind::Open, OpenFailureText(path, SystemText(errno))));
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    return FailWith(Error(FileErrorKind::Open, OpenFailureText(path, SystemText(errno))));
  }
  if (!S_ISREG(info.st_mode)) {
    return FailWith(Error(FileErrorKind::NotRegular,
                          !limits.notRegular.isEmpty()
                              ? limits.notRegular
                              : OpenFailureText(path, QStringLiteral("Это не обычный файл, а папка, канал или "
                                                                     "устройство."))));
  }
  const auto tooLarge = [&] {
    return FailWith(Error(
        FileErrorKind::TooLarge,
        !limits.tooLarge.isEmpty()
            ? limits.tooLarge
            : OpenFailureText(
                  path, QStringLiteral("Файл больше %1 байт, таких файлов программа не пишет.").arg(limits.maxBytes))));
  };
  if (info.st_size > limits.maxBytes) {
    return tooLarge();
  }
  // Read up to one byte past the limit: a file that grew since fstat is
  // still caught.
  Buffer bytes;
  bytes.resize(static_cast<decltype(bytes.size())>(info.st_size) + 1);
  std::size_t done = 0;
  for (;;) {
    if (done == static_cast<std::size_t>(bytes.size())) {
      if (static_cast<qint64>(done) > limits.maxBytes) {
        return tooLarge();
      }
      const qint64 grown = std::min(static_cast<qint64>(done) * 2 + 4096, limits.maxBytes + 1);
      bytes.resize(static_cast<decltype(bytes.size())>(grown));
    }
    const ssize_t got = ::read(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size()) - done);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      return FailWith(Error(FileErrorKind::Read,
                            WithReason(QStringLiteral("Не удалось прочитать файл %1.").arg(name), SystemText(errno))));
    }
    if (got == 0) {
      break;
    }
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(static_cast<decltype(bytes.size())>(done));
  return bytes;
}

}  // namespace

QString SaveFailureText(const QString& path, const QString& reason) {
  return WithReason(QStringLiteral("Не удалось сохранить файл %1.").arg(QDir::toNativeSeparators(path)), reason);
}

QString OpenFailureText(const QString& path, const QString& reason) {
  return WithReason(QStringLiteral("Не удалось открыть файл %1.").arg(QDir::toNativeSeparators(path)), reason);
}

Result<FileSaved, FileError> WriteAllBytes(QIODevice& device, QByteArrayView bytes, const QString& path) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const qint64 written = device.write(bytes.data() + done, bytes.size() - done);
    if (written <= 0) {
      return FailWith(Error(FileErrorKind::Write, SaveFailureText(path, device.errorString())));
    }
    done += static_cast<qsizetype>(written);
  }
  return FileSaved{};
}

Result<FileSaved, FileError> SaveFileBytes(const QString& path, QByteArrayView bytes, const SaveOptions& options) {
  const bool existed = QFileInfo::exists(path);
  // Unbuffered, so every failed write is seen here: a buffered tail that fails
  // only while the file is being closed would go unnoticed and commit() would
  // put a truncated file in place of the old one.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return FailWith(Error(FileErrorKind::Open, SaveFailureText(path, file.errorString())));
  }
  // Until commit() the old file is untouched; an unfinished temporary file is
  // removed when `file` goes out of scope.
  if (!existed && options.newFilePermissions && !file.setPermissions(*options.newFilePermissions)) {
    return FailWith(Error(FileErrorKind::Write, SaveFailureText(path, file.errorString())));
  }
  Result<FileSaved, FileError> written = WriteAllBytes(file, bytes, path);
  if (!written) {
    return written;
  }
  if (!file.commit()) {
    return FailWith(Error(FileErrorKind::Write, SaveFailureText(path, file.errorString())));
  }
  return FileSaved{};
}

Result<QByteArray, FileError> ReadRegularFile(const QString& path, const ReadLimits& limits) {
  return ReadInto<QByteArray>(path, limits);
}

Result<std::string, FileError> ReadRegularFileBytes(const QString& path, const ReadLimits& limits) {
  return ReadInto<std::string>(path, limits);
}

bool IsReadableRegularFile(const QString& path) {
  const QByteArray encoded = QFile::encodeName(path);
  const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    return false;
  }
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

}  // namespace tesmir
