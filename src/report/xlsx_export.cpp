#include "report/xlsx_export.h"

#include "report/xlsx_detail.h"

#include <xlsxwriter.h>

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>

namespace tesmir {

using xlsx_detail::CellText;
using xlsx_detail::CNumericScope;

namespace {

// What went wrong, in the user's language, for each error the library reports.
QString LibraryErrorMeaning(lxw_error error) {
  switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
      return QStringLiteral("недостаточно памяти");
    case LXW_ERROR_CREATING_XLSX_FILE:
      return QStringLiteral("не удалось создать файл книги");
    case LXW_ERROR_CREATING_TMPFILE:
      return QStringLiteral("не удалось создать временный файл");
    case LXW_ERROR_READING_TMPFILE:
      return QStringLiteral("не удалось прочитать временный файл");
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
      return QStringLiteral("не удалось упаковать книгу в файл");
    case LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED:
      return QStringLiteral("текст ячейки длиннее %1 символов").arg(kCellMaxCharacters);
    case LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE:
      return QStringLiteral("строка или столбец за пределами листа (не более %1 строк)").arg(kSheetMaxRows);
    case LXW_ERROR_SHEETNAME_LENGTH_EXCEEDED:
    case LXW_ERROR_INVALID_SHEETNAME_CHARACTER:
    case LXW_ERROR_SHEETNAME_START_END_APOSTROPHE:
    case LXW_ERROR_SHEETNAME_ALREADY_USED:
      return QStringLiteral("недопустимое имя листа");
    default:
      return QStringLiteral("ошибка библиотеки записи книг");
  }
}

}  // namespace

QString CloseWorkbook(lxw_workbook* book, int writeError, const QString& path) {
  errno = 0;
  const lxw_error closeError = workbook_close(book);
  const int systemError = errno;
  const int error = writeError == LXW_NO_ERROR ? static_cast<int>(closeError) : writeError;
  if (error == LXW_NO_ERROR) {
    return {};
  }
  const bool fileError = error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
                         error == LXW_ERROR_ZIP_FILE_OPERATION;
  return WorkbookErrorText(error, fileError ? systemError : 0) + QStringLiteral("\nФайл: ") +
         QDir::toNativeSeparators(path);
}

QString WorkbookErrorText(int libraryError, int systemError) {
  const auto error = static_cast<lxw_error>(libraryError);
  QString library = QString::fromUtf8(lxw_strerror(error));
  if (systemError != 0) library += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(systemError));
  return QStringLiteral("Не удалось записать книгу электронной таблицы: %1.\n(libxlsxwriter: %2)")
      .arg(LibraryErrorMeaning(error), library);
}

namespace {

// Writes `rows` rows of `columns` cells; `fill(r, cells)` gives row r.
QString WriteRows(const QString& path, std::size_t rows, std::size_t columns,
                  const std::function<void(std::size_t, std::vector<std::string>&)>& fill) {
  CNumericScope numericScope;
  const QByteArray fileName = QFile::encodeName(path);
  // Rows go out in order, so the sheet is streamed to disk instead of held
  // in memory.
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* workbook = workbook_new_opt(fileName.constData(), &options);
  if (workbook == nullptr) return WorkbookErrorText(LXW_ERROR_MEMORY_MALLOC_FAILED, 0);

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

  std::string text;
  std::vector<std::string> cells;
  if (error == LXW_NO_ERROR && columns > 0) {
    const auto last = static_cast<lxw_col_t>(columns - 1);
    if (last > 0) error = worksheet_set_column(sheet, 0, last - 1, kExportColumnWidth, nullptr);
    if (error == LXW_NO_ERROR) error = worksheet_set_column(sheet, last, last, kExportLastColumnWidth, nullptr);
  }

  for (std::size_t r = 0; r < rows && error == LXW_NO_ERROR; ++r) {
    fill(r, cells);
    const bool isHeader = r < 2;
    const auto row = static_cast<lxw_row_t>(r);
    // The whole row carries the alignment, as a user formatting whole rows
    // would get; the cells of the block add their borders.
    error = worksheet_set_row(sheet, row, LXW_DEF_ROW_HEIGHT, isHeader ? headerRow : dataRow);
    lxw_format* cellFormat = isHeader ? header : data;
    for (std::size_t c = 0; c < columns && error == LXW_NO_ERROR; ++c) {
      const auto col = static_cast<lxw_col_t>(c);
      if (c < cells.size() && !cells[c].empty())
        error = worksheet_write_string(sheet, row, col, CellText(cells[c], text).c_str(), cellFormat);
      else
        error = worksheet_write_blank(sheet, row, col, cellFormat);
    }
  }

  return CloseWorkbook(workbook, error, path);
}

}  // namespace

QString WriteExportWorkbook(const QString& path, const SheetBlock& block) {
  std::size_t columns = 0;
  for (const auto& row : block) columns = std::max(columns, row.size());
  return WriteRows(path, block.size(), columns,
                   [&block](std::size_t r, std::vector<std::string>& cells) { cells = block[r]; });
}

QString WriteReportWorkbook(const QString& path, const ReportTable& table) {
  const std::vector<int> rows = ExportedRows(table);
  return WriteRows(path, rows.size() + 2, static_cast<std::size_t>(table.columnCount()),
                   [&](std::size_t r, std::vector<std::string>& cells) { ExportBlockRow(table, rows, r, cells); });
}

}  // namespace tesmir
