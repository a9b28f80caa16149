#pragma once
// The line journal's calculation: every line of a radial tree computed at the
// end of its path with the main window's loop calculation and the protection
// check, plus the device verdicts, the voltage drop and the cable's thermal
// withstand. Errors stay with their line; every other line is computed.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
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

// The texts a ResultText can hold; its code is the place here.
inline constexpr std::string_view kResultTexts[] = {
    {},
    kStatusTrips,
    kStatusDoesNotTrip,
    journal_texts::kDash,
    check_texts::kBreakingEnough,
    check_texts::kBreakingShort,
    journal_texts::kWithstands,
    journal_texts::kFails,
    journal_texts::kNotConfirmed,
    journal_texts::kNoK,
    journal_texts::kBusbarThermal,
    journal_texts::kCasePhaseIk3,
    journal_texts::kCasePhaseIk1Max,
    journal_texts::kCasePhaseIk1Min,
    journal_texts::kCaseNeutralIk1Max,
    journal_texts::kCaseNeutralIk1Min,
};

// One of the fixed texts a line's verdicts are given in, kept as a small
// code: a switchboard's results are hundreds of thousands of these. Reads as
// the text itself.
class ResultText {
 public:
  constexpr ResultText() = default;
  // `text` must be one of the verdict texts of this header, of the protection
  // check's or the device check's; any other text is a fault of the program.
  constexpr ResultText(std::string_view text) {  // NOLINT(google-explicit-constructor): set from the texts directly
    for (std::size_t i = 0; i < std::size(kResultTexts); ++i) {
      if (kResultTexts[i] == text) {
        code_ = static_cast<std::uint8_t>(i);
        return;
      }
    }
    throw std::invalid_argument("not a verdict text of the line journal");
  }

  constexpr operator std::string_view() const { return kResultTexts[code_]; }  // NOLINT(google-explicit-constructor)
  std::string_view view() const { return *this; }
  const char* data() const { return view().data(); }
  std::size_t size() const { return view().size(); }
  bool empty() const { return code_ == 0; }
  friend bool operator==(ResultText a, std::string_view b) { return a.view() == b; }
  friend bool operator==(ResultText a, ResultText b) { return a.code_ == b.code_; }

 private:
  std::uint8_t code_ = 0;  // 0: the empty text
};

// What few lines have: the errors and the warnings.
struct LineNotes {
  std::string error;        // the line's own or inherited error; empty when computed
  std::string deviceError;  // the device could not be taken; its figures are "—"
  std::vector<std::string> warnings;
};

struct LineResult {
  LineResult();
  LineResult(const LineResult& other);
  LineResult& operator=(const LineResult& other);
  LineResult(LineResult&&) noexcept = default;
  LineResult& operator=(LineResult&&) noexcept = default;
  ~LineResult() = default;

  const std::string& error() const { return notes_ ? notes_->error : kNoText; }
  const std::string& deviceError() const { return notes_ ? notes_->deviceError : kNoText; }
  const std::vector<std::string>& warnings() const { return notes_ ? notes_->warnings : kNoTexts; }
  void setError(std::string text);
  void setDeviceError(std::string text);
  void addWarning(std::string text);

  std::optional<double> get(Fig f) const {
    const double v = values_[static_cast<std::size_t>(f)];
    if (v != v) return std::nullopt;  // NaN: not given
    return v;
  }
  void set(Fig f, double value) { values_[static_cast<std::size_t>(f)] = value; }
  void clear(Fig f);

  ResultText verdict;     // Iк1 against S
  ResultText verdictMin;  // Iк1 мин against S
  ResultText breaking;    // "—" when it cannot be judged; empty without a device
  FigureState lmaxHotState = FigureState::Undefined;
  FigureState sminHotState = FigureState::Undefined;
  ResultText thermalVerdict;
  ResultText thermalCase;  // the deciding case, or why there is no verdict
  std::optional<bool> duOkTp;
  std::optional<bool> duOkVru;

 private:
  static const std::string kNoText;
  static const std::vector<std::string> kNoTexts;
  LineNotes& notes();

  // Each figure's value; NaN where it is not given (no figure is NaN).
  std::array<double, static_cast<std::size_t>(Fig::Count)> values_;
  std::unique_ptr<LineNotes> notes_;  // null while the line has none
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

}  // namespace tesmir
