#pragma once
// The report: named fault points, twelve text cells per row, at least fourteen
// rows. The windows only display and drive it.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/display_format.h"
#include "core/loop_calc.h"
#include "device/device_settings.h"

namespace tesmir {

inline constexpr int kReportColumns = 12;
inline constexpr int kReportMinRows = 14;
// The most characters a point name may have.
inline constexpr std::size_t kMaxPointNameLength = 8;

// Twelve cells; a row is named when cell 0 is not empty.
using ReportRow = std::array<std::string, kReportColumns>;

// The cells of a new row, built from the last calculation, the device settings
// and the trip-time text the results window shows.
ReportRow MakeReportRow(std::string_view name, const SchemeState& scheme, const DeviceSettings& device,
                        std::string_view tripTimeText, const NumberSeparators& seps);

// The number of characters (code points) of a UTF-8 text.
std::size_t CharacterCount(std::string_view utf8);

// True when a report file can carry `name` unchanged: no ';' (the field
// separator), no CR, LF or Ctrl-Z (they end a line or the file when read) and
// every character present in Windows-1251.
bool IsStorableName(std::string_view name);

class ReportTable {
 public:
  ReportTable();

  int rowCount() const { return static_cast<int>(rows_.size()); }
  int columnCount() const { return kReportColumns; }
  const std::string& cell(int col, int row) const;
  const ReportRow& row(int row) const;
  // Named rows from row 0 down to, not including, the first unnamed row.
  int leadingCount() const;
  // The lowest named row, or -1 when no row is named.
  int lastNamedRow() const;

  // Why `name` cannot name a new point, or the empty text when it can.
  std::string nameRejection(std::string_view name) const;
  // Adds a point under `name`. Returns the empty text on success, otherwise
  // the rejection message (and nothing changes).
  std::string addPoint(std::string_view name, const ReportRow& cells);

  // Selection as the grid reports it; -1 means no cell.
  int selectedRow() const { return selectedRow_; }
  int selectedCol() const { return selectedCol_; }
  // The grid made a cell of `row` current (click, arrow keys or the program).
  void cellMadeCurrent(int row);
  // A mouse button was released over the grid at cell (col, row); pass -1 for
  // both when the pointer was not over a cell.
  void mouseReleasedAt(int col, int row);

  // Deletes the selected row. Returns the message to show, or the empty text.
  std::string deleteSelected();
  void deleteAll();
  // Move the selected row within the leading block. Return the row to make
  // current, or -1 when nothing moved.
  int moveUp();
  int moveDown();

  // Used by reading a report file.
  void clearAll();
  void setRowCount(int count);  // never below kReportMinRows
  void setCell(int col, int row, std::string text);
  // Replaces every row at once (padded to kReportMinRows with empty rows), as
  // reading a report file does: opening is not a change.
  void assignRows(std::vector<ReportRow> rows);

  // Rows were added, deleted or moved since the report was last saved or
  // opened (or since the start).
  bool modified() const { return modified_; }
  // The report was written to a file whole.
  void markSaved() { modified_ = false; }
  // Undo and redo say whether the rows now differ from those last saved.
  void setModified(bool modified) { modified_ = modified; }
  // True when leaving now would lose work: the report changed since its last
  // save and has at least one named row.
  bool hasUnsavedWork() const;

 private:
  std::vector<ReportRow> rows_;
  std::int32_t selectedRow_ = 0;
  std::int32_t selectedCol_ = 0;
  bool modified_ = false;
};

namespace report_messages {
inline constexpr std::string_view kDuplicateName = "Такое название уже есть. Введите другое.";
inline constexpr std::string_view kEmptyName =
    "Вы не ввели название точки короткого замыкания или это название начинается с пустого символа (пробела)! "
    "Попробуйте ввести название еще раз. Первый символ не должен являться пустым.";
inline constexpr std::string_view kNameTooLong = "Количество символов в названии не должно превышать 8.";
inline constexpr std::string_view kBadNameChars =
    "Название точки не должно содержать точку с запятой и символы, которых нет в кодировке Windows-1251.";
inline constexpr std::string_view kSelectRow = "Укажите строку, которую необходимо удалить.";
inline constexpr std::string_view kUnsavedOnExit = "Отчет не сохранен. Сохранить изменения?";
}  // namespace report_messages

}  // namespace tesmir
