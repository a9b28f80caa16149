#include "journal/journal_import.h"

#include <algorithm>
#include <array>
#include <map>

#include "core/number_text.h"
#include "journal/cable_mark.h"

namespace tesmir {
namespace {

constexpr std::size_t kFieldCount = static_cast<std::size_t>(ImportField::Count);

constexpr std::array<std::string_view, kFieldCount> kTitles = {
    "—",
    "Обозначение",
    "Питающая линия",
    "Откуда",
    "Куда",
    "Марка",
    "Число и сечение жил",
    "Тип линии",
    "Материал",
    "Модель шинопровода",
    "Сечение фазы",
    "Сечение N (PE)",
    "Параллельно",
    "Длина",
    "Фазы",
    "Изоляция",
    "Iр",
    "cos φ",
    "Rпр (дуга)",
    "Конечная",
    "tн",
    "Аппарат",
    "Iном",
    "Кратность",
    "Ток срабатывания",
    "Коэффициент надежности",
    "Тип предохранителя",
    "Время (предохранитель)",
    "Icu",
    "I²t",
    "tоткл",
};

// How many header rows are looked through for the header.
constexpr std::size_t kHeaderSearchRows = 20;

std::string Trim(std::string_view text) {
  // Blanks, and the no-break space (U+00A0) spreadsheets like to leave.
  constexpr std::string_view kNoBreak = "\xC2\xA0";
  for (;;) {
    if (!text.empty() &&
        (text.front() == ' ' || text.front() == '\t' || text.front() == '\r' || text.front() == '\n')) {
      text.remove_prefix(1);
    } else if (!text.empty() &&
               (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n')) {
      text.remove_suffix(1);
    } else if (text.substr(0, kNoBreak.size()) == kNoBreak) {
      text.remove_prefix(kNoBreak.size());
    } else if (text.size() >= kNoBreak.size() && text.substr(text.size() - kNoBreak.size()) == kNoBreak) {
      text.remove_suffix(kNoBreak.size());
    } else {
      return std::string(text);
    }
  }
}

// Lower case for ASCII and Russian letters, ё read as е; every other byte is
// kept.
std::string Lower(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    if (b >= 'A' && b <= 'Z') {
      out += static_cast<char>(b - 'A' + 'a');
    } else if ((b == 0xD0 || b == 0xD1) && i + 1 < text.size()) {
      const auto c = static_cast<unsigned char>(text[i + 1]);
      ++i;
      if (b == 0xD0 && c >= 0x90 && c <= 0x9F) {  // А-П
        out += '\xD0';
        out += static_cast<char>(c + 0x20);
      } else if (b == 0xD0 && c >= 0xA0 && c <= 0xAF) {  // Р-Я
        out += '\xD1';
        out += static_cast<char>(c - 0x20);
      } else if ((b == 0xD0 && c == 0x81) || (b == 0xD1 && c == 0x91)) {  // Ё, ё
        out += "е";
      } else {
        out += static_cast<char>(b);
        out += static_cast<char>(c);
      }
    } else {
      out += static_cast<char>(b);
    }
  }
  return out;
}

// The header's words: lower case, punctuation as blanks, one blank between
// words and one at either end, so " word " finds a whole word.
std::string HeaderWords(std::string_view header) {
  std::string lower = Lower(header);
  for (char& ch : lower) {
    if (ch == ',' || ch == ';' || ch == '(' || ch == ')' || ch == '.' || ch == ':' || ch == '\t' || ch == '\n' ||
        ch == '\r' || ch == '/' || ch == '"' || ch == '\'') {
      ch = ' ';
    }
  }
  std::string out = " ";
  for (const char ch : lower) {
    if (ch == ' ' && out.back() == ' ') continue;
    out += ch;
  }
  if (out.back() != ' ') out += ' ';
  return out;
}

bool Has(const std::string& words, std::string_view part) { return words.find(part) != std::string::npos; }

// The numbers of a spreadsheet may carry a decimal comma; the journal keeps
// the "." of the main window. Any other text is kept as typed.
std::string NumberText(const std::string& text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos) return text;
  std::string point = text;
  point[comma] = '.';
  return ParseDecimal(point) ? point : text;
}

bool IsNumberCell(const std::string& text) {
  const std::string trimmed = Trim(text);
  return !trimmed.empty() && ParseDecimal(NumberText(trimmed)).has_value();
}

const std::string& CellAt(const TextGrid& grid, std::size_t row, std::size_t column) {
  static const std::string kEmpty;
  if (row >= grid.size() || column >= grid[row].size()) return kEmpty;
  return grid[row][column];
}

std::size_t Width(const TextGrid& grid, std::size_t from, std::size_t to) {
  std::size_t width = 0;
  for (std::size_t r = from; r < to && r < grid.size(); ++r) width = std::max(width, grid[r].size());
  return width;
}

bool RowIsBlank(const std::vector<std::string>& row) {
  return std::all_of(row.begin(), row.end(), [](const std::string& cell) { return Trim(cell).empty(); });
}

std::vector<ImportField> FieldsOf(const std::vector<std::string>& headers) {
  std::vector<ImportField> fields;
  std::array<bool, kFieldCount> taken{};
  for (const std::string& header : headers) {
    ImportField field = ProposeImportField(header);
    auto& used = taken[static_cast<std::size_t>(field)];
    if (field != ImportField::None && used) field = ImportField::None;
    if (field != ImportField::None) used = true;
    fields.push_back(field);
  }
  return fields;
}

std::size_t Named(const std::vector<ImportField>& fields) {
  return static_cast<std::size_t>(
      std::count_if(fields.begin(), fields.end(), [](ImportField f) { return f != ImportField::None; }));
}

// The header texts of the columns, two rows joined. An empty cell of the
// upper row under a heading that spans several columns (a merged cell
// written out as one text and blanks) takes the heading on its left.
std::vector<std::string> HeaderTexts(const TextGrid& grid, std::size_t row, std::size_t rows) {
  const std::size_t width = Width(grid, row, row + std::max<std::size_t>(rows, 1));
  std::vector<std::string> texts(width);
  std::string left;
  for (std::size_t c = 0; c < width; ++c) {
    std::string top = Trim(CellAt(grid, row, c));
    if (rows < 2) {
      texts[c] = top;
      continue;
    }
    const std::string bottom = Trim(CellAt(grid, row + 1, c));
    if (top.empty() && !bottom.empty()) top = left;
    if (!top.empty()) left = top;
    if (top == bottom) {
      texts[c] = top;
    } else if (top.empty() || bottom.empty()) {
      texts[c] = top.empty() ? bottom : top;
    } else {
      texts[c] = top + " " + bottom;
    }
  }
  return texts;
}

// Units written under the headings, a row of their own in some journals.
bool IsUnitCell(const std::string& text) {
  static constexpr std::string_view kUnits[] = {"м",  "а",   "ка",  "мм²", "мм2", "%", "с", "шт", "мом",
                                                "ом", "a²s", "а²с", "a2s", "ka",  "a", "m", "s"};
  const std::string lower = Lower(Trim(text));
  return std::find(std::begin(kUnits), std::end(kUnits), lower) != std::end(kUnits);
}

// The row below the first header row continues the header: it holds words
// (units or headings) and no numbers.
bool ContinuesHeader(const TextGrid& grid, std::size_t row) {
  if (row >= grid.size() || RowIsBlank(grid[row])) return false;
  bool heading = false;
  for (const std::string& cell : grid[row]) {
    if (IsNumberCell(cell)) return false;
    if (IsUnitCell(cell) || ProposeImportField(cell) != ImportField::None) heading = true;
  }
  return heading;
}

std::optional<bool> YesNo(const std::string& text) {
  const std::string lower = Lower(text);
  if (lower == "да" || lower == "yes" || lower == "true" || lower == "1" || lower == "+") return true;
  if (lower == "нет" || lower == "no" || lower == "false" || lower == "0" || lower == "-") return false;
  return std::nullopt;
}

std::string InsulationText(const std::string& text) {
  const std::string lower = Lower(text);
  if (lower == "pvc" || lower == "пвх" || Has(lower, "поливинилхлорид")) return "PVC";
  if (lower == "xlpe" || lower == "спэ" || lower == "пэ" || Has(lower, "сшит")) return "XLPE";
  if (lower == "paper" || Has(lower, "бумаж") || Has(lower, "бумага")) return "paper";
  return text;
}

bool IsFuseType(const std::string& text) { return text == "ППН" || text == "ПН2" || text == "НПН"; }

// The device dialog's multiple for a characteristic letter.
std::string MultipleText(const std::string& text) {
  if (text == "B" || text == "В") return "5 (\"B\")";
  if (text == "C" || text == "С") return "10 (\"C\")";
  if (text == "D") return "20 (\"D\")";
  return NumberText(text);
}

struct RowTexts {
  std::array<std::string, kFieldCount> field;
  std::array<bool, kFieldCount> mapped{};
  const std::string& operator[](ImportField f) const { return field[static_cast<std::size_t>(f)]; }
  bool has(ImportField f) const { return mapped[static_cast<std::size_t>(f)]; }
};

void ReadDevice(const RowTexts& t, JournalLine& line, std::vector<std::string>& remarks) {
  static constexpr ImportField kDeviceFields[] = {
      ImportField::DeviceType, ImportField::In,       ImportField::Multiple, ImportField::ReleaseCurrent,
      ImportField::Safety,     ImportField::FuseType, ImportField::Time,     ImportField::IcuKa,
      ImportField::I2t,        ImportField::TInst};
  if (std::all_of(std::begin(kDeviceFields), std::end(kDeviceFields), [&](ImportField f) { return t[f].empty(); })) {
    return;
  }
  JournalDevice device;
  device.in = NumberText(t[ImportField::In]);
  device.multiple = MultipleText(t[ImportField::Multiple]);
  device.releaseCurrent = NumberText(t[ImportField::ReleaseCurrent]);
  device.safety = NumberText(t[ImportField::Safety]);
  device.fuseType = t[ImportField::FuseType];
  device.time = t[ImportField::Time];
  device.icuKa = NumberText(t[ImportField::IcuKa]);
  device.i2t = NumberText(t[ImportField::I2t]);
  device.tInst = NumberText(t[ImportField::TInst]);
  const std::string& typed = t[ImportField::DeviceType];
  const std::string lower = Lower(typed);
  if (typed.empty()) {
    if (!device.fuseType.empty()) {
      device.type = "fuse";
    } else if (!device.multiple.empty() || !device.releaseCurrent.empty()) {
      device.type = "breaker";
    } else {
      remarks.push_back("вид аппарата не указан: укажите автомат или предохранитель");
    }
  } else if (lower == "breaker" || Has(lower, "автомат") || Has(lower, "выключат") || lower.substr(0, 4) == "ва" ||
             lower.substr(0, 2) == "qf") {
    device.type = "breaker";
  } else if (lower == "fuse" || Has(lower, "предохр") || lower.substr(0, 2) == "fu") {
    device.type = "fuse";
  } else if (IsFuseType(typed)) {
    device.type = "fuse";
    if (device.fuseType.empty()) device.fuseType = typed;
  } else {
    device.type = typed;
    remarks.push_back("вид аппарата «" + typed + "» не понят: укажите автомат или предохранитель");
  }
  line.device = std::move(device);
}

JournalLine ReadLine(const RowTexts& t, std::vector<std::string>& remarks) {
  JournalLine line;
  line.id = t[ImportField::Id];
  line.from = t[ImportField::From];
  line.to = t[ImportField::To];
  if (t.has(ImportField::Parent) && !t[ImportField::Parent].empty()) line.parent = t[ImportField::Parent];
  line.kind = t[ImportField::Kind];
  line.material = t[ImportField::Material];
  line.model = t[ImportField::Model];
  line.ff = NumberText(t[ImportField::Ff]);
  line.fn = NumberText(t[ImportField::Fn]);
  line.par = NumberText(t[ImportField::Par]);
  line.length = NumberText(t[ImportField::Length]);
  line.insulation = InsulationText(t[ImportField::Insulation]);
  line.ip = NumberText(t[ImportField::Ip]);
  line.cosPhi = NumberText(t[ImportField::CosPhi]);
  line.arc = NumberText(t[ImportField::Arc]);
  line.tNorm = NumberText(t[ImportField::TNorm]);

  if (const std::string& phases = t[ImportField::Phases]; !phases.empty()) {
    const auto value = ParseDecimal(NumberText(phases));
    if (value && (*value == 1 || *value == 3)) {
      line.phases = static_cast<int>(*value);
    } else {
      remarks.push_back("число фаз «" + phases + "» не понято: задайте 1 или 3");
    }
  }
  if (const std::string& final = t[ImportField::Final]; !final.empty()) {
    line.final = YesNo(final);
    if (!line.final) remarks.push_back("«" + final + "» в столбце «Конечная» не понято: задайте «да» или «нет»");
  }

  const std::string& mark = t[ImportField::Mark];
  const std::string& cores = t[ImportField::Cores];
  if (!mark.empty()) {
    line.mark = cores.empty() ? mark : mark + " " + cores;
    if (const Result<CableMark> read = ReadCableMark(line.mark); !read) remarks.push_back(read.error());
  } else if (!cores.empty()) {
    // Cores without a mark: the sections, parallel count and phases they
    // give, read as a copper PVC cable of those cores would be.
    const Result<CableMark> read = ReadCableMark("ВВГ " + cores);
    if (!read) {
      remarks.push_back("сочетание жил «" + cores + "» не распознано");
    } else {
      if (line.ff.empty()) line.ff = read->ff;
      if (line.fn.empty()) line.fn = read->fn;
      if (line.par.empty() && read->par != "1") line.par = read->par;
      if (line.phases == 0) line.phases = read->phases;
    }
  }
  ReadDevice(t, line, remarks);
  return line;
}

// The feeding line of every line read without a parent column: the one
// line that goes to the board the line starts in.
void FindParents(JournalImport& result) {
  std::map<std::string, std::vector<std::size_t>> intoBoard;
  for (std::size_t i = 0; i < result.lines.size(); ++i) {
    if (!result.lines[i].to.empty()) intoBoard[result.lines[i].to].push_back(i);
  }
  for (ImportedRow& row : result.rows) {
    if (!row.line) continue;
    JournalLine& line = result.lines[*row.line];
    if (line.from.empty()) {
      row.remarks.push_back("не указано, откуда идет линия: она питается от шин трансформатора");
      continue;
    }
    std::vector<std::size_t> feeders;
    if (const auto it = intoBoard.find(line.from); it != intoBoard.end()) {
      for (const std::size_t i : it->second) {
        if (i != *row.line) feeders.push_back(i);
      }
    }
    if (feeders.size() == 1) {
      line.parent = result.lines[feeders.front()].id;
    } else if (feeders.empty()) {
      row.remarks.push_back("ни одна линия не идет в «" + line.from + "»: линия питается от шин трансформатора");
    } else {
      std::string ids;
      for (const std::size_t i : feeders) ids += (ids.empty() ? "" : ", ") + result.lines[i].id;
      row.remarks.push_back("в «" + line.from + "» идут несколько линий (" + ids +
                            "): питающая линия не выбрана, задайте ее явно");
    }
  }
}

}  // namespace

