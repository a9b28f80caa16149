#pragma once
// Cable and overhead-line catalogue: r and x of one conductor per metre
// (mOhm/m), by cross-section, material and line kind.

#include <array>
#include <cstddef>
#include <iterator>
#include <string_view>

#include "core/result.h"

namespace tesmir {

struct LineImpedance {
  double r = 0;  // mOhm per metre
  double x = 0;  // mOhm per metre
  bool operator==(const LineImpedance&) const = default;
};

inline constexpr std::string_view kCableKinds[] = {"Кабель с бумажной изоляцией", "Кабель с ПВХ изоляцией",
                                                   "Воздушная"};
inline constexpr std::string_view kMaterials[] = {"Алюминий", "Медь"};
inline constexpr std::string_view kSections[] = {"0",  "1.5", "2.5", "4",  "6",   "10",  "16",  "25",
                                                 "35", "50",  "70",  "95", "120", "150", "185", "240"};

// Checks, in order: section is decimal text, its value is exactly one of
// kSections, material, line kind, combination in use. Every reader of a typed
// cross-section (the loop, feeder files, the protection check, the line
// journal) goes through this lookup.
Result<LineImpedance> CalcLineImpedance(std::string_view section, std::string_view stuff, std::string_view kind);

// The conductors the catalogue has for one material and line kind, smallest
// section first: exactly the sections CalcLineImpedance accepts for them,
// with the same values. None for an unknown material or kind.
struct CatalogueConductor {
  std::string_view section;  // the kSections text
  double number = 0;         // its value, mm²
  LineImpedance impedance;
};
struct CatalogueColumn {
  std::array<CatalogueConductor, std::size(kSections)> rows{};
  std::size_t count = 0;
};
CatalogueColumn CatalogueConductors(std::string_view stuff, std::string_view kind);

namespace line_messages {
inline constexpr std::string_view kBadSection = "Неверное сечение жилы";
inline constexpr std::string_view kUnknownSection = "Неизвестное сечение жилы";
inline constexpr std::string_view kUnknownMaterial = "Неизвестный материал жилы проводника";
inline constexpr std::string_view kWrongKind = "Неверный тип линии";
inline constexpr std::string_view kNotUsed = "Тип линии с выбранным сечением не используется. Выберите другое сечение.";
}  // namespace line_messages

}  // namespace tesmir
