#include "journal/cable_mark.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

#include "core/line_catalogue.h"
#include "core/tire_catalogue.h"

namespace tesmir {
namespace {

constexpr std::string_view kPaperKind = kCableKinds[0];     // "Кабель с бумажной изоляцией"
constexpr std::string_view kPlasticKind = kCableKinds[1];   // "Кабель с ПВХ изоляцией"
constexpr std::string_view kOverheadKind = kCableKinds[2];  // "Воздушная"
constexpr std::string_view kAluminium = kMaterials[0];
constexpr std::string_view kCopper = kMaterials[1];
constexpr std::string_view kBusbarFamily = "Шинопровод ШМА, ШРА";

// Whole marks that name a product outright.
struct WholeCode {
  std::string_view code;
  std::string_view kind;
  std::string_view material;
  Insulation insulation;
};
constexpr WholeCode kWholeCodes[] = {
    {"СИП-1", kOverheadKind, kAluminium, Insulation::NotDetermined},
    {"СИП-2", kOverheadKind, kAluminium, Insulation::XLPE},
    {"СИП-4", kOverheadKind, kAluminium, Insulation::NotDetermined},
    {"СИП-5", kOverheadKind, kAluminium, Insulation::XLPE},
    {"А", kOverheadKind, kAluminium, Insulation::NotDetermined},
    {"АС", kOverheadKind, kAluminium, Insulation::NotDetermined},
    {"М", kOverheadKind, kCopper, Insulation::NotDetermined},
};

// Suffixes that say nothing about the impedance: flame retardance, smoke,
// halogens, climate, rated voltage. Taken off the end, any number of them.
constexpr std::string_view kNeutralSuffixes[] = {"-FRLS", "-LS", "-HF",   "-ХЛ",   "-0,66",
                                                 "-0.66", "-1",  "нг(А)", "нг(A)", "нг"};

// The letters after the material letter: the insulation letter(s) and the
// sheath, armour and cover letters that may follow them.
enum class Cover { None, Any };
struct LetterRule {
  std::string_view letters;  // exact letters (Cover::None) or the leading ones (Cover::Any)
  Cover cover;
  std::string_view kind;
  Insulation insulation;
  bool paper;  // the paper-insulated family, which alone may start with Ц
};
// First match wins; the exact names come before the letter families they resemble.
constexpr LetterRule kLetterRules[] = {
    {"КГ", Cover::None, kPlasticKind, Insulation::NotDetermined, false},   // rubber
    {"РПШ", Cover::None, kPlasticKind, Insulation::NotDetermined, false},  // rubber
    {"ВРГ", Cover::None, kPlasticKind, Insulation::NotDetermined, false},  // rubber
    {"ПВ1", Cover::None, kPlasticKind, Insulation::PVC, false},            // wires
    {"ПВ3", Cover::None, kPlasticKind, Insulation::PVC, false},
    {"ПуВ", Cover::None, kPlasticKind, Insulation::PVC, false},
    {"ПВ", Cover::None, kPlasticKind, Insulation::PVC, false},  // АПВ
    {"Пв", Cover::Any, kPlasticKind, Insulation::XLPE, false},
    {"П", Cover::Any, kPlasticKind, Insulation::NotDetermined, false},  // polymer
    {"В", Cover::Any, kPlasticKind, Insulation::PVC, false},
    {"А", Cover::Any, kPaperKind, Insulation::Paper, true},  // aluminium sheath
    {"С", Cover::Any, kPaperKind, Insulation::Paper, true},  // lead sheath
};

// Sheath, armour and cover letters (Б armour, Бб tape armour, Шв/Шп hose,
// Г bare, л/н cushions, К wire armour, В/П sheaths, у, з, э).
constexpr std::string_view kCoverLetters[] = {"В", "Г", "Б", "б", "Ш", "в", "п", "л",
                                              "н", "К", "к", "П", "у", "з", "э", "Э"};

bool StartsWith(std::string_view text, std::string_view head) { return text.substr(0, head.size()) == head; }
bool EndsWith(std::string_view text, std::string_view tail) {
  return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

bool AllCoverLetters(std::string_view rest) {
  while (!rest.empty()) {
    const auto* hit = std::find_if(std::begin(kCoverLetters), std::end(kCoverLetters),
                                   [rest](std::string_view letter) { return StartsWith(rest, letter); });
    if (hit == std::end(kCoverLetters)) return false;
    rest.remove_prefix(hit->size());
  }
  return true;
}

std::string Quote(std::string_view text) { return "«" + std::string(text) + "»"; }

Failure<std::string> NotRecognised(std::string_view mark) {
  return Fail("марка " + Quote(mark) + " не распознана: задайте тип линии, материал и изоляцию явно");
}

// Replaces every occurrence of `from` by `to`.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

// The core part with one spelling: "х" for every multiplication sign, "." for
// the decimal comma, no blanks.
std::string NormaliseCores(std::string_view text) {
  std::string cores;
  for (char c : text) {
    if (c != ' ') cores += c;
  }
  ReplaceAll(cores, "×", "х");
  ReplaceAll(cores, "x", "х");
  ReplaceAll(cores, "X", "х");
  ReplaceAll(cores, "Х", "х");
  ReplaceAll(cores, ",", ".");
  return cores;
}

// A small reader over the core part.
struct CoreReader {
  std::string_view rest;

  bool take(std::string_view token) {
    if (!StartsWith(rest, token)) return false;
    rest.remove_prefix(token.size());
    return true;
  }

  // Digits with at most one "." between digits.
  std::optional<std::string> number() {
    std::size_t n = 0;
    bool point = false;
    while (n < rest.size() && ((rest[n] >= '0' && rest[n] <= '9') || (rest[n] == '.' && !point && n > 0))) {
      point = point || rest[n] == '.';
      ++n;
    }
    if (n == 0 || rest[n - 1] == '.') return std::nullopt;
    std::string value(rest.substr(0, n));
    rest.remove_prefix(n);
    return value;
  }
};

// One group "AхS" or "AхS+BхS0".
struct CoreGroup {
  std::string count;
  std::string section;
  std::string secondCount;  // empty when there is no second group
  std::string secondSection;
};

// Which core counts mean what.
struct CoreRule {
  std::string_view count;
  std::string_view secondCount;  // empty: no second group
  int phases;
};
constexpr CoreRule kCoreRules[] = {
    {"4", "", 3}, {"5", "", 3}, {"2", "", 1}, {"3", "", 1}, {"3", "1", 3}, {"3", "2", 3}, {"1", "1", 1},
};

std::optional<CoreGroup> ReadGroup(CoreReader& r) {
  CoreGroup g;
  const auto count = r.number();
  if (!count || !r.take("х")) return std::nullopt;
  const auto section = r.number();
  if (!section) return std::nullopt;
  g.count = *count;
  g.section = *section;
  if (r.take("+")) {
    const auto second = r.number();
    if (!second || !r.take("х")) return std::nullopt;
    const auto secondSection = r.number();
    if (!secondSection) return std::nullopt;
    g.secondCount = *second;
    g.secondSection = *secondSection;
  }
  return g;
}

Result<CableMark> ReadCores(std::string_view text, CableMark mark) {
  const std::string cores = NormaliseCores(text);
  const auto refused = [&text]() { return Fail("сочетание жил " + Quote(text) + " не распознано"); };
  CoreReader r{cores};
  std::string parallel = "1";
  std::optional<CoreGroup> group;
  // "N(…)" or "Nх(…)": N conductors of the bracketed kind in parallel.
  if (const std::size_t open = cores.find('('); open != std::string::npos) {
    const auto count = r.number();
    if (!count || count->find('.') != std::string::npos) return refused();
    r.take("х");
    if (!r.take("(")) return refused();
    group = ReadGroup(r);
    if (!r.take(")")) return refused();
    parallel = *count;
  } else {
    group = ReadGroup(r);
  }
  if (!group || !r.rest.empty()) return refused();
  const auto rule = std::find_if(std::begin(kCoreRules), std::end(kCoreRules), [&group](const CoreRule& c) {
    return c.count == group->count && c.secondCount == group->secondCount;
  });
  if (rule == std::end(kCoreRules) || parallel == "0") return refused();
  mark.phases = rule->phases;
  mark.ff = group->section;
  mark.fn = group->secondCount.empty() ? group->section : group->secondSection;
  mark.par = parallel;
  return mark;
}

// "ШМА4-1250" → model "ШМА4, 1250A" of the ШМА/ШРА family; nullopt when the
// code is not shaped like a busbar's.
std::optional<Result<CableMark>> ReadBusbar(std::string_view code) {
  if (!StartsWith(code, "Ш")) return std::nullopt;
  const std::size_t dash = code.find('-');
  if (dash == std::string_view::npos || dash + 1 >= code.size()) return std::nullopt;
  const std::string_view rating = code.substr(dash + 1);
  if (!std::all_of(rating.begin(), rating.end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
  const std::string model = std::string(code.substr(0, dash)) + ", " + std::string(rating) + "A";
  const auto models = TireLineModels(kBusbarFamily);
  if (std::find(models.begin(), models.end(), model) == models.end()) {
    // The models of the same series ("ШРА…"), else of the whole family.
    const std::string_view series = code.substr(0, code.find_first_of("0123456789"));
    const bool seriesKnown =
        std::any_of(models.begin(), models.end(), [series](std::string_view m) { return StartsWith(m, series); });
    std::string known;
    for (std::string_view m : models) {
      if (seriesKnown && !StartsWith(m, series)) continue;
      if (!known.empty()) known += "; ";
      known += m;
    }
    return Result<CableMark>(Fail("шинопровода " + Quote(code) + " нет в каталоге (есть только " + known + ")"));
  }
  CableMark mark;
  mark.kind = std::string(kBusbarFamily);
  mark.stuff = model;
  mark.par = "1";
  return Result<CableMark>(mark);
}

}  // namespace

Result<CableMark> ReadCableMark(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const std::size_t blank = text.find(' ');
  const std::string_view code = text.substr(0, blank);
  const std::string_view cores = blank == std::string_view::npos ? std::string_view{} : text.substr(blank + 1);

  if (code == "СИП-3") return Fail("СИП-3 — защищенный провод 6–35 кВ, не для сети 0,4 кВ");
  if (blank == std::string_view::npos) {
    if (auto busbar = ReadBusbar(code)) return *busbar;
  }

  CableMark mark;
  bool known = false;
  for (const WholeCode& whole : kWholeCodes) {
    if (whole.code == code) {
      mark.kind = std::string(whole.kind);
      mark.stuff = std::string(whole.material);
      mark.insulation = whole.insulation;
      known = true;
      break;
    }
  }
  if (!known) {
    std::string_view letters = code;
    for (bool stripped = true; stripped;) {
      stripped = false;
      for (std::string_view suffix : kNeutralSuffixes) {
        if (letters.size() > suffix.size() && EndsWith(letters, suffix)) {
          letters.remove_suffix(suffix.size());
          stripped = true;
        }
      }
    }
    const bool impregnated = StartsWith(letters, "Ц");
    if (impregnated) letters.remove_prefix(std::string_view("Ц").size());
    const bool aluminium = StartsWith(letters, "А");
    if (aluminium) letters.remove_prefix(std::string_view("А").size());
    for (const LetterRule& rule : kLetterRules) {
      const bool match = rule.cover == Cover::None ? letters == rule.letters
                                                   : StartsWith(letters, rule.letters) &&
                                                         AllCoverLetters(letters.substr(rule.letters.size()));
      if (!match) continue;
      if (impregnated && !rule.paper) break;
      mark.kind = std::string(rule.kind);
      mark.stuff = std::string(aluminium ? kAluminium : kCopper);
      mark.insulation = rule.insulation;
      known = true;
      break;
    }
  }
  if (!known) return NotRecognised(code);
  if (cores.empty()) return Fail("в марке " + Quote(text) + " нет числа и сечения жил");
  return ReadCores(cores, std::move(mark));
}

}  // namespace tesmir
