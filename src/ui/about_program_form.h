#pragma once
// "О программе...": the product name, its version and the developer's contacts.

#include <QDialog>

namespace tesmir {

inline constexpr char kVersion[] = "2.5.1";

class AboutProgramForm : public QDialog {
  Q_OBJECT

 public:
  explicit AboutProgramForm(QWidget* parent = nullptr);
};

}  // namespace tesmir
