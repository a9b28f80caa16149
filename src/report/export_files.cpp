#include "report/export_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>

namespace tesmir {

namespace {

const QString kPrefix = QStringLiteral("Расчет ОКЗ ");
const QString kSuffix = QStringLiteral(".xlsx");
const QString kPartPrefix = QStringLiteral(".tesmir-");
const QString kPartSuffix = QStringLiteral(".part");

// Case-sensitive, whole-name patterns of the files this program writes.
const QRegularExpression& ExportName() {
  static const QRegularExpression pattern(
      QStringLiteral("^Расчет ОКЗ [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}-[0-9]{2}-[0-9]{2} [A-Za-z0-9]{6}\\.xlsx$"));
  return pattern;
}
const QRegularExpression& PartName() {
  static const QRegularExpression pattern(QStringLiteral("^\\.tesmir-[A-Za-z0-9]{6}\\.part$"));
  return pattern;
}

QString RandomLetters() {
  static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  QString out;
  for (int i = 0; i < 6; ++i) {
    out += QLatin1Char(kLetters[QRandomGenerator::system()->bounded(static_cast<int>(sizeof kLetters - 1))]);
  }
  return out;
}

QString SystemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { reset(); }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  void reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_;
};

// Opens the export folder after checking, on the name and again on the
// descriptor, that it is a real folder of the user's closed to everybody else.
// Returns the message to show, or the empty text with `dir` open.
QString OpenExportFolder(const QString& folder, bool create, Descriptor& dir) {
  if (folder.isEmpty() || !QDir::isAbsolutePath(folder)) {
    return QStringLiteral(
        "Не найдена папка для экспорта: системе не известны ни папка кэша пользователя, "
        "ни временная папка. Экспорт не выполнен.");
  }
  const QString clean = QDir::cleanPath(folder);
  const QString name = QDir::toNativeSeparators(clean);
  const QByteArray path = QFile::encodeName(clean);
  if (create) {
    const QString parent = QFileInfo(clean).path();
    QDir().mkpath(parent);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
      return QStringLiteral("Не удалось создать папку для экспорта %1.\n%2").arg(name, SystemText(errno));
    }
  }
  struct stat byName {};
  if (::lstat(path.constData(), &byName) != 0) {
    return QStringLiteral("Не удалось открыть папку для экспорта %1.\n%2").arg(name, SystemText(errno));
  }
  QString reason;
  if (S_ISLNK(byName.st_mode)) {
    reason = QStringLiteral("это ссылка, а не папка");
  } else if (!S_ISDIR(byName.st_mode)) {
    reason = QStringLiteral("это не папка");
  } else if (byName.st_uid != ::geteuid()) {
    reason = QStringLiteral("папка принадлежит другому пользователю");
  } else if ((byName.st_mode & 077) != 0) {
    reason = QStringLiteral("папка доступна другим пользователям (права %1)")
                 .arg(static_cast<unsigned>(byName.st_mode & 0777), 3, 8, QLatin1Char('0'));
  }
  if (reason.isEmpty()) {
    dir.reset(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat opened {};
    if (dir.get() < 0 || ::fstat(dir.get(), &opened) != 0) {
      return QStringLiteral("Не удалось открыть папку для экспорта %1.\n%2").arg(name, SystemText(errno));
    }
    if (opened.st_dev != byName.st_dev || opened.st_ino != byName.st_ino) {
      reason = QStringLiteral("папка была подменена во время проверки");
    }
  }
  if (reason.isEmpty()) return {};
  dir.reset();
  return QStringLiteral(
             "Папку для экспорта %1 нельзя использовать: %2. Экспорт не выполнен. Удалите эту папку "
             "или оставьте доступ к ней только себе (права 700).")
      .arg(name, reason);
}

// Moves `from` to a new export name without replacing anything there.
QString PlaceExport(int dir, const QByteArray& from, QString& finalName) {
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
  for (int attempt = 0; attempt < 100; ++attempt) {
    finalName = kPrefix + stamp + QLatin1Char(' ') + RandomLetters() + kSuffix;
    const QByteArray to = QFile::encodeName(finalName);
    int result = ::renameat2(dir, from.constData(), dir, to.constData(), RENAME_NOREPLACE);
    if (result != 0 && (errno == EINVAL || errno == ENOSYS)) {
      // A file system without RENAME_NOREPLACE: a hard link never replaces either.
      result = ::linkat(dir, from.constData(), dir, to.constData(), 0);
      if (result == 0) ::unlinkat(dir, from.constData(), 0);
    }
    if (result == 0) return {};
    if (errno != EEXIST) return SystemText(errno);
  }
  return SystemText(EEXIST);
}

}  // namespace

