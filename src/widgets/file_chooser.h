#pragma once
// The file dialogs of the report window behind an interface, so tests script
// the names a user would choose.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace tesmir {

class MessageSink;

// The name filter of the dialogs that save a PDF.
inline const QString kPdfFilter = QStringLiteral("Документ PDF (*.pdf)");

// `startPath` is where a dialog starts: a folder, or a file name whose folder
// is shown with the name filled in.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // A name to save under, or the empty text when the user cancels. `filter`
  // is a name filter such as "Таблица (*.csv)"; a name typed without an
  // extension gets `defaultSuffix`. The caller asks about overwriting.
  virtual QString chooseSaveName(QWidget* parent, const QString& startPath, const QString& filter,
                                 const QString& defaultSuffix) = 0;
  // An existing file to open, or the empty text when the user cancels. The
  // first filter is selected at first.
  virtual QString chooseOpenName(QWidget* parent, const QString& startPath, const QStringList& filters,
                                 const QString& defaultSuffix) = 0;
};

class FileChooser;

// The save dialog as every "save as" of the program runs it: shows the dialog
// (starting where `startPath()` says at each showing) until the user cancels,
// picks a new file, or agrees to replace an existing one ("Такой файл уже
// существует. Переписать файл?"; Cancel goes back to the dialog). `chosen`
// sees every picked name before that question. Empty when cancelled.
QString ChooseNameToSave(FileChooser& files, MessageSink& messages, QWidget* parent,
                         const std::function<QString()>& startPath, const QString& filter, const QString& defaultSuffix,
                         const std::function<void(const QString&)>& chosen = {});

// The real dialogs.
class DialogFileChooser final : public FileChooser {
 public:
  QString chooseSaveName(QWidget* parent, const QString& startPath, const QString& filter,
                         const QString& defaultSuffix) override;
  QString chooseOpenName(QWidget* parent, const QString& startPath, const QStringList& filters,
                         const QString& defaultSuffix) override;
};

}  // namespace tesmir
