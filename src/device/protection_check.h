#pragma once
// The protection check of the last calculated feeder: the fault current with
// heated conductors, how long the last section may be and which cross-section
// it needs for the device to trip in time, and the largest three-phase current
// the device has to break. Everything is computed from the last successful
// calculation and the accepted device; nothing here changes either of them.

#include <cstdint>
#include <string>
#include <string_view>

#include "core/display_format.h"
#include "core/line_catalogue.h"
#include "core/loop_calc.h"
#include "device/device_check.h"
#include "device/device_settings.h"

namespace tesmir {

namespace check_factors {
// The phase voltage of the loop current is the loop calculation's
// kPhaseVoltageMillivolts.
// Voltage factors of IEC 60909-0, Table 1, low-voltage systems: c_min for the
// minimum and c_max for the maximum short-circuit current.
inline constexpr double kCMin = 0.95;
inline constexpr double kCMax = 1.05;
// Nominal line-to-line voltage for the three-phase current, in millivolts.
inline constexpr double kLineVoltage = 400000;
// Conductor resistance at the end of the fault, IEC 60909-0:
// R = [1 + 0.004 (θe − 20 °C)] R20 with θe = 80 °C.
inline constexpr double kTemperatureCoefficient = 0.004;  // 1/°C
inline constexpr double kFinalTemperature = 80;           // °C
inline constexpr double kHeatedFactor = 1 + kTemperatureCoefficient * (kFinalTemperature - 20);
}  // namespace check_factors

// How a figure of the check came out.
enum class FigureState : std::uint8_t {
  Value,        // `value` holds it
  Unreachable,  // no length or no catalogue section makes the device trip in time
  Undefined,    // cannot be given; `reason` says why
};

struct CheckFigure {
  FigureState state = FigureState::Undefined;
  double value = 0;
  std::string reason;  // for Undefined
};

// The smallest catalogue cross-section of the last section that makes the
// device trip in time under one of the two conventions.
struct SectionFigure {
  CheckFigure section;  // mm², the catalogue section's number (2.5, 4, ...)
  std::string text;     // the catalogue text of that section ("2.5", "4")
  double current = 0;   // A, the single-phase current with it
};

struct ProtectionCheckResult {
  double tripCurrent = 0;          // TokSR of the device, A; a device is defined when above 0
  int lastLine = 0;                // 1..6, the highest-numbered section with a length; 0 for none
  CheckFigure iokzMin;             // A, conductors heated, c_min
  std::string_view iokzMinStatus;  // one of the check's verdict texts
  CheckFigure lengthMax;           // m, unrounded, by the result line's convention
  CheckFigure lengthMaxHot;        // m, unrounded, heated conductors and c_min
  SectionFigure sectionMin;
  SectionFigure sectionMinHot;
  CheckFigure ik3Device;  // A, maximum three-phase current at the start of section 1
  CheckFigure ik3Point;   // A, maximum three-phase current at the fault point
};

// Runs the whole check on the last successful calculation and the accepted
// device.
ProtectionCheckResult CheckProtection(const SchemeState& scheme, const DeviceSettings& device);

// The positive-sequence impedance of the transformer, mOhm: one third of the
// three-fold catalogue value of the same power with a delta primary; or the
// reason it is not given (`reason` non-empty).
struct PositiveSequence {
  std::string_view reason;
  double r1 = 0;
  double x1 = 0;
};
PositiveSequence TransformerPositiveSequence(std::string_view windKind, double power);

// The positive-sequence loop of the three-phase currents, mOhm: at the device
// and at the fault point, each the transformer's r1, x1 (plus whatever feeds
// it) with the sections' RPhase·L/n, XPhase·L/n added in section order.
struct ThreePhaseLoop {
  std::string_view reason;  // non-empty: no three-phase current, and why
  double rDevice = 0;
  double xDevice = 0;
  double rPoint = 0;
  double xPoint = 0;
};

// A feeder of any number of sections as the check reads it: the figures of
// its calculated loop (as in SchemeState), its last section with a length,
// and its three-phase loop.
struct CheckedLoop {
  double Rt = 0;  // mOhm, three-fold
  double Xt = 0;
  double RArc = 0;
  double RLineSum = 0;  // Σ RLine in section order
  double XLineSum = 0;
  double Rsum = 0;
  double Xsum = 0;
  double Zsum = 0;
  // Σ RLine and Σ XLine of the sections before the last one, summed
  // directly (not as the whole sum less the last section).
  double RRestSum = 0;
  double XRestSum = 0;
  const LineSegment* last = nullptr;  // nullptr: no section has a length
  int lastLine = 0;                   // its number, 1-based; 0 for none
  // Added to the loop of the minimum current: the supply grid's share, 0
  // when the grid is taken as ideal.
  double RGridMin = 0;
  double XGridMin = 0;
  ThreePhaseLoop threePhase;
  // The catalogue's conductors of the last section's material and kind, when
  // the caller keeps them; looked up otherwise.
  const CatalogueColumn* lastConductors = nullptr;
  // Only the heated conductors' length and section are wanted: lengthMax and
  // sectionMin are left undefined (without a reason), and not computed.
  bool heatedOnly = false;
};

// The check of such a feeder; CheckProtection is this check of the six
// sections of the last calculation.
ProtectionCheckResult CheckProtectionLoop(const CheckedLoop& loop, const DeviceSettings& device);

// The shown texts of the check: the value and its unit written with `seps`,
// a word for an unreachable figure or "—", whose reason goes with it.
struct FigureText {
  std::string text;
  std::string reason;  // non-empty exactly when `text` is "—"
};

struct ProtectionCheckTexts {
  FigureText iokzMin;
  std::string iokzMinStatus;
  FigureText lengthMax;
  FigureText lengthMaxHot;
  FigureText sectionMin;
  FigureText sectionMinHot;
  FigureText ik3Device;
  FigureText ik3Point;
};

ProtectionCheckTexts FormatProtectionCheck(const ProtectionCheckResult& result, const NumberSeparators& seps);

// The verdict on a breaking capacity typed in kA (decimal text) against the
// largest three-phase current at the device.
struct BreakingVerdict {
  std::string status;   // the verdict; empty while nothing is typed or the text is bad
  std::string reason;   // why no verdict can be given although a number is typed
  std::string message;  // the message for a bad entry; empty otherwise
};

BreakingVerdict JudgeBreakingCapacity(std::string_view text, const CheckFigure& ik3Device);

// The verdict on a breaking capacity, kA, against a three-phase current at
// the device, A (equality is enough).
std::string_view BreakingStatus(double capacityKa, double ik3Device);

namespace check_texts {
inline constexpr std::string_view kDash = "—";
inline constexpr std::string_view kTrips = kStatusTrips;
inline constexpr std::string_view kDoesNotTrip = kStatusDoesNotTrip;
inline constexpr std::string_view kNoDevice = "Аппарат защиты не выбран";
inline constexpr std::string_view kNoLength = "не обеспечивается при любой длине";
inline constexpr std::string_view kNoSection = "нет в каталоге";
inline constexpr std::string_view kBreakingEnough = "Отключающая способность достаточна";
inline constexpr std::string_view kBreakingShort = "Отключающая способность недостаточна";
inline constexpr std::string_view kBadBreakingCapacity = "Неверная величина отключающей способности аппарата защиты";

// Reasons for "—".
inline constexpr std::string_view kWhyNoCalculation = "Расчет тока однофазного короткого замыкания не выполнен";
inline constexpr std::string_view kWhyNoDevice =
    "Аппарат защиты не выбран: задайте его в окне \"Параметры аппарата защиты\"";
inline constexpr std::string_view kWhyNoLine = "Ни у одной линии не задана длина больше 0";
inline constexpr std::string_view kWhyNoConductor =
    "У последней линии сопротивление жил равно 0: ее длина не влияет на ток";
inline constexpr std::string_view kWhyBusbar =
    "Последняя линия — шинопровод: сечение подбирается только для кабеля и воздушной линии";
inline constexpr std::string_view kWhySinglePhase =
    "Для однофазного трансформатора (1/1-0) трехфазный ток не определяется";
inline constexpr std::string_view kWhyNoTriangleStar =
    "В каталоге нет трансформатора T/Y-0 этой мощности для сопротивления прямой последовательности";
inline constexpr std::string_view kWhyOutOfRange =
    "Величина выходит за пределы допустимых значений: проверьте ток срабатывания аппарата и длины линий";
inline constexpr std::string_view kWhyNoIk3 = "Ток трехфазного короткого замыкания у аппарата не определен";
}  // namespace check_texts

}  // namespace tesmir
