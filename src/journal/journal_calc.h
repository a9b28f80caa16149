#pragma once
// The line journal's calculation: every line of a radial tree computed at the
// end of its path with the main window's loop calculation and the protection
// check, plus the device verdicts, the voltage drop and the cable's thermal
// withstand. Errors stay with their line; every other line is computed.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/protection_check.h"
#include "journal/journal_network.h"

namespace tesmir {

// The numeric figures of a line. Each one either has a value (finite,
// unrounded) or is not given.
enum class Fig : std::uint8_t {
  Ik1,          // A, the main window's current at the end
  Ik1Min,       // A, heated conductors, c_min, with the grid
  Ik3Start,     // A, maximum three-phase current at the device
  Ik3End,       // A, at the end of the line
  Ik1MaxStart,  // A, maximum single-phase current at the start
  TripCurrent,  // A
  TNorm,        // s, required disconnection time
  LmaxHot,      // m, largest length of the line (heated); see lmaxHotText
  SminHot,      // mm², smallest section (heated); see sminHotState
  DuLine,       // %, the line's own drop
  DuTp,         // %, from the transformer
  DuVru,        // %, from the main board
  Du125Line,    // the same three with r × 1.25
  Du125Tp,
  Du125Vru,
  ThermalK,          // k of the insulation and conductor
  ThermalCurrent,    // A, of the deciding case
  ThermalEnergy,     // A²s, I²t of the deciding case
  ThermalWithstand,  // A²s, k²S² of the deciding case
  Count
};

struct LineResult {
  std::string error;        // the line's own or inherited error; empty when computed
  std::string deviceError;  // the device could not be taken; its figures are "—"
  std::vector<std::string> warnings;
  std::array<double, static_cast<std::size_t>(Fig::Count)> values{};
  std::uint32_t present = 0;  // bit i: values[i] holds figure i

  std::string_view verdict;     // Iк1 against S
  std::string_view verdictMin;  // Iк1 мин against S
  std::string_view breaking;    // "—" when it cannot be judged; empty without a device
  FigureState lmaxHotState = FigureState::Undefined;
  FigureState sminHotState = FigureState::Undefined;
  std::string_view thermalVerdict;
  std::string_view thermalCase;  // the deciding case, or why there is no verdict
  std::optional<bool> duOkTp;
  std::optional<bool> duOkVru;

  std::optional<double> get(Fig f) const {
    const auto i = static_cast<std::size_t>(f);
    if ((present >> i & 1U) == 0) return std::nullopt;
    return values[i];
  }
  void set(Fig f, double value) {
    const auto i = static_cast<std::size_t>(f);
    values[i] = value;
    present |= 1U << i;
  }
};

struct JournalResult {
  std::string transformerError;           // empty when the transformer was accepted
  std::optional<double> transformerDrop;  // ΔUт, %
  std::vector<LineResult> lines;          // in file order
};

// Computes every line. Never fails as a whole: each error is a line's.
JournalResult ComputeJournal(const JournalNetwork& network);

// Whether a computed line fails any of its verdicts (or could not be
// computed): what --strict reports.
bool LineFailsAVerdict(const LineResult& line);

namespace journal_texts {
inline constexpr std::string_view kDash = "—";
inline constexpr std::string_view kWithstands = "выдерживает";
inline constexpr std::string_view kFails = "не выдерживает";
inline constexpr std::string_view kNotConfirmed = "не подтверждено";
inline constexpr std::string_view kNoK = "k не определен для этой изоляции/провода";
inline constexpr std::string_view kBusbarThermal = "шинопровод: проверяется по Icw изготовителя";
inline constexpr std::string_view kCasePhaseIk3 = "фаза при Iк3 макс в начале линии";
inline constexpr std::string_view kCasePhaseIk1Max = "фаза при Iк1 макс в начале линии";
inline constexpr std::string_view kCasePhaseIk1Min = "фаза при Iк1 мин в конце линии";
inline constexpr std::string_view kCaseNeutralIk1Max = "N/PE при Iк1 макс в начале линии";
inline constexpr std::string_view kCaseNeutralIk1Min = "N/PE при Iк1 мин в конце линии";
inline constexpr std::string_view kNoDevice = "аппарат защиты не задан";
inline constexpr std::string_view kUnknownDeviceType = "неизвестный вид аппарата (breaker или fuse)";
inline constexpr std::string_view kNoKind = "не задан ни тип линии, ни распознаваемая марка кабеля";
inline constexpr std::string_view kNoSections = "не задано сечение фазной или нулевой (PE, PEN) жилы";
inline constexpr std::string_view kNoLength = "не задана длина";
}  // namespace journal_texts

}  // namespace tesmir
