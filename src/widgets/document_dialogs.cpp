#include "widgets/document_dialogs.h"

#include <QPrintDialog>
#include <QPrinter>

#include "paper/calc_note.h"
#include "widgets/ask_number_form.h"

namespace tesmir {

std::optional<QString> RealDocumentDialogs::askPointName(QWidget* parent, const QString& previous) {
  const std::unique_ptr<AskNumberForm> dialog = AskNumberForm::ForNote(
      [](const QString& name) { return NotePointNameProblem(name).toStdString(); }, previous, messages_, parent);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  return dialog->chosenName();
}

bool RealDocumentDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace tesmir