std::string_view ImportFieldTitle(ImportField field) {
  const auto i = static_cast<std::size_t>(field);
  return i < kFieldCount ? kTitles[i] : kTitles[0];
}

ImportField ProposeImportField(std::string_view header) {
  const std::string trimmed = Trim(header);
  if (trimmed.empty()) return ImportField::None;
  for (std::size_t i = 1; i < kFieldCount; ++i) {
    if (trimmed == kTitles[i]) return static_cast<ImportField>(i);
  }
  const std::string w = HeaderWords(trimmed);
  using F = ImportField;
  if (Has(w, "питающ")) return F::Parent;
  if (Has(w, "сечени") && Has(w, "фаз")) return F::Ff;
  if (Has(w, "сечени") && (Has(w, "нул") || Has(w, " n ") || Has(w, " pe ") || Has(w, " pen "))) return F::Fn;
  if (Has(w, "жил") || Has(w, "сечени")) return F::Cores;
  if (Has(w, "марк")) return F::Mark;
  if ((Has(w, "тип") || Has(w, "вид")) && Has(w, "лини")) return F::Kind;
  if (Has(w, "предохр") && (Has(w, "тип") || Has(w, "вставк"))) return F::FuseType;
  if (Has(w, "модел") || Has(w, "шинопровод")) return F::Model;
  if (Has(w, "материал")) return F::Material;
  if (Has(w, "паралл")) return F::Par;
  if (Has(w, "изоляц")) return F::Insulation;
  if (Has(w, "откуда") || Has(w, "начало")) return F::From;
  if (Has(w, "куда") || Has(w, "конец")) return F::To;
  if (Has(w, "длин") || Has(w, " l ")) return F::Length;
  if (Has(w, "фаз")) return F::Phases;
  if (Has(w, "конечн")) return F::Final;
  if (Has(w, " tн ") || Has(w, "нормативн")) return F::TNorm;
  if (Has(w, " iр ") || Has(w, " ip ") || Has(w, "расчетный ток") || Has(w, "ток нагрузки")) return F::Ip;
  if (Has(w, "cos")) return F::CosPhi;
  if (Has(w, "iном") || Has(w, " in ") || Has(w, " iн ") || Has(w, "номинальн")) return F::In;
  if (Has(w, "icu") || Has(w, "отключающ")) return F::IcuKa;
  if (Has(w, "i²t") || Has(w, "i2t")) return F::I2t;
  if (Has(w, "tоткл") || Has(w, "время отключения")) return F::TInst;
  if (Has(w, "ток срабатывания") || Has(w, "уставк") || Has(w, " iср ")) return F::ReleaseCurrent;
  if (Has(w, "кратност")) return F::Multiple;
  if (Has(w, "надежност") || Has(w, "запас")) return F::Safety;
  if (Has(w, "время") || Has(w, " tср ")) return F::Time;
  if (Has(w, "rпр") || Has(w, "дуг") || Has(w, "переходн")) return F::Arc;
  if (Has(w, "аппарат") || Has(w, "защит") || Has(w, "автомат") || Has(w, "выключател")) return F::DeviceType;
  if (Has(w, "обозначен") || Has(w, " линия ") || Has(w, "№") || Has(w, "номер")) return F::Id;
  return F::None;
}

