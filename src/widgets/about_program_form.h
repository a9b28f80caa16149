#pragma once
// "О программе...": the product name, its version and the developer's contacts.

#include <QDialog>

namespace tesmir {

class AboutProgramForm : public QDialog {
  Q_OBJECT

 public:
  explicit AboutProgramForm(QWidget* parent = nullptr);
};

}  // namespace tesmir
