#include "report/export_files.h"

#include <filesystem>
#include <system_error>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace tesmir {

namespace {

const QString kPrefix = QStringLiteral("Расчет ОКЗ ");
const QString kSuffix = QStringLiteral(".xlsx");

}  // namespace

QString DefaultExportFolder() {
  QString name = QStringLiteral("tesmir-export");
#if defined(Q_OS_UNIX)
  // The temporary location is usually shared by every user of the machine.
  name += QLatin1Char('-') + QString::number(getuid());
#endif
  return QDir(QDir::tempPath()).filePath(name);
}

NewExportFile CreateExportFile(const QString& folder) {
  QDir dir(folder);
  if (!dir.exists()) {
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), error);
    if (error)
      return {QString(), QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder),
                                                      QString::fromLocal8Bit(error.message()))};
    // Exports are the user's data: keep them from other users of the machine.
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  // The date keeps the names readable; the random part makes them unique,
  // and QTemporaryFile creates the file exclusively, so no name is taken twice.
  const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh-mm-ss"));
  QTemporaryFile file(dir.filePath(kPrefix + stamp + QStringLiteral(" XXXXXX") + kSuffix));
  file.setAutoRemove(false);
  if (!file.open())
    return {QString(), QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(folder), file.errorString())};
  const QString path = file.fileName();
  file.close();
  return {path, QString()};
}

int RemoveOldExports(const QString& folder, const QDateTime& now) {
  const QDateTime limit = now.addDays(-1);
  int removed = 0;
  const QFileInfoList files = QDir(folder).entryInfoList({kPrefix + QStringLiteral("*") + kSuffix}, QDir::Files);
  for (const QFileInfo& info : files) {
    if (info.lastModified() < limit && QFile::remove(info.absoluteFilePath())) ++removed;
  }
  return removed;
}

}  // namespace tesmir
