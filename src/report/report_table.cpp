#include "report/report_table.h"

#include <algorithm>
#include <utility>

#include "core/cp1251.h"
#include "device/device_check.h"

namespace tesmir {

namespace {

bool IsValidIndex(int index, std::size_t size) { return index >= 0 && static_cast<std::size_t>(index) < size; }

}  // namespace

ReportRow MakeReportRow(std::string_view name, const SchemeState& scheme, const DeviceSettings& device,
                        std::string_view tripTimeText, const NumberSeparators& seps) {
  ReportRow row;
  row[0] = std::string(name);
  // Transformer values are held three-fold; the loop uses one phase's share.
  row[1] = FormatF2(scheme.Rt / 3, seps);
  row[2] = FormatF2(scheme.Xt / 3, seps);
  row[3] = FormatF2(scheme.RLineSum, seps);
  row[4] = FormatF2(scheme.XLineSum, seps);
  row[5] = FormatF0(scheme.RArc, seps);
  row[6] = FormatF2(scheme.Rsum, seps);
  row[7] = FormatF2(scheme.Xsum, seps);
  row[8] = FormatF2(scheme.Zsum, seps);
  row[9] = FormatG(RoundCurrent(scheme.Iokz), seps);
  row[10] = device.TokSR > 0 ? FormatG(device.TokSR, seps) : std::string(kNoDeviceValue);
  row[11] = std::string(tripTimeText);
  return row;
}

std::size_t CharacterCount(std::string_view utf8) {
  // Every character has exactly one byte that is not a continuation byte.
  return static_cast<std::size_t>(
      std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool IsStorableName(std::string_view name) {
  if (name.find_first_of(";\r\n\x1a") != std::string_view::npos) {
    return false;
  }
  return IsCp1251Text(name);
}

ReportTable::ReportTable() : rows_(kReportMinRows) {}

const std::string& ReportTable::cell(int col, int row) const {
  static const std::string kEmpty;
  if (!IsValidIndex(row, rows_.size()) || col < 0 || col >= kReportColumns) {
    return kEmpty;
  }
  return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

const ReportRow& ReportTable::row(int row) const {
  static const ReportRow kEmptyRow{};
  if (!IsValidIndex(row, rows_.size())) {
    return kEmptyRow;
  }
  return rows_[static_cast<std::size_t>(row)];
}

int ReportTable::leadingCount() const {
  int n = 0;
  while (n < rowCount() && !rows_[static_cast<std::size_t>(n)][0].empty()) {
    ++n;
  }
  return n;
}

std::string ReportTable::nameRejection(std::string_view name) const {
  // The checks run in this order, so a duplicate is reported even for a name
  // that is also too long (such a name can come from a file).
  if (!name.empty()) {
    for (const ReportRow& r : rows_) {
      if (r[0] == name) {
        return std::string(report_messages::kDuplicateName);
      }
    }
  }
  if (name.empty() || name.front() == ' ') {
    return std::string(report_messages::kEmptyName);
  }
  if (CharacterCount(name) > kMaxPointNameLength) {
    return std::string(report_messages::kNameTooLong);
  }
  if (!IsStorableName(name)) {
    return std::string(report_messages::kBadNameChars);
  }
  return {};
}

std::string ReportTable::addPoint(std::string_view name, const ReportRow& cells) {
  std::string rejection = nameRejection(name);
  if (!rejection.empty()) {
    return rejection;
  }
  // Below the last named row; gaps above it are not reused.
  const int target = lastNamedRow() + 1;
  if (target == rowCount()) {
    rows_.emplace_back();
  }
  ReportRow& r = rows_[static_cast<std::size_t>(target)];
  r = cells;
  r[0] = std::string(name);
  modified_ = true;
  return {};
}

int ReportTable::lastNamedRow() const {
  for (int i = rowCount() - 1; i >= 0; --i) {
    if (!rows_[static_cast<std::size_t>(i)][0].empty()) {
      return i;
    }
  }
  return -1;
}

void ReportTable::cellMadeCurrent(int row) { selectedRow_ = row; }

void ReportTable::mouseReleasedAt(int col, int row) {
  if (col < 0 || row < 0) {
    selectedCol_ = -1;
    selectedRow_ = -1;
    return;
  }
  selectedCol_ = col;
  selectedRow_ = row;
}

std::string ReportTable::deleteSelected() {
  if (selectedCol_ < 0 || selectedRow_ < 0 || selectedRow_ >= rowCount()) {
    return std::string(report_messages::kSelectRow);
  }
  // The rows below move up by one; the last row ends empty.
  auto at = rows_.begin() + selectedRow_;
  std::move(at + 1, rows_.end(), at);
  rows_.back() = ReportRow{};
  if (rowCount() > kReportMinRows) {
    rows_.pop_back();
  }
  modified_ = true;
  return {};
}

void ReportTable::deleteAll() {
  rows_.assign(kReportMinRows, ReportRow{});
  modified_ = true;
}

int ReportTable::moveUp() {
  const int n = leadingCount();
  if (selectedRow_ < 1 || selectedRow_ > n - 1) {
    return -1;
  }
  std::swap(rows_[static_cast<std::size_t>(selectedRow_)], rows_[static_cast<std::size_t>(selectedRow_ - 1)]);
  modified_ = true;
  cellMadeCurrent(selectedRow_ - 1);
  return selectedRow_;
}

int ReportTable::moveDown() {
  const int n = leadingCount();
  if (selectedRow_ < 0 || selectedRow_ > n - 2) {
    return -1;
  }
  std::swap(rows_[static_cast<std::size_t>(selectedRow_)], rows_[static_cast<std::size_t>(selectedRow_ + 1)]);
  modified_ = true;
  cellMadeCurrent(selectedRow_ + 1);
  return selectedRow_;
}

void ReportTable::clearAll() {
  for (ReportRow& r : rows_) {
    r = ReportRow{};
  }
  modified_ = true;
}

void ReportTable::setRowCount(int count) {
  rows_.resize(static_cast<std::size_t>(std::max(count, kReportMinRows)));
  modified_ = true;
}

void ReportTable::setCell(int col, int row, std::string text) {
  if (!IsValidIndex(row, rows_.size()) || col < 0 || col >= kReportColumns) {
    return;
  }
  rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)] = std::move(text);
  modified_ = true;
}

void ReportTable::assignRows(std::vector<ReportRow> rows) {
  rows_ = std::move(rows);
  if (rows_.size() < static_cast<std::size_t>(kReportMinRows)) {
    rows_.resize(kReportMinRows);
  }
  // The table now holds exactly what the file holds: nothing to lose yet.
  modified_ = false;
}

bool ReportTable::hasUnsavedWork() const {
  return modified_ && std::any_of(rows_.begin(), rows_.end(), [](const ReportRow& r) { return !r[0].empty(); });
}

}  // namespace tesmir
