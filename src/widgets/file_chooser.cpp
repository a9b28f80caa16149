#include "widgets/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>

#include "report/report_file.h"
#include "widgets/message_sink.h"

namespace tesmir {
namespace {

void StartAt(QFileDialog& dialog, const QString& startPath) {
  if (startPath.isEmpty()) {
    return;
  }
  // A folder opens as it is; a file name opens its folder with the name
  // filled in.
  const QFileInfo info(startPath);
  if (info.isDir()) {
    dialog.setDirectory(info.absoluteFilePath());
    return;
  }
  dialog.setDirectory(info.absolutePath());
  dialog.selectFile(info.fileName());
}

QString Chosen(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted) {
    return {};
  }
  return dialog.selectedFiles().value(0);
}

}  // namespace

QString ChooseNameToSave(FileChooser& files, MessageSink& messages, QWidget* parent,
                         const std::function<QString()>& startPath, const QString& filter, const QString& defaultSuffix,
                         const std::function<void(const QString&)>& chosen) {
  for (;;) {
    const QString path = files.chooseSaveName(parent, startPath(), filter, defaultSuffix);
    if (path.isEmpty()) return {};
    if (chosen) chosen(path);
    if (!QFileInfo::exists(path) || messages.ask(parent, QString::fromUtf8(report_file_messages::kOverwrite))) {
      return path;
    }
  }
}

QString DialogFileChooser::chooseSaveName(QWidget* parent, const QString& startPath, const QString& filter,
                                          const QString& defaultSuffix) {
  QFileDialog dialog(parent, QStringLiteral("Сохранить как"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(defaultSuffix);
  StartAt(dialog, startPath);
  return Chosen(dialog);
}

QString DialogFileChooser::chooseOpenName(QWidget* parent, const QString& startPath, const QStringList& filters,
                                          const QString& defaultSuffix) {
  QFileDialog dialog(parent, QStringLiteral("Открыть"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) {
    dialog.selectNameFilter(filters.first());
  }
  dialog.setDefaultSuffix(defaultSuffix);
  StartAt(dialog, startPath);
  return Chosen(dialog);
}

}  // namespace tesmir
