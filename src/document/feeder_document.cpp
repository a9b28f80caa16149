#include "document/feeder_document.h"

#include <utility>

#include "document/recorded_step.h"

namespace tesmir {

// One edit of the feeder: the texts before and after it. Edits of one field
// in a row merge.
class FeederEditCommand final : public RecordedStep<FeederDocument, FeederData> {
 public:
  FeederEditCommand(FeederDocument& document, FeederData before, FeederData after, int field)
      : RecordedStep(document, std::move(before), std::move(after)), field_(field) {}

  int id() const override { return field_; }
  bool mergeWith(const QUndoCommand* other) override {
    const auto* next = static_cast<const FeederEditCommand*>(other);
    if (field_ < 0 || next->field_ != field_) return false;
    after_ = next->after_;
    return true;
  }

 private:
  int field_;
};

FeederDocument::FeederDocument(QObject* parent) : QObject(parent) {
  texts_.scheme = DefaultSchemeInput();
  deviceTexts_ = MakeDeviceTexts(device_, acceptedLabels_, scheme_.Iokz);
}

void FeederDocument::setAcceptedDevice(const std::optional<DeviceDialogInput>& input,
                                       const std::optional<DeviceLabels>& labels) {
  acceptedInput_ = input;
  acceptedLabels_ = labels;
  judgeDevice();
}

void FeederDocument::judgeDevice() {
  deviceTexts_ = MakeDeviceTexts(device_, acceptedLabels_, scheme_.Iokz);
  emit deviceChanged();
}

void FeederDocument::setResults(const ResultTexts& texts) {
  results_ = texts;
  emit resultsChanged();
}

void FeederDocument::recordEdit(const FeederData& now, int field) {
  if (now == texts_) return;
  FeederData before = std::exchange(texts_, now);
  undo_.push(new FeederEditCommand(*this, std::move(before), now, field));
}

void FeederDocument::markClean(const FeederData& now) {
  texts_ = now;
  undo_.setClean();
}

void FeederDocument::restore(const FeederData& texts) {
  texts_ = texts;
  emit textsRestored(texts);
}

}  // namespace tesmir
