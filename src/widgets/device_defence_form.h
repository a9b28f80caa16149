#pragma once
// The dialog "Аппарат защиты": the user describes the circuit breaker or fuse
// that protects the line. Created once; its controls keep what the user left
// in them between openings.

#include <QDialog>
#include <optional>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/device_settings.h"
#include "widgets/device_status_view.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QStatusBar;

namespace tesmir {

class MessageSink;

class DeviceDefenceForm : public QDialog {
  Q_OBJECT

 public:
  DeviceDefenceForm(DeviceSettings& settings, const SchemeState& scheme, MessageSink& messages,
                    QWidget* parent = nullptr);

  // The labels written on "Да" and "Сброс".
  void setStatusView(const DeviceStatusView& view);

  // What the controls hold, as acceptance reads it.
  DeviceDialogInput input() const;

  // The dialog's texts when the device now defined was accepted; nullopt
  // while no device is defined.
  const std::optional<DeviceDialogInput>& acceptedInput() const { return accepted_; }
  // The texts the acceptance of that device made; nullopt with it.
  const std::optional<DeviceLabels>& acceptedLabels() const { return acceptedLabels_; }

  // Fills the controls as a user would (the handlers run), then accepts them
  // as "Да" does. A rejected device leaves the device undefined, as "Сброс"
  // does. Returns true when the device was accepted.
  bool acceptTexts(const DeviceDialogInput& texts);
  // Leaves no device defined, as "Сброс" does.
  void forgetDevice();

 signals:
  // The device was accepted, forgotten ("Сброс"), or refused in a way that
  // left no trip current.
  void deviceChanged();

 public slots:
  void OKDDBitBtnClick();
  void BitBtn3Click();
  void AVRadioButtonClick();
  void PPRadioButtonClick();
  void TokNRCheckBoxClick();
  void TypePPComboBoxChange();

 private:
  void buildControls();
  void setBreakerGroupEnabled(bool enabled);
  void setFuseGroupEnabled(bool enabled);
  // Shows what the settings hold now and tells about the change.
  void showDevice();

  DeviceSettings& settings_;
  const SchemeState& scheme_;
  MessageSink& messages_;
  DeviceStatusView view_;

  QRadioButton* avRadio_ = nullptr;
  QRadioButton* ppRadio_ = nullptr;
  QButtonGroup* kindGroup_ = nullptr;
  QComboBox* tokAVnom_ = nullptr;
  QComboBox* tokNR_ = nullptr;
  QCheckBox* tokNRCheck_ = nullptr;
  QComboBox* kzAV_ = nullptr;
  QComboBox* typePP_ = nullptr;
  QComboBox* tokPP_ = nullptr;
  QComboBox* kzPP_ = nullptr;
  QComboBox* timePP_ = nullptr;
  QList<QLabel*> breakerCaptions_;
  QList<QLabel*> fuseCaptions_;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  QPushButton* resetButton_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  std::optional<DeviceDialogInput> accepted_;
  std::optional<DeviceLabels> acceptedLabels_;
};

}  // namespace tesmir
