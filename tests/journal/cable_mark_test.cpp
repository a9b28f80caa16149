// Cable marks: what each gives, or why it is refused.
#include <gtest/gtest.h>

#include "journal/cable_mark.h"

namespace tesmir {
namespace {

constexpr const char* kPvc = "Кабель с ПВХ изоляцией";
constexpr const char* kPaper = "Кабель с бумажной изоляцией";
constexpr const char* kAir = "Воздушная";

TEST(CableMark, WhatEachMarkGives) {
  struct Row {
    const char* mark;
    CableMark gives;
  };
  const Row rows[] = {
      {"АВВГ 4х95", {kPvc, "Алюминий", "95", "95", "1", 3, Insulation::PVC}},
      {"ВВГнг(А)-LS 3х2,5", {kPvc, "Медь", "2.5", "2.5", "1", 1, Insulation::PVC}},
      {"АВБбШв 2х(4х240)", {kPvc, "Алюминий", "240", "240", "2", 3, Insulation::PVC}},
      {"ААБл-1 3х120+1х70", {kPaper, "Алюминий", "120", "70", "1", 3, Insulation::Paper}},
      {"СИП-2 3х70+1х95", {kAir, "Алюминий", "70", "95", "1", 3, Insulation::XLPE}},
      {"ШМА4-1250", {"Шинопровод ШМА, ШРА", "ШМА4, 1250A", "", "", "1", 3, Insulation::Unknown}},
      {"ПвВГ 5x16", {kPvc, "Медь", "16", "16", "1", 3, Insulation::XLPE}},
      {"АПвБбШп 3×150+2×95", {kPvc, "Алюминий", "150", "95", "1", 3, Insulation::XLPE}},
      {"ВВГ-FRLS 2х1,5", {kPvc, "Медь", "1.5", "1.5", "1", 1, Insulation::PVC}},
      {"СБл 3х50+1х25", {kPaper, "Медь", "50", "25", "1", 3, Insulation::Paper}},
      {"ЦААШв 4х185", {kPaper, "Алюминий", "185", "185", "1", 3, Insulation::Paper}},
      {"КГ-ХЛ 1х16+1х10", {kPvc, "Медь", "16", "10", "1", 1, Insulation::NotDetermined}},
      {"ППГнг(А)-HF 3х4", {kPvc, "Медь", "4", "4", "1", 1, Insulation::NotDetermined}},
      {"АПВ 2х4", {kPvc, "Алюминий", "4", "4", "1", 1, Insulation::PVC}},
      {"ПуВ 3х6", {kPvc, "Медь", "6", "6", "1", 1, Insulation::PVC}},
      {"АС 4х50", {kAir, "Алюминий", "50", "50", "1", 3, Insulation::NotDetermined}},
      {"М 4х16", {kAir, "Медь", "16", "16", "1", 3, Insulation::NotDetermined}},
      {"АВВГ 3(4х120)", {kPvc, "Алюминий", "120", "120", "3", 3, Insulation::PVC}},
  };
  for (const Row& row : rows) {
    const Result<CableMark> read = ReadCableMark(row.mark);
    ASSERT_TRUE(read.ok()) << row.mark << ": " << read.error();
    EXPECT_EQ(*read, row.gives) << row.mark;
  }
}

TEST(CableMark, WhyAMarkIsRefused) {
  struct Row {
    const char* mark;
    const char* reason;
  };
  const Row rows[] = {
      {"NYM 3х2,5", "марка «NYM» не распознана: задайте тип линии, материал и изоляцию явно"},
      {"АВВГ", "в марке «АВВГ» нет числа и сечения жил"},
      {"АВВГ 6х95", "сочетание жил «6х95» не распознано"},
      {"АВВГ 4х95+1х50", "сочетание жил «4х95+1х50» не распознано"},
      {"ВВГ 3х", "сочетание жил «3х» не распознано"},
      {"ВВГ 0(3х2,5)", "сочетание жил «0(3х2,5)» не распознано"},
      {"ШРА4-250", "шинопровода «ШРА4-250» нет в каталоге (есть только ШРА73, 250A; ШРА73, 400A; ШРА73, 630A)"},
      {"ШМА9-100",
       "шинопровода «ШМА9-100» нет в каталоге (есть только ШМА4, 1250A; ШМА4, 1600A; ШМА4, 2000A; ШМА4, 2500A; "
       "ШМА4, 3200A; ШМА4, 4000A; ШМА5, 250A; ШМА5, 400A; ШМА5, 630A; ШМА5, 1250A; ШМА5, 1600A; ШМА5, 2500A; "
       "ШМА5, 3200A; ШМА68П, 2500A; ШМА68П, 4000A)"},
      {"СИП-3 1х70", "СИП-3 — защищенный провод 6–35 кВ, не для сети 0,4 кВ"},
      {"ЦВВГ 4х95", "марка «ЦВВГ» не распознана: задайте тип линии, материал и изоляцию явно"},
      {"ВВГЖ 3х2,5", "марка «ВВГЖ» не распознана: задайте тип линии, материал и изоляцию явно"},
  };
  for (const Row& row : rows) {
    const Result<CableMark> read = ReadCableMark(row.mark);
    ASSERT_FALSE(read.ok()) << row.mark;
    EXPECT_EQ(read.error(), row.reason) << row.mark;
  }
}

}  // namespace
}  // namespace tesmir
