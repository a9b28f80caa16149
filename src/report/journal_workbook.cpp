#include "report/journal_workbook.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "device/device_check.h"
#include "device/protection_check.h"
#include "journal/journal_import.h"
#include "report/journal_results.h"
#include "report/xlsx_detail.h"
#include "report/xlsx_export.h"

namespace tesmir {
namespace {

// The program's dark red (139, 0, 0).
constexpr lxw_color_t kDarkRed = 0x8B0000;
constexpr double kMaxColumnWidth = 60;

// The results columns that hold numbers, with their figure, scale and format.
struct NumberColumn {
  int column;
  Fig fig;
  double scale;
  const char* format;
};
constexpr NumberColumn kNumberColumns[] = {
    {3, Fig::Ik1, 1, "0"},         {4, Fig::Ik1Min, 1, "0"},         {5, Fig::TripCurrent, 1, "0"},
    {6, Fig::TNorm, 1, "General"}, {9, Fig::Ik3Start, 1e-3, "0.00"}, {10, Fig::Ik3End, 1e-3, "0.00"},
    {14, Fig::DuLine, 1, "0.00"},  {15, Fig::DuTp, 1, "0.00"},       {16, Fig::DuVru, 1, "0.00"},
    {17, Fig::Du125Tp, 1, "0.00"}, {18, Fig::Du125Vru, 1, "0.00"},
};
constexpr int kVerdictColumn = 7;
constexpr int kVerdictMinColumn = 8;
constexpr int kBreakingColumn = 11;
constexpr int kDuTpColumn = 15;
constexpr int kDuVruColumn = 16;
constexpr int kThermalColumn = 19;
constexpr int kNotesColumn = 20;

}  // namespace

bool JournalCellFails(const LineResult& r, int column) {
  if (!r.error().empty()) return column == kNotesColumn;
  switch (column) {
    case kVerdictColumn:
      return r.verdict == kStatusDoesNotTrip;
    case kVerdictMinColumn:
      return r.verdictMin == kStatusDoesNotTrip;
    case kBreakingColumn:
      return r.breaking == check_texts::kBreakingShort;
    case kDuTpColumn:
      return r.duOkTp == false;
    case kDuVruColumn:
      return r.duOkVru == false;
    case kThermalColumn:
      return r.thermalVerdict == journal_texts::kFails;
    case kNotesColumn:
      return !r.deviceError().empty();
    default:
      return false;
  }
}

namespace {

std::size_t Characters(const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; }));
}

// The inputs of a line as typed, in the order of the import's fields.
std::vector<std::string> InputTexts(const JournalLine& line) {
  std::vector<std::string> cells(static_cast<std::size_t>(ImportField::Count));
  const auto put = [&](ImportField f, std::string text) { cells[static_cast<std::size_t>(f)] = std::move(text); };
  put(ImportField::Id, line.id);
  put(ImportField::Parent, line.parent.value_or(""));
  put(ImportField::From, line.from);
  put(ImportField::To, line.to);
  put(ImportField::Mark, line.mark);
  put(ImportField::Kind, line.kind);
  put(ImportField::Material, line.material);
  put(ImportField::Model, line.model);
  put(ImportField::Ff, line.ff);
  put(ImportField::Fn, line.fn);
  put(ImportField::Par, line.par);
  put(ImportField::Length, line.length);
  put(ImportField::Phases, line.phases == 0 ? "" : std::to_string(line.phases));
  put(ImportField::Insulation, line.insulation);
  put(ImportField::Ip, line.ip);
  put(ImportField::CosPhi, line.cosPhi);
  put(ImportField::Arc, line.arc);
  put(ImportField::Final, line.final ? (*line.final ? "да" : "нет") : "");
  put(ImportField::TNorm, line.tNorm);
  if (line.device) {
    const JournalDevice& d = *line.device;
    put(ImportField::DeviceType, d.type);
    put(ImportField::In, d.in);
    put(ImportField::Multiple, d.multiple);
    put(ImportField::ReleaseCurrent, d.releaseCurrent);
    put(ImportField::Safety, d.safety);
    put(ImportField::FuseType, d.fuseType);
    put(ImportField::Time, d.time);
    put(ImportField::IcuKa, d.icuKa);
    put(ImportField::I2t, d.i2t);
    put(ImportField::TInst, d.tInst);
  }
  return cells;
}

class Writer {
 public:
  explicit Writer(lxw_workbook* book) : book_(book) {}
  lxw_error error = LXW_NO_ERROR;

  void check(lxw_error e) {
    if (error == LXW_NO_ERROR) error = e;
  }
  void text(lxw_worksheet* sheet, std::size_t r, std::size_t c, const std::string& t, lxw_format* f) {
    if (t.empty() || error != LXW_NO_ERROR) return;
    check(worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                 xlsx_detail::CellText(t, scratch_).c_str(), f));
  }
  void number(lxw_worksheet* sheet, std::size_t r, std::size_t c, double v, lxw_format* f) {
    if (error != LXW_NO_ERROR) return;
    check(worksheet_write_number(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c), v, f));
  }
  lxw_format* format(const char* number, bool bold, bool red) {
    lxw_format* f = workbook_add_format(book_);
    if (number != nullptr) format_set_num_format(f, number);
    if (bold) format_set_bold(f);
    if (red) format_set_font_color(f, kDarkRed);
    format_set_border(f, LXW_BORDER_THIN);
    return f;
  }

 private:
  lxw_workbook* book_;
  std::string scratch_;
};

