#pragma once
// The folder the spreadsheet exports are written to, and their files.

#include <QDateTime>
#include <QString>
#include <functional>

namespace tesmir {

// The user's own folder for exports: "export" in the user's cache location.
// When the system names no absolute cache location, the per-user folder
// "tesmir-export-<uid>" in the temporary location; the empty text when that
// is not absolute either (a relative folder would land in the current one).
QString DefaultExportFolder();

struct NewExportFile {
  QString path;   // set on success
  QString error;  // the message to show when no file was made
};

// Writes one export into `folder`, which is created (mode 0700) when missing
// and otherwise must be a real folder (not a link) owned by the user with no
// permission for group or others; any other folder is refused with a message.
//
// `write` receives the path of a new private file, created exclusively in
// that folder, and returns the empty text or the reason it failed. The
// finished file is made read-only (0444) and renamed, never over an existing
// name, to "Расчет ОКЗ <date> <time> <6 letters>.xlsx". On any failure nothing
// is left in the folder.
NewExportFile WriteExportFile(const QString& folder, const std::function<QString(const QString& path)>& write);

// Removes from `folder` the program's own exports, and files it left half
// written, last modified more than a day before `now`: only regular files
// owned by the user whose names match the program's patterns exactly (the
// exports still read-only). Links are never followed, other entries are left
// alone, and a folder that fails the checks of WriteExportFile is not touched.
// Returns how many files were removed.
int RemoveOldExports(const QString& folder, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace tesmir
