#pragma once
// The file dialogs of the widget tests: hand out the scripted names in turn
// (an exhausted script cancels) and record how each dialog was opened.

#include <QString>
#include <QStringList>
#include <deque>

#include "widgets/file_chooser.h"

namespace tesmir_test {

class ScriptedFileChooser final : public tesmir::FileChooser {
 public:
  QString chooseSaveName(QWidget* parent, const QString& startPath, const QString& filter,
                         const QString& defaultSuffix) override;
  QString chooseOpenName(QWidget* parent, const QString& startPath, const QStringList& filters,
                         const QString& defaultSuffix) override;

  // The names the user would choose, in turn.
  std::deque<QString> names;
  // Dialogs opened: all of them, and the save dialogs alone.
  int calls = 0;
  int saveCalls = 0;
  // Where each dialog started: "save:<path>" or "open:<path>".
  QStringList starts;
  // The filters of each dialog and its default suffix: "<filter>|<suffix>",
  // several filters of an open dialog joined with ",".
  QStringList saveFilters;
  QStringList openFilters;

 private:
  QString next();
};

}  // namespace tesmir_test
