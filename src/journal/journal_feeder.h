#pragma once
// A journal line as the main window's feeder: the transformer, the lines of
// its path as sections 1…k (the rest empty), the line's arc, and the line's
// device as the device dialog's texts. Only paths of at most six lines fit.

#include <optional>
#include <string>

#include "core/loop_calc.h"
#include "core/result.h"
#include "device/device_check.h"
#include "journal/journal_network.h"

namespace tesmir {

struct JournalFeeder {
  SchemeInput input;
  std::optional<DeviceDialogInput> device;  // nullopt: no device, or one the dialog cannot take
};

namespace journal_feeder_texts {
inline constexpr std::string_view kTooLong =
    "Путь от трансформатора до линии длиннее шести линий: в главном окне помещается не больше шести участков";
inline constexpr std::string_view kBrokenPath =
    "Путь от трансформатора до линии не определен: питающая линия не найдена или ссылки образуют цикл";
inline constexpr std::string_view kNoLine = "Выберите линию журнала";
}  // namespace journal_feeder_texts

// The feeder of line `index`; fails with the reason it does not fit.
Result<JournalFeeder> FeederOfLine(const JournalNetwork& network, int index);

}  // namespace tesmir
