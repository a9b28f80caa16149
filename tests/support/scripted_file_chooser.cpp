#include "scripted_file_chooser.h"

namespace tesmir_test {

QString ScriptedFileChooser::chooseSaveName(QWidget*, const QString& startPath, const QString& filter,
                                            const QString& defaultSuffix) {
  ++saveCalls;
  starts << QStringLiteral("save:") + startPath;
  saveFilters << filter + QLatin1Char('|') + defaultSuffix;
  return next();
}

QString ScriptedFileChooser::chooseOpenName(QWidget*, const QString& startPath, const QStringList& filters,
                                            const QString& defaultSuffix) {
  starts << QStringLiteral("open:") + startPath;
  openFilters << filters.join(QLatin1Char(',')) + QLatin1Char('|') + defaultSuffix;
  return next();
}

QString ScriptedFileChooser::next() {
  ++calls;
  if (names.empty()) {
    return {};
  }
  const QString name = names.front();
  names.pop_front();
  return name;
}

}  // namespace tesmir_test