void FitColumns(Writer& w, lxw_worksheet* sheet, const std::vector<std::size_t>& widths) {
  for (std::size_t c = 0; c < widths.size(); ++c) {
    const double width = std::min(kMaxColumnWidth, static_cast<double>(widths[c]) + 2);
    const auto col = static_cast<lxw_col_t>(c);
    w.check(worksheet_set_column(sheet, col, col, width, nullptr));
  }
}

}  // namespace

QString WriteJournalWorkbook(const QString& path, const JournalNetwork& network, const JournalResult& result) {
  xlsx_detail::CNumericScope numericScope;
  const QByteArray fileName = QFile::encodeName(path);
  lxw_workbook* book = workbook_new(fileName.constData());
  if (book == nullptr) return WorkbookErrorText(LXW_ERROR_MEMORY_MALLOC_FAILED, 0);
  Writer w(book);
  lxw_worksheet* results = workbook_add_worksheet(book, kJournalResultsSheetName);
  lxw_worksheet* inputs = workbook_add_worksheet(book, kJournalInputsSheetName);
  if (results == nullptr || inputs == nullptr) w.error = LXW_ERROR_MEMORY_MALLOC_FAILED;

  lxw_format* heading = w.format(nullptr, true, false);
  lxw_format* plain = w.format(nullptr, false, false);
  lxw_format* failing = w.format(nullptr, false, true);
  std::vector<lxw_format*> numbers;
  std::vector<lxw_format*> failingNumbers;
  for (const NumberColumn& n : kNumberColumns) {
    numbers.push_back(w.format(n.format, false, false));
    failingNumbers.push_back(w.format(n.format, false, true));
  }

  // The results.
  const QStringList titles = JournalColumnTitles();
  std::vector<std::size_t> widths(static_cast<std::size_t>(titles.size()), 0);
  for (qsizetype c = 0; c < titles.size(); ++c) {
    const std::string t = titles[c].toStdString();
    widths[static_cast<std::size_t>(c)] = Characters(t);
    w.text(results, 0, static_cast<std::size_t>(c), t, heading);
  }
  const std::size_t count = std::min(network.lines.size(), result.lines.size());
  for (std::size_t i = 0; i < count; ++i) {
    const LineResult& r = result.lines[i];
    const QStringList row = JournalRowTexts(network.lines[i], r);
    for (qsizetype c = 0; c < row.size(); ++c) {
      const int column = static_cast<int>(c);
      const bool red = JournalCellFails(r, column);
      const auto number = std::find_if(std::begin(kNumberColumns), std::end(kNumberColumns),
                                       [&](const NumberColumn& n) { return n.column == column; });
      const std::string t = row[c].toStdString();
      widths[static_cast<std::size_t>(c)] = std::max(widths[static_cast<std::size_t>(c)], Characters(t));
      const std::optional<double> value =
          number != std::end(kNumberColumns) && r.error().empty() ? r.get(number->fig) : std::nullopt;
      if (value) {
        const auto k = static_cast<std::size_t>(number - std::begin(kNumberColumns));
        w.number(results, i + 1, static_cast<std::size_t>(c), *value * number->scale,
                 red ? failingNumbers[k] : numbers[k]);
      } else {
        w.text(results, i + 1, static_cast<std::size_t>(c), t, red ? failing : plain);
      }
    }
  }
  if (w.error == LXW_NO_ERROR) worksheet_freeze_panes(results, 1, 1);
  FitColumns(w, results, widths);

  // The inputs, as typed.
  const auto fields = static_cast<std::size_t>(ImportField::Count);
  std::vector<std::size_t> inputWidths(fields - 1, 0);
  for (std::size_t f = 1; f < fields; ++f) {
    const std::string t(ImportFieldTitle(static_cast<ImportField>(f)));
    inputWidths[f - 1] = Characters(t);
    w.text(inputs, 0, f - 1, t, heading);
  }
  for (std::size_t i = 0; i < network.lines.size(); ++i) {
    const std::vector<std::string> cells = InputTexts(network.lines[i]);
    for (std::size_t f = 1; f < fields; ++f) {
      inputWidths[f - 1] = std::max(inputWidths[f - 1], Characters(cells[f]));
      w.text(inputs, i + 1, f - 1, cells[f], plain);
    }
  }
  if (w.error == LXW_NO_ERROR) worksheet_freeze_panes(inputs, 1, 1);
  FitColumns(w, inputs, inputWidths);

  return CloseWorkbook(book, w.error, path);
}

NewExportFile WriteJournalExportFile(const QString& folder, const JournalNetwork& network,
                                     const JournalResult& result) {
  return WriteExportFile(folder, [&](const QString& path) { return WriteJournalWorkbook(path, network, result); });
}

}  // namespace tesmir
