#pragma once
// "Запрос номера точки ОКЗ": asks for the name of a new report point. It
// only answers with the name; the caller adds the point.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
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

  // The why-not text of a name, empty when the name is accepted.
  using NameRule = std::function<std::string(const QString&)>;
  // The same dialog for a calculation note: names are checked by `rule`,
  // which allows an empty name, and the limit line says so. Its object name
  // is "NotePointNameDialog"; it opens with `previous` typed in.
  static std::unique_ptr<AskNumberForm> ForNote(NameRule rule, const QString& previous, MessageSink& messages,
                                                QWidget* parent);

  // "Да": checks the name; on a rejection shows the reason and stays open
  // with the typed text, otherwise closes with Accepted.
  void OKButtonClick();

  // The name "Да" accepted at the last closing; none after "Отмена" or Esc.
  const std::optional<QString>& chosenName() const { return chosenName_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  AskNumberForm(NameRule rule, MessageSink& messages, QWidget* parent);

  NameRule rule_;
  MessageSink& messages_;
  QLineEdit* numberEdit_;
  QLabel* limit_;
  std::optional<QString> chosenName_;
};

}  // namespace tesmir
