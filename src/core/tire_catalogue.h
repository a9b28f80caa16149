#pragma once
// Busbar trunking catalogue: R and X of the whole phase-neutral loop per metre
// of run (mOhm/m), by family (make) and model.

#include <span>
#include <string_view>

#include "core/result.h"

namespace tesmir {

struct TireImpedance {
  double r = 0;  // loop resistance, mOhm per metre
  double x = 0;  // loop reactance, mOhm per metre
  bool operator==(const TireImpedance&) const = default;
};

inline constexpr std::string_view kTireFamilies[] = {
    "Шинопровод Canalis", "Шинопровод E-line",  "Шинопровод Gersan",   "Шинопровод MEMPOWER", "Шинопровод Naxso",
    "Шинопровод LV70",    "Шинопровод WavePro", "Шинопровод LS Cable", "Шинопровод ШМА, ШРА"};

// The model is looked up within its family; any text that is not a model of
// that family (or a family that is none of the nine) fails.
Result<TireImpedance> CalcTireLineImpedance(std::string_view model, std::string_view family);

// Model texts of a family in list order; the first is the family's default.
// Empty for a text that is none of the nine families.
std::span<const std::string_view> TireLineModels(std::string_view family);

namespace tire_messages {
inline constexpr std::string_view kUnknownModel = "Неизвестная марка шинопровода";
}

}  // namespace tesmir
