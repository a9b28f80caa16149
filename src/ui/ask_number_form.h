#pragma once
// "Запрос номера точки ОКЗ": asks for the name of a new report point. It
// only answers with the name; the caller adds the point.

#include <QDialog>
#include <QString>
#include <optional>

class QLineEdit;
class QPushButton;

namespace tesmir {

class MessageSink;
class ReportTable;

class AskNumberForm : public QDialog {
  Q_OBJECT

 public:
  // Names are checked against `table`, which the dialog never changes.
  AskNumberForm(const ReportTable& table, MessageSink& messages, QWidget* parent = nullptr);

  // "Да": checks the name; on a rejection shows the reason and stays open
  // with the typed text, otherwise closes with Accepted.
  void OKButtonClick();

  // The name "Да" accepted at the last closing; none after "Отмена" or Esc.
  const std::optional<QString>& chosenName() const { return chosenName_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  const ReportTable& table_;
  MessageSink& messages_;
  QLineEdit* numberEdit_;
  std::optional<QString> chosenName_;
};

}  // namespace tesmir
