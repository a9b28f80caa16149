#include "document/report_places.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

#include "report/file_io.h"
#include "report/file_names.h"

namespace tesmir {
namespace {

const QString kLastFolderKey = QStringLiteral("report/lastFolder");
const QString kRecentKey = QStringLiteral("report/recentFiles");
// The name Save As offers for a report that has no file yet.
const QString kProposedName = QStringLiteral("Отчет.csv");

// A text as a value of the INI file QSettings reads: quoted, so commas,
// semicolons and blanks stay; backslash, quote and control characters escaped;
// a leading '@' doubled (QSettings reads "@..." as a typed value).
QString IniText(const QString& text) {
  QString out = QStringLiteral("\"");
  if (text.startsWith(QLatin1Char('@'))) out += QLatin1Char('@');
  for (const QChar c : text) {
    if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
      out += QLatin1Char('\\');
      out += c;
    } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
      out += QStringLiteral("\\x%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    } else {
      out += c;
    }
  }
  return out + QLatin1Char('"');
}

}  // namespace

ReportPlaces::ReportPlaces(QString settingsFile) : settingsFile_(std::move(settingsFile)) {
  // A FIFO or a device in the settings file's place would block QSettings.
  if (!IsReadableRegularFile(settingsFile_)) return;
  const QSettings settings(settingsFile_, QSettings::IniFormat);
  lastFolder_ = settings.value(kLastFolderKey).toString();
  recent_ = settings.value(kRecentKey).toStringList();
  recent_.removeAll(QString());
  recent_.removeDuplicates();
  while (recent_.size() > kRecentCount) {
    recent_.removeLast();
  }
}

QString ReportPlaces::defaultSettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/tesmir/tesmir.conf");
}

QString ReportPlaces::startFolder() const {
  if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) {
    return lastFolder_;
  }
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) {
    return documents;
  }
  return QDir::homePath();
}

QString ReportPlaces::openStart(const QString& currentFile) const {
  return currentFile.isEmpty() ? startFolder() : currentFile;
}

QString ReportPlaces::saveStart(const QString& currentFile) const {
  return currentFile.isEmpty() ? proposedPath(kProposedName) : currentFile;
}

QString ReportPlaces::proposedPath(const QString& name) const { return QDir(startFolder()).filePath(name); }

void ReportPlaces::useFolder(const QString& folder) {
  lastFolder_ = folder;
  keep();
}

void ReportPlaces::useFile(const QString& file) {
  const QString path = QFileInfo(file).absoluteFilePath();
  // The settings file keeps text: a name with bytes that are not UTF-8 would
  // come back as another name, so it is not remembered.
  if (HasRawBytes(path)) {
    return;
  }
  lastFolder_ = QFileInfo(path).absolutePath();
  recent_.removeAll(path);
  recent_.prepend(path);
  while (recent_.size() > kRecentCount) {
    recent_.removeLast();
  }
  keep();
}

void ReportPlaces::forget(const QString& file) {
  recent_.removeAll(file);
  keep();
}

void ReportPlaces::keep() const {
  if (settingsFile_.isEmpty()) {
    return;
  }
  // Written through the save helper, so a full disk never leaves a cut file;
  // the recent paths are the user's own business: a new file is made 600.
  QString text = QStringLiteral("[report]\n");
  if (!lastFolder_.isEmpty()) text += QStringLiteral("lastFolder=") + IniText(lastFolder_) + QLatin1Char('\n');
  if (!recent_.isEmpty()) {
    QStringList items;
    for (const QString& file : recent_) items << IniText(file);
    text += QStringLiteral("recentFiles=") + items.join(QStringLiteral(", ")) + QLatin1Char('\n');
  }
  QDir().mkpath(QFileInfo(settingsFile_).absolutePath());
  SaveOptions options;
  options.newFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
  // A settings file that cannot be written only costs the places next time.
  static_cast<void>(SaveFileBytes(settingsFile_, text.toUtf8(), options));
}

}  // namespace tesmir
