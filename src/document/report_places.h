#pragma once
// Where the report window's file dialogs start and which report files its
// "Файл" menu offers again: the folder last used and the five files last
// opened or saved. Kept between runs in a settings file when one is given.

#include <QString>
#include <QStringList>

namespace tesmir {

class ReportPlaces {
 public:
  static constexpr int kRecentCount = 5;

  // Without a settings file the places last only as long as the object.
  ReportPlaces() = default;
  // Reads the places kept in the INI file `settingsFile` and keeps every
  // change there.
  explicit ReportPlaces(QString settingsFile);

  // The program's settings file in the user's configuration folder.
  static QString defaultSettingsFile();

  // Where the open dialog starts: the current report file, else the last
  // folder used, else the user's documents folder; never the working folder.
  QString openStart(const QString& currentFile) const;
  // Where the save dialog starts: the current report file, else a proposed
  // name in the folder where the open dialog would start.
  QString saveStart(const QString& currentFile) const;
  // `name` in the folder where a dialog starts for a document without a
  // file of its own. The feeder and note dialogs share the places with the
  // report's.
  QString proposedPath(const QString& name) const;

  // The user chose a file in `folder`.
  void useFolder(const QString& folder);
  // `file` was opened or saved: its folder becomes the last used and the
  // file heads the recent list.
  void useFile(const QString& file);
  // Drops `file` from the recent list.
  void forget(const QString& file);

  // Most recent first, at most kRecentCount.
  const QStringList& recentFiles() const { return recent_; }

 private:
  QString startFolder() const;
  void keep() const;

  QString settingsFile_;
  QString lastFolder_;
  QStringList recent_;
};

}  // namespace tesmir
