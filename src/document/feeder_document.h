#pragma once
// One feeder: the main window's inputs as typed, the accepted protective
// device, and the last calculation with the texts made once from it. The
// windows show it and turn the user's edits into changes of it; the note, the
// picture, the report row and the protection check read it. Every edit of
// the inputs is a step of its undo stack; the feeder is modified while the
// stack is away from the state of the last open or save.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <optional>

#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/device_settings.h"
#include "report/feeder_file.h"
#include "texts/result_texts.h"

namespace tesmir {

class FeederDocument : public QObject {
  Q_OBJECT

 public:
  // The step kind of an edit that never merges with the one before it
  // (accepting a device, opening a file).
  static constexpr int kWholeStep = -1;

  explicit FeederDocument(QObject* parent = nullptr);

  // The last calculation: its inputs and the values it computed.
  SchemeState& scheme() { return scheme_; }
  const SchemeState& scheme() const { return scheme_; }
  // The device the dialog accepted last (TokSR <= 0: none is defined).
  DeviceSettings& deviceSettings() { return device_; }
  const DeviceSettings& deviceSettings() const { return device_; }

  // The device now defined: the dialog's texts and the texts its acceptance
  // made; nullopt while none is defined. Judges it again.
  void setAcceptedDevice(const std::optional<DeviceDialogInput>& input, const std::optional<DeviceLabels>& labels);
  const std::optional<DeviceDialogInput>& acceptedDevice() const { return acceptedInput_; }
  // Judges the device against the current of the last calculation again.
  void judgeDevice();
  // What every surface shows of the device, made from the settings.
  const DeviceTexts& deviceTexts() const { return deviceTexts_; }

  // The results texts of the last successful calculation.
  void setResults(const ResultTexts& texts);
  const ResultTexts& results() const { return results_; }

  // The inputs as typed, the accepted device's texts and the breaking
  // capacity: what a feeder file holds.
  const FeederData& texts() const { return texts_; }
  // Records an edit: `now` is what the windows hold after it. Edits of one
  // field (`field` >= 0) in a row merge into one step; kWholeStep never
  // merges. Nothing is recorded when nothing changed.
  void recordEdit(const FeederData& now, int field);
  // The texts a file brought or a save wrote: the clean state.
  void markClean(const FeederData& now);
  bool isModified() const { return !undo_.isClean(); }

  QUndoStack& undoStack() { return undo_; }

 signals:
  void deviceChanged();
  void resultsChanged();
  // An undo or redo: the windows show these texts now.
  void textsRestored(const FeederData& texts);

 private:
  template <class, class>
  friend class RecordedStep;
  void restore(const FeederData& texts);

  SchemeState scheme_;
  DeviceSettings device_;
  std::optional<DeviceDialogInput> acceptedInput_;
  std::optional<DeviceLabels> acceptedLabels_;
  DeviceTexts deviceTexts_;
  ResultTexts results_;
  FeederData texts_;
  QUndoStack undo_;
};

}  // namespace tesmir
