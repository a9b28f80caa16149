#pragma once
// The folder the spreadsheet exports are written to, and their file names.

#include <QDateTime>
#include <QString>

namespace tesmir {

// The program's own folder for exports in the user's temporary location.
QString DefaultExportFolder();

struct NewExportFile {
  QString path;   // set on success
  QString error;  // the system's text when the file could not be made
};

// Creates `folder` if needed and, inside it, a new empty .xlsx file whose
// name no other export has used; an earlier export is never reused.
NewExportFile CreateExportFile(const QString& folder);

// Removes the exports in `folder` last modified more than a day before
// `now`. Other files are left alone; files that cannot be removed (still
// open elsewhere, say) are skipped. Returns how many were removed.
int RemoveOldExports(const QString& folder, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace tesmir
