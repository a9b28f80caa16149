#pragma once
// The phase-neutral loop of one feeder and its single-phase fault current,
// computed from the texts of the main window's controls.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tesmir {

inline constexpr int kLineCount = 6;

// One series line section.
struct LineSegment {
  std::string Kind;   // line kind text
  std::string Stuff;  // conductor material or busbar model
  std::string Ff;     // phase cross-section text (cable and overhead kinds)
  std::string Fn;     // neutral cross-section text (cable and overhead kinds)
  double RPhase = 0;  // mOhm per metre
  double XPhase = 0;
  double RNeutral = 0;
  double XNeutral = 0;
  double Length = 0;          // m
  std::int32_t QuanPar = 0;   // parallel conductors, >= 1 after a calculation
  double RLine = 0;  // mOhm
  double XLine = 0;
  double ZLine = 0;
};

// Inputs read by the last successful calculation and everything it computed.
// All zero and empty at start.
struct SchemeState {
  double TransPower = 0;  // kVA
  std::string WindKind;
  double Rt = 0;  // mOhm, three-fold
  double Xt = 0;
  double Zt = 0;
  std::array<LineSegment, kLineCount> Lines{};
  double RArc = 0;  // mOhm
  double RLineSum = 0;
  double XLineSum = 0;
  double ZLineSum = 0;
  double Rsum = 0;
  double Xsum = 0;
  double Zsum = 0;
  double Iokz = 0;  // A, not rounded
};

// The texts of one line-section row of the main window.
struct LineInput {
  std::string kind;
  std::string stuff;
  std::string ff;
  std::string fn;
  std::string length;
  std::string quanPar;
};

// The texts of the main window's controls that the calculation reads.
struct SchemeInput {
  std::string transPower;
  std::string windKind;
  std::array<LineInput, kLineCount> lines{};
  std::string rArc;
};

// The main window as it starts.
SchemeInput DefaultSchemeInput();

struct CalcOutcome {
  bool ok = false;
  // Failure: the text of the one message box to show.
  std::string message;
  // Failure: true for the power check, whose two labels change before the box
  // is shown; every other failure changes them after it.
  bool labelsBeforeMessage = false;
  // Success: the main window's result line.
  std::string resultLine;
};

// Classification of a line-kind text.
enum class LineKindClass { Cable, Tire, Unknown };
LineKindClass ClassifyLineKind(std::string_view kind);

// Runs the whole calculation. On success `state` receives every input and
// computed value; on failure it is left exactly as it was.
CalcOutcome RunLoopCalculation(const SchemeInput& input, SchemeState& state);

namespace calc_messages {
inline constexpr std::string_view kNotEnoughData = "Не хватает данных для расчета!";
inline constexpr std::string_view kDoCalculation = "Выполните расчет тока однофазного короткого замыкания";
inline constexpr std::string_view kEnterData = "Введите исходные данные для расчета";
inline constexpr std::string_view kDeviceUndefined = "В расчете не определен";
inline constexpr std::string_view kBadPower = "Неверная мощность трансформатора";
inline constexpr std::string_view kUnknownLineKind = "Неизвестный тип линии";
inline constexpr std::string_view kBadArc =
    "Неправильно введено сопротивление электрической дуги. Рекомендуемый диапазон значений 0..40 мОм";
inline constexpr std::string_view kOutOfRange =
    "Результат расчета выходит за пределы допустимых значений. Проверьте длины линий и сопротивление дуги.";
inline constexpr std::string_view kResultPrefix = "Ток однофазного короткого замыкания равен ";
inline constexpr std::string_view kResultSuffix = " А";
// Section-numbered messages: the section number (1..6) is appended.
inline constexpr std::string_view kSelectNeutral = "Выберите сечение жилы нулевого провода линии ";
inline constexpr std::string_view kSelectPhase = "Выберите сечение жилы фазного провода линии ";
inline constexpr std::string_view kBadLength = "Неверная длина линии ";
inline constexpr std::string_view kBadQuanPar = "Неверное количество параллельных проводов линии ";
}  // namespace calc_messages

}  // namespace tesmir
