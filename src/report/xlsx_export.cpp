#include "report/xlsx_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <locale.h>

#include <QFile>

namespace tesmir {

namespace {

// libxlsxwriter prints its numbers (column widths among them) with printf,
// which follows LC_NUMERIC: under a locale with a decimal comma the workbook
// would get widths such as "8,7109375" that spreadsheet programs reject.
// This switches the calling thread to the "C" number format for its lifetime
// and leaves the process-wide locale alone.
class CNumericScope {
 public:
  CNumericScope() {
    locale_t current = duplocale(LC_GLOBAL_LOCALE);
    if (current == locale_t{}) return;
    c_numeric_ = newlocale(LC_NUMERIC_MASK, "C", current);
    if (c_numeric_ == locale_t{}) {
      freelocale(current);
      return;
    }
    previous_ = uselocale(c_numeric_);
  }
  ~CNumericScope() {
    if (c_numeric_ == locale_t{}) return;
    uselocale(previous_);
    freelocale(c_numeric_);
  }
  CNumericScope(const CNumericScope&) = delete;
  CNumericScope& operator=(const CNumericScope&) = delete;

 private:
  locale_t c_numeric_{};
  locale_t previous_{};
};

QString LibraryError(lxw_error error, int systemError) {
  QString text = QString::fromUtf8(lxw_strerror(error));
  if (systemError != 0) text += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(systemError));
  return text;
}

}  // namespace

QString WriteExportWorkbook(const QString& path, const SheetBlock& block) {
  // Open the file once ourselves: the library reports a failure to create it
  // only as a code, while QFile gives the system's own explanation.
  {
    QFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) return QStringLiteral("%1: %2").arg(path, probe.errorString());
  }

  CNumericScope numericScope;
  const QByteArray fileName = QFile::encodeName(path);
  lxw_workbook* workbook = workbook_new(fileName.constData());
  if (workbook == nullptr) return QString::fromUtf8(lxw_strerror(LXW_ERROR_MEMORY_MALLOC_FAILED));

  const std::string sheetName(kExportSheetName);
  lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName.c_str());

  lxw_format* header = workbook_add_format(workbook);
  format_set_bold(header);
  format_set_align(header, LXW_ALIGN_CENTER);
  format_set_border(header, LXW_BORDER_THIN);
  lxw_format* headerRow = workbook_add_format(workbook);
  format_set_bold(headerRow);
  format_set_align(headerRow, LXW_ALIGN_CENTER);

  lxw_format* data = workbook_add_format(workbook);
  format_set_align(data, LXW_ALIGN_RIGHT);
  format_set_border(data, LXW_BORDER_THIN);
  lxw_format* dataRow = workbook_add_format(workbook);
  format_set_align(dataRow, LXW_ALIGN_RIGHT);

  lxw_error error = LXW_NO_ERROR;
  if (sheet == nullptr) error = LXW_ERROR_MEMORY_MALLOC_FAILED;

  std::size_t columns = 0;
  for (const auto& row : block) columns = std::max(columns, row.size());
  if (error == LXW_NO_ERROR && columns > 0) {
    const auto last = static_cast<lxw_col_t>(columns - 1);
    if (last > 0) error = worksheet_set_column(sheet, 0, last - 1, kExportColumnWidth, nullptr);
    if (error == LXW_NO_ERROR) error = worksheet_set_column(sheet, last, last, kExportLastColumnWidth, nullptr);
  }

  for (std::size_t r = 0; r < block.size() && error == LXW_NO_ERROR; ++r) {
    const bool isHeader = r < 2;
    const auto row = static_cast<lxw_row_t>(r);
    // The whole row carries the alignment, as a user formatting whole rows
    // would get; the cells of the block add their borders.
    error = worksheet_set_row(sheet, row, LXW_DEF_ROW_HEIGHT, isHeader ? headerRow : dataRow);
    lxw_format* cellFormat = isHeader ? header : data;
    for (std::size_t c = 0; c < columns && error == LXW_NO_ERROR; ++c) {
      const auto col = static_cast<lxw_col_t>(c);
      if (c < block[r].size() && !block[r][c].empty())
        error = worksheet_write_string(sheet, row, col, block[r][c].c_str(), cellFormat);
      else
        error = worksheet_write_blank(sheet, row, col, cellFormat);
    }
  }

  errno = 0;
  const lxw_error closeError = workbook_close(workbook);  // frees the workbook in any case
  const int systemError = errno;
  if (error == LXW_NO_ERROR) error = closeError;
  if (error != LXW_NO_ERROR) {
    const bool fileError = error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
                           error == LXW_ERROR_ZIP_FILE_OPERATION;
    return LibraryError(error, fileError ? systemError : 0);
  }
  return {};
}

}  // namespace tesmir
