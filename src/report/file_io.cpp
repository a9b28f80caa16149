#include "report/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "report/file_names.h"

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
  const QString name = QDir::toNativeSeparators(ShownFileName(path));
  // O_NONBLOCK: opening a FIFO must not wait for a writer.
  const QByteArray encoded = EncodeFileName(path);
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

mode_t ModeOf(QFileDevice::Permissions permissions) {
  static constexpr struct {
    QFileDevice::Permission permission;
    mode_t mode;
  } kBits[] = {
      {QFileDevice::ReadOwner, S_IRUSR}, {QFileDevice::WriteOwner, S_IWUSR}, {QFileDevice::ExeOwner, S_IXUSR},
      {QFileDevice::ReadGroup, S_IRGRP}, {QFileDevice::WriteGroup, S_IWGRP}, {QFileDevice::ExeGroup, S_IXGRP},
      {QFileDevice::ReadOther, S_IROTH}, {QFileDevice::WriteOther, S_IWOTH}, {QFileDevice::ExeOther, S_IXOTH},
  };
  mode_t mode = 0;
  for (const auto& bit : kBits) {
    if (permissions.testFlag(bit.permission)) {
      mode |= bit.mode;
    }
  }
  return mode;
}

// QSaveFile can only name files by UTF-8 text; a name with kept bytes is
// saved by the same steps done here: a new file beside the old one, every
// byte written and synced, then renamed over the old one (or removed).
Result<FileSaved, FileError> SaveUnderKeptBytes(const QString& path, QByteArrayView bytes, const SaveOptions& options) {
  const auto failed = [&](FileErrorKind kind, int error) {
    return FailWith(Error(kind, SaveFailureText(path, SystemText(error))));
  };
  QByteArray target = EncodeFileName(path);
  struct stat old {};
  bool existed = ::lstat(target.constData(), &old) == 0;
  if (existed && S_ISLNK(old.st_mode)) {
    // The file a link names is replaced, not the link.
    char resolved[PATH_MAX];
    if (::realpath(target.constData(), resolved) != nullptr) {
      target = QByteArray(resolved);
    }
    existed = ::stat(target.constData(), &old) == 0;
  }
  int fd = -1;
  QByteArray part;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    part = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    // 0666 less the umask, as for every new document.
    fd = ::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0 && errno != EEXIST) {
      return failed(FileErrorKind::Open, errno);
    }
  }
  if (fd < 0) {
    return failed(FileErrorKind::Open, EEXIST);
  }
  const auto abandon = [&](int error) {
    ::close(fd);
    ::unlink(part.constData());
    return failed(FileErrorKind::Write, error);
  };
  const bool setMode = existed || options.newFilePermissions.has_value();
  if (setMode && ::fchmod(fd, existed ? (old.st_mode & 07777) : ModeOf(*options.newFilePermissions)) != 0) {
    return abandon(errno);
  }
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
    if (written < 0 && errno == EINTR) {
      continue;
    }
    if (written <= 0) {
      return abandon(written < 0 ? errno : ENOSPC);
    }
    done += static_cast<qsizetype>(written);
  }
  if (::fsync(fd) != 0) {
    return abandon(errno);
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(part.constData());
    return failed(FileErrorKind::Write, error);
  }
  if (::rename(part.constData(), target.constData()) != 0) {
    const int error = errno;
    ::unlink(part.constData());
    return failed(FileErrorKind::Write, error);
  }
  return FileSaved{};
}

}  // namespace

QString SaveFailureText(const QString& path, const QString& reason) {
  return WithReason(QStringLiteral("Не удалось сохранить файл %1.").arg(QDir::toNativeSeparators(ShownFileName(path))),
                    reason);
}

QString OpenFailureText(const QString& path, const QString& reason) {
  return WithReason(QStringLiteral("Не удалось открыть файл %1.").arg(QDir::toNativeSeparators(ShownFileName(path))),
                    reason);
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
  if (HasRawBytes(path)) {
    return SaveUnderKeptBytes(path, bytes, options);
  }
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
  const QByteArray encoded = EncodeFileName(path);
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
