#pragma once
// The twelve report columns: the title, unit and hint of each, in the variant
// every surface shows (the report window and the printed report, the report
// file header, the spreadsheet export header).

#include <array>
#include <string>
#include <string_view>

#include "report/report_table.h"

namespace tesmir {

struct ReportColumn {
  // Over the column in the report window and on paper.
  std::string_view title;
  // In the report file header and the export header: "|Zф-н|" without the
  // spaces the window shows.
  std::string_view headerTitle;
  // Under the title in the window, on paper and in the report file.
  std::string_view unit;
  // In the export header: the unit of the trip time is the Latin small c.
  std::string_view exportUnit;
  // The hint of the column in the report window.
  std::string_view description;
};

// R, X, Z, I and T are Latin letters; the indices and units are Cyrillic
// (except the export's Latin "c").
inline constexpr std::array<ReportColumn, kReportColumns> kReportColumnTable{{
    {"№ точки", "№ точки", "", "", "Номер точки однофазного короткого замыкания"},
    {"Rт/3", "Rт/3", "мОм", "мОм", "Активное сопротивление обмотки трансформатора однофазному короткому замыканию"},
    {"Xт/3", "Xт/3", "мОм", "мОм", "Реактивное сопротивление обмотки трансформатора однофазному короткому замыканию"},
    {"Rл", "Rл", "мОм", "мОм", "Активное сопротивление линии"},
    {"Xл", "Xл", "мОм", "мОм", "Реактивное сопротивление линии"},
    {"Rпр", "Rпр", "мОм", "мОм", "Активное переходное сопротивление контактов + сопротивление электрической дуги"},
    {"Rф-н", "Rф-н", "мОм", "мОм", "Активное сопротивление петли \"фаза-ноль\""},
    {"Xф-н", "Xф-н", "мОм", "мОм", "Реактивное сопротивление петли \"фаза-ноль\""},
    {"| Zф-н |", "|Zф-н|", "мОм", "мОм", "Модуль полного сопротивления петли \"фаза-ноль\""},
    {"Iокз", "Iокз", "А", "А", "Расчетный ток однофазного короткого замыкания"},
    {"Iср", "Iср", "А", "А", "Ток срабатывания аппарата защиты"},
    {"Tср", "Tср", "с", "c", "Время срабатывания аппарата защиты"},
}};

// The two header lines of a report file (UTF-8, without the line end): every
// text followed by ';'; a column without a unit keeps a single space.
inline std::string ReportFileTitleLine() {
  std::string line;
  for (const ReportColumn& column : kReportColumnTable) {
    line += column.headerTitle;
    line += ';';
  }
  return line;
}

inline std::string ReportFileUnitLine() {
  std::string line;
  for (const ReportColumn& column : kReportColumnTable) {
    line += column.unit.empty() ? std::string_view(" ") : column.unit;
    line += ';';
  }
  return line;
}

}  // namespace tesmir