ImportMapping ProposeImportMapping(const TextGrid& grid) {
  ImportMapping mapping;
  for (std::size_t r = 0; r < grid.size() && r < kHeaderSearchRows; ++r) {
    std::vector<ImportField> one = FieldsOf(HeaderTexts(grid, r, 1));
    if (Named(one) < 2) continue;
    mapping.headerRow = r;
    mapping.headerRows = 1;
    mapping.columns = std::move(one);
    if (ContinuesHeader(grid, r + 1)) {
      std::vector<ImportField> two = FieldsOf(HeaderTexts(grid, r, 2));
      if (Named(two) >= Named(mapping.columns)) {
        mapping.headerRows = 2;
        mapping.columns = std::move(two);
      }
    }
    mapping.columns.resize(std::max(mapping.columns.size(), Width(grid, 0, grid.size())), ImportField::None);
    return mapping;
  }
  mapping.headerRows = 0;
  mapping.columns.assign(Width(grid, 0, grid.size()), ImportField::None);
  return mapping;
}

bool BlockStartsWithHeader(const TextGrid& grid) {
  if (grid.empty() || std::any_of(grid.front().begin(), grid.front().end(), IsNumberCell)) return false;
  const ImportMapping mapping = ProposeImportMapping(grid);
  return mapping.headerRows > 0 && mapping.headerRow == 0;
}

