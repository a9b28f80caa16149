#include "ui/report_places.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace tesmir {
namespace {

const QString kLastFolderKey = QStringLiteral("report/lastFolder");
const QString kRecentKey = QStringLiteral("report/recentFiles");
// The name Save As offers for a report that has no file yet.
const QString kProposedName = QStringLiteral("Отчет.csv");

}  // namespace

ReportPlaces::ReportPlaces(QString settingsFile) : settingsFile_(std::move(settingsFile)) {
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
  QSettings settings(settingsFile_, QSettings::IniFormat);
  settings.setValue(kLastFolderKey, lastFolder_);
  settings.setValue(kRecentKey, recent_);
}

}  // namespace tesmir
