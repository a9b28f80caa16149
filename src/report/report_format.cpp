#include "report/report_format.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "core/cp1251.h"
#include "report/report_columns.h"

namespace tesmir {

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kEndOfFile = '\x1a';

// Positions kept per line: the cell rules need at most the first fourteen.
constexpr int kKeptPositions = 14;

// One line of a file: its text and the positions of its separators.
class LineCells {
 public:
  LineCells(const char* text, std::size_t size, ReportLayout layout) : text_(text), size_(static_cast<long>(size)) {
    const char sep = layout == ReportLayout::Semicolon ? ';' : '|';
    if (layout == ReportLayout::Semicolon) {
      add(1);  // the start of the first field
    }
    // Position 0 stands for the first character, so a separator there is
    // recorded twice (at 0 and at 1).
    if (size_ > 0 && text_[0] == sep) {
      add(0);
    }
    const char* p = text_;
    const char* end = text_ + size_;
    while ((p = static_cast<const char*>(std::memchr(p, sep, static_cast<std::size_t>(end - p)))) != nullptr) {
      add(p - text_ + 1);
      ++p;
    }
  }

  long count() const { return count_; }

  // Cell `k` of the row this line fills.
  std::string cell(int k, ReportLayout layout) const {
    const auto at = [this](int i) { return positions_[static_cast<std::size_t>(i)]; };
    if (layout == ReportLayout::Semicolon) {
      if (k == 0) {
        return has(1) ? copy(at(0), at(1) - at(0)) : std::string();
      }
      return has(k + 1) ? copy(at(k) + 1, at(k + 1) - at(k) - 1) : std::string();
    }
    return has(k + 2) ? copy(at(k + 1) + 1, at(k + 2) - at(k + 1) - 1) : std::string();
  }

 private:
  void add(long position) {
    if (count_ < kKeptPositions) {
      positions_[static_cast<std::size_t>(count_)] = position;
    }
    ++count_;
  }

  bool has(int index) const { return index < kKeptPositions && index < count_; }

  // The text of `length` characters from 1-based `start`: a start below 1
  // counts as 1, a negative length or a start past the end gives the empty
  // text, a length past the end stops at the end.
  std::string copy(long start, long length) const {
    if (start < 1) {
      start = 1;
    }
    if (length <= 0 || start > size_) {
      return {};
    }
    length = std::min(length, size_ - start + 1);
    return DecodeCp1251(std::string_view(text_ + start - 1, static_cast<std::size_t>(length)));
  }

  const char* text_;
  long size_;
  std::array<long, kKeptPositions> positions_{};
  long count_ = 0;
};

}  // namespace

std::string EncodeReport(const ReportTable& table) {
  std::string text;
  bool any = false;
  for (int r = 0; r < table.rowCount(); ++r) {
    const ReportRow& row = table.row(r);
    if (row[0].empty()) {
      continue;
    }
    if (!any) {
      text.reserve(static_cast<std::size_t>(table.rowCount()) * 96 + 128);
      text += ReportFileTitleLine();
      text += kLineEnd;
      text += ReportFileUnitLine();
      text += kLineEnd;
      any = true;
    }
    for (const std::string& cell : row) {
      text += cell;
      text += ';';
    }
    text += kLineEnd;
  }
  if (!any) {
    return {};
  }
  // Thin and narrow spaces, used as thousands separators by some locales,
  // have no Windows-1251 byte; the no-break space stands in for them.
  for (const std::string_view thin : {"\u202f", "\u2009", "\u2007"}) {
    for (std::size_t at = text.find(thin); at != std::string::npos; at = text.find(thin, at)) {
      text.replace(at, thin.size(), "\u00a0");
    }
  }
  std::string bytes = EncodeCp1251(text, '?');
  // Ctrl-Z would end the file when read; no cell read or typed can hold it,
  // and were one to, it is written visibly.
  std::replace(bytes.begin(), bytes.end(), kEndOfFile, '?');
  return bytes;
}

namespace {

// Calls `onLine(text, size)` for every line of a report file: a line ends at
// LF, a CR ends the line's text (the rest up to the LF is skipped), Ctrl-Z
// ends the file and the last line counts without a line end.
template <typename OnLine>
void ForEachLine(std::string_view bytes, OnLine&& onLine) {
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  if (bytes.empty()) {
    return;
  }
  if (const void* eof = std::memchr(p, kEndOfFile, static_cast<std::size_t>(bytes.size()))) {
    end = static_cast<const char*>(eof);
  }
  while (p < end) {
    const auto rest = static_cast<std::size_t>(end - p);
    const char* lf = static_cast<const char*>(std::memchr(p, '\n', rest));
    const char* lineEnd = lf != nullptr ? lf : end;
    const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(lineEnd - p)));
    const char* textEnd = cr != nullptr ? cr : lineEnd;
    onLine(p, static_cast<std::size_t>(textEnd - p));
    p = lf != nullptr ? lf + 1 : end;
  }
}

std::size_t FirstDataLine(ReportLayout layout) { return layout == ReportLayout::Semicolon ? 2 : 0; }

}  // namespace

ReportScan ScanReport(std::string_view bytes, ReportLayout layout) {
  ReportScan out;
  const long modulus = layout == ReportLayout::Semicolon ? 13 : 14;
  std::size_t lines = 0;
  ForEachLine(bytes, [&](const char* text, std::size_t size) {
    ++lines;
    if (!out.damaged && LineCells(text, size, layout).count() % modulus != 0) {
      out.damaged = true;
    }
  });
  out.dataLines = lines > FirstDataLine(layout) ? lines - FirstDataLine(layout) : 0;
  return out;
}

ParsedReport ParseReport(std::string_view bytes, ReportLayout layout) {
  ParsedReport out;
  const long modulus = layout == ReportLayout::Semicolon ? 13 : 14;
  const std::size_t firstDataLine = FirstDataLine(layout);

  // Rows are counted first, so the table is allocated once.
  std::size_t lines = 0;
  ForEachLine(bytes, [&lines](const char*, std::size_t) { ++lines; });
  out.rows.reserve(std::max(lines, static_cast<std::size_t>(kReportMinRows)));

  std::size_t lineIndex = 0;
  ForEachLine(bytes, [&](const char* text, std::size_t size) {
    const LineCells line(text, size, layout);
    if (line.count() % modulus != 0) {
      out.damaged = true;
    }
    if (lineIndex >= firstDataLine) {
      ReportRow& row = out.rows.emplace_back();
      for (int k = 0; k < kReportColumns; ++k) {
        row[static_cast<std::size_t>(k)] = line.cell(k, layout);
      }
    }
    ++lineIndex;
  });
  if (out.rows.size() < static_cast<std::size_t>(kReportMinRows)) {
    out.rows.resize(kReportMinRows);
  }
  return out;
}

}  // namespace tesmir
