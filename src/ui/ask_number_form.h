#pragma once
// "Запрос номера точки ОКЗ": asks for the name of a new report point and adds
// the last calculation under that name.

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace tesmir {

class MessageSink;
class ReportTable;
struct DeviceSettings;
struct SchemeState;

class AskNumberForm : public QDialog {
  Q_OBJECT

 public:
  // `tripTimeText` reads the trip-time text the results window shows now.
  AskNumberForm(ReportTable& table, const SchemeState& scheme, const DeviceSettings& device, MessageSink& messages,
                std::function<QString()> tripTimeText, QWidget* parent = nullptr);

  // "Да": checks the name and adds the point; on a rejection shows the reason
  // and stays open with the typed text.
  void OKButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  ReportTable& table_;
  const SchemeState& scheme_;
  const DeviceSettings& device_;
  MessageSink& messages_;
  std::function<QString()> tripTimeText_;
  QLineEdit* numberEdit_;
};

}  // namespace tesmir
