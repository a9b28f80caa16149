#pragma once
// The window "Проверка защиты": what the last calculated feeder allows the
// protective device. It computes nothing itself; every time it is shown it
// hands the last calculation and the accepted device to the protection check
// and writes the texts back.

#include <QDialog>
#include <QString>
#include <utility>
#include <vector>

#include "core/display_format.h"
#include "core/loop_calc.h"
#include "device/device_settings.h"
#include "device/protection_check.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace tesmir {

class MessageSink;

class ProtectionCheckForm : public QDialog {
  Q_OBJECT

 public:
  ProtectionCheckForm(const SchemeState& scheme, const DeviceSettings& device, MessageSink& messages,
                      QWidget* parent = nullptr);

  // The numbers are written with the system locale's separators unless this
  // says otherwise.
  void setSeparators(const NumberSeparators& separators) { separators_ = separators; }

  // Checks the last calculation and the accepted device again and writes
  // every label. Showing the window does this.
  void refresh();

  // The window's figures for the calculation note, caption and value, with a
  // "—" followed by its reason: checked afresh, so they belong to the last
  // calculation even when the window was not opened since. The breaking
  // capacity and its verdict follow the three-phase currents when a capacity
  // is typed and judged.
  std::vector<std::pair<QString, QString>> noteFigures() const;

  // The breaking capacity as typed, kA. It belongs to the feeder: a feeder
  // file keeps it, and opening a feeder sets it (empty when the file has none).
  QString breakingCapacity() const;
  void setBreakingCapacity(const QString& text);

  // Event handlers of the breaking-capacity edit: every change of its text
  // gives the verdict, leaving it with a text that is not a number says so.
  void BreakingCapacityEditChange();
  void BreakingCapacityEditExit();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void showFigure(QLabel* label, const FigureText& figure, const QString& hint);

  const SchemeState& scheme_;
  const DeviceSettings& device_;
  MessageSink& messages_;
  NumberSeparators separators_;
  CheckFigure ik3Device_;
  bool badTextReported_ = false;  // the edit's bad text has had its message

  QLabel* tripCurrent_ = nullptr;
  QLabel* lastLine_ = nullptr;
  QLabel* iokzMin_ = nullptr;
  QLabel* iokzMinStatus_ = nullptr;
  QLabel* lengthMax_ = nullptr;
  QLabel* lengthMaxHot_ = nullptr;
  QLabel* sectionMin_ = nullptr;
  QLabel* sectionMinHot_ = nullptr;
  QLabel* ik3DeviceLabel_ = nullptr;
  QLabel* ik3Point_ = nullptr;
  QLineEdit* breakingCapacity_ = nullptr;
  QLabel* breakingStatus_ = nullptr;
  QPushButton* close_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
};

}  // namespace tesmir