QString DefaultExportFolder() {
  const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
  if (!cache.isEmpty() && QDir::isAbsolutePath(cache)) return QDir(cache).filePath(QStringLiteral("export"));
  // The temporary location is usually shared by every user of the machine.
  const QString temp = QDir::tempPath();
  if (!temp.isEmpty() && QDir::isAbsolutePath(temp))
    return QDir(temp).filePath(QStringLiteral("tesmir-export-") + QString::number(::getuid()));
  return {};
}

NewExportFile WriteExportFile(const QString& folder, const std::function<QString(const QString& path)>& write) {
  Descriptor dir;
  if (QString error = OpenExportFolder(folder, true, dir); !error.isEmpty()) return {QString(), error};
  const QString name = QDir::toNativeSeparators(folder);
  const auto failure = [&name](const QString& reason) {
    return NewExportFile{QString(), QStringLiteral("Не удалось записать файл в папку %1.\n%2").arg(name, reason)};
  };

  // A new file only this user can reach; the workbook writer fills it by name.
  QString partName;
  QByteArray part;
  Descriptor file;
  for (int attempt = 0; attempt < 100 && file.get() < 0; ++attempt) {
    partName = kPartPrefix + RandomLetters() + kPartSuffix;
    part = QFile::encodeName(partName);
    file.reset(::openat(dir.get(), part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (file.get() < 0 && errno != EEXIST) break;
  }
  if (file.get() < 0) return failure(SystemText(errno));
  struct stat created {};
  ::fstat(file.get(), &created);

  const auto discard = [&] { ::unlinkat(dir.get(), part.constData(), 0); };
  if (const QString error = write(QDir(folder).filePath(partName)); !error.isEmpty()) {
    discard();
    return {QString(), error};
  }
  // The name must still lead to the file created above.
  struct stat written {};
  if (::fstatat(dir.get(), part.constData(), &written, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(written.st_mode) ||
      written.st_dev != created.st_dev || written.st_ino != created.st_ino) {
    discard();
    return failure(QStringLiteral("Файл был подменен во время записи."));
  }
  // Read-only, so the spreadsheet program asks where to save a changed copy.
  if (::fchmod(file.get(), 0444) != 0) {
    const int error = errno;
    discard();
    return failure(SystemText(error));
  }
  file.reset();
  QString finalName;
  if (const QString error = PlaceExport(dir.get(), part, finalName); !error.isEmpty()) {
    discard();
    return failure(error);
  }
  return {QDir(folder).filePath(finalName), QString()};
}

int RemoveOldExports(const QString& folder, const QDateTime& now) {
  Descriptor dir;
  if (!OpenExportFolder(folder, false, dir).isEmpty()) return 0;
  const qint64 limit = now.addDays(-1).toSecsSinceEpoch();
  const int listFd = ::dup(dir.get());
  if (listFd < 0) return 0;
  DIR* listing = ::fdopendir(listFd);
  if (listing == nullptr) {
    ::close(listFd);
    return 0;
  }
  int removed = 0;
  while (const dirent* entry = ::readdir(listing)) {
    const QString name = QFile::decodeName(entry->d_name);
    const bool isExport = ExportName().match(name).hasMatch();
    if (!isExport && !PartName().match(name).hasMatch()) continue;
    struct stat info {};
    if (::fstatat(dir.get(), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(info.st_mode) || info.st_uid != ::geteuid() || info.st_mtim.tv_sec >= limit) continue;
    if (isExport && (info.st_mode & 0222) != 0) continue;  // made writable: no longer ours alone
    if (::unlinkat(dir.get(), entry->d_name, 0) == 0) ++removed;
  }
  ::closedir(listing);
  return removed;
}

}  // namespace tesmir
