#pragma once
// Supply transformer catalogue: resistance and reactance to a single-phase
// fault, held three-fold (total over three phases; for the single-phase
// transformer three times the phase value). The loop takes one third.

#include <span>
#include <string>
#include <string_view>

#include "core/result.h"

namespace tesmir {

struct TransImpedance {
  double rt = 0;  // mOhm
  double xt = 0;  // mOhm
  double zt = 0;  // mOhm, sqrt(rt^2 + xt^2)
  bool operator==(const TransImpedance&) const = default;
};

inline constexpr std::string_view kWindKinds[] = {"Y/Y-0", "T/Y-0", "Y/Z-0", "1/1-0"};

// Checks, in order: the power is one of the eighteen catalogue powers, the
// scheme is one of the four, the cell has an entry.
Result<TransImpedance> CalcTransImpedance(std::string_view windKind, double power);

// What the power list offers for a scheme (the powers with an entry in the
// catalogue, smallest first) and the text it shows after a change of scheme.
// Fails with kUnknownSchemeInList for a text that is none of the four schemes.
struct TransPowerList {
  std::span<const std::string_view> items;
  std::string_view text;
};
Result<TransPowerList> TransPowerListFor(std::string_view windKind);

namespace trans_messages {
inline constexpr std::string_view kUnknownPower = "Трансформатор выбранной мощности не заложен в программу";
inline constexpr std::string_view kWrongScheme = "Неправильная схема соединения обмоток трансформатора";
inline constexpr std::string_view kNoEntry =
    "Неизвестная марка трансформатора. Попробуйте выбрать трансформатор другой мощности или изменить схему "
    "соединения обмоток";
// The scheme text offers no power list.
inline constexpr std::string_view kUnknownSchemeInList = "Неизвестная схема обмоток трансформатора";
}  // namespace trans_messages

}  // namespace tesmir