std::string ImportHeaderText(const TextGrid& grid, const ImportMapping& mapping, std::size_t column) {
  if (mapping.headerRows == 0) return {};
  const std::vector<std::string> texts = HeaderTexts(grid, mapping.headerRow, mapping.headerRows);
  return column < texts.size() ? texts[column] : std::string();
}

JournalImport ImportJournalRows(const TextGrid& grid, const ImportMapping& mapping) {
  JournalImport result;
  for (std::size_t r = mapping.firstDataRow(); r < grid.size(); ++r) {
    ImportedRow row;
    row.row = r;
    if (RowIsBlank(grid[r])) {
      row.skipped = import_texts::kEmptyRow;
      result.rows.push_back(std::move(row));
      continue;
    }
    RowTexts texts;
    for (std::size_t c = 0; c < mapping.columns.size(); ++c) {
      const auto f = static_cast<std::size_t>(mapping.columns[c]);
      if (mapping.columns[c] == ImportField::None || f >= kFieldCount) continue;
      texts.mapped[f] = true;
      if (texts.field[f].empty()) texts.field[f] = Trim(CellAt(grid, r, c));
    }
    if (texts[ImportField::Id].empty()) {
      row.skipped = import_texts::kNoId;
      result.rows.push_back(std::move(row));
      continue;
    }
    JournalLine line = ReadLine(texts, row.remarks);
    row.line = result.lines.size();
    result.lines.push_back(std::move(line));
    result.rows.push_back(std::move(row));
  }
  const bool parentColumn =
      std::find(mapping.columns.begin(), mapping.columns.end(), ImportField::Parent) != mapping.columns.end();
  if (!parentColumn) FindParents(result);
  return result;
}

std::string ColumnLetters(std::size_t column) {
  std::string letters;
  std::size_t n = column + 1;
  while (n > 0) {
    const std::size_t d = (n - 1) % 26;
    letters.insert(letters.begin(), static_cast<char>('A' + d));
    n = (n - 1) / 26;
  }
  return letters;
}

std::vector<std::string> JournalImportReport(const TextGrid& grid, const ImportMapping& mapping,
                                             const JournalImport& result) {
  std::vector<std::string> out;
  const std::size_t notRead =
      static_cast<std::size_t>(std::count_if(result.rows.begin(), result.rows.end(), [](const ImportedRow& r) {
        return !r.line && !r.skipped.empty() && r.skipped != import_texts::kEmptyRow;
      }));
  out.push_back("Прочитано линий: " + std::to_string(result.lines.size()) +
                "; строк не прочитано: " + std::to_string(notRead) + ".");
  if (mapping.headerRows == 0) out.push_back("Заголовок таблицы не найден: поля столбцов не выбраны.");
  for (std::size_t c = 0; c < mapping.columns.size(); ++c) {
    if (mapping.columns[c] != ImportField::None) continue;
    const std::string header = ImportHeaderText(grid, mapping, c);
    bool anyData = !header.empty();
    for (std::size_t r = mapping.firstDataRow(); !anyData && r < grid.size(); ++r) {
      anyData = !Trim(CellAt(grid, r, c)).empty();
    }
    if (!anyData) continue;
    out.push_back("Столбец " + ColumnLetters(c) + (header.empty() ? "" : " «" + header + "»") +
                  " не прочитан: поле журнала для него не выбрано.");
  }
  for (const ImportedRow& row : result.rows) {
    std::string text = "Строка " + std::to_string(row.row + 1);
    if (!row.line) {
      text += row.skipped == import_texts::kEmptyRow ? ": пустая, пропущена." : ": не прочитана: " + row.skipped + ".";
      out.push_back(std::move(text));
      continue;
    }
    text += ", линия " + result.lines[*row.line].id + ": прочитана";
    for (const std::string& remark : row.remarks) text += "; " + remark;
    out.push_back(text + ".");
  }
  return out;
}

std::string ImportRowPreview(const JournalImport& result, std::size_t rowIndex) {
  if (rowIndex >= result.rows.size()) return {};
  const ImportedRow& row = result.rows[rowIndex];
  if (!row.line) return "не прочитана: " + row.skipped;
  const JournalLine& line = result.lines[*row.line];
  std::string text = "линия " + line.id;
  text += line.parent ? ", питается от " + *line.parent : ", от шин трансформатора";
  if (!line.mark.empty()) text += ", " + line.mark;
  if (!line.length.empty()) text += ", " + line.length + " м";
  if (line.device) {
    text += line.device->type == "fuse"      ? ", предохранитель"
            : line.device->type == "breaker" ? ", автомат"
                                             : ", аппарат";
    if (!line.device->in.empty()) text += " " + line.device->in + " А";
  }
  for (const std::string& remark : row.remarks) text += "; " + remark;
  return text;
}

}  // namespace tesmir
