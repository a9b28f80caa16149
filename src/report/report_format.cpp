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
  LineCells(const char* text, std::size_t size, ReportLayout layout, bool utf8 = false)
      : text_(text), size_(static_cast<long>(size)), utf8_(utf8) {
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
    const std::string_view bytes(text_ + start - 1, static_cast<std::size_t>(length));
    return utf8_ ? std::string(bytes) : DecodeCp1251(bytes);
  }

  const char* text_;
  long size_;
  bool utf8_;
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

// Whether `bytes` are well-formed UTF-8 holding at least one character
// beyond ASCII (text in Windows-1251 letters practically never is).
bool IsNonAsciiUtf8(std::string_view bytes) {
  bool beyondAscii = false;
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto* end = p + bytes.size();
  while (p < end) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
      ++p;
      continue;
    }
    int more = 0;
    char32_t code = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1, code = lead & 0x1Fu, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2, code = lead & 0x0Fu, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3, code = lead & 0x07u, least = 0x10000;
    } else {
      return false;
    }
    if (end - p <= more) {
      return false;
    }
    for (int i = 1; i <= more; ++i) {
      if ((p[i] & 0xC0u) != 0x80u) {
        return false;
      }
      code = (code << 6) | (p[i] & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    beyondAscii = true;
    p += more + 1;
  }
  return beyondAscii;
}

// How the bytes of a file are read: Windows-1251, unless they are UTF-8 (with
// or without a byte-order mark), as a spreadsheet program may save them.
struct TextEncoding {
  bool utf8 = false;
  std::size_t skip = 0;  // the byte-order mark
};

TextEncoding DetectEncoding(std::string_view bytes) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (bytes.substr(0, kBom.size()) == kBom) {
    return {true, kBom.size()};
  }
  return {IsNonAsciiUtf8(bytes), 0};
}

// Calls `onLine(text, size)` for every line of a report file: a line ends at
// LF, CR LF or a lone CR, and the last line counts without a line end.
// Ctrl-Z ends the file; returns true when anything follows it (the file was
// cut short or joined to something else, and must not read as whole).
template <typename OnLine>
bool ForEachLine(std::string_view bytes, OnLine&& onLine) {
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  if (bytes.empty()) {
    return false;
  }
  bool afterEnd = false;
  if (const void* eof = std::memchr(p, kEndOfFile, static_cast<std::size_t>(bytes.size()))) {
    end = static_cast<const char*>(eof);
    afterEnd = end + 1 < p + bytes.size();
  }
  while (p < end) {
    const char* lineEnd = p;
    while (lineEnd < end && *lineEnd != '\n' && *lineEnd != '\r') {
      ++lineEnd;
    }
    onLine(p, static_cast<std::size_t>(lineEnd - p));
    p = lineEnd;
    if (p < end && *p++ == '\r' && p < end && *p == '\n') {
      ++p;  // CR LF is one line end
    }
  }
  return afterEnd;
}

std::size_t FirstDataLine(ReportLayout layout) { return layout == ReportLayout::Semicolon ? 2 : 0; }

}  // namespace

ReportScan ScanReport(std::string_view bytes, ReportLayout layout) {
  ReportScan out;
  const long modulus = layout == ReportLayout::Semicolon ? 13 : 14;
  const TextEncoding encoding = DetectEncoding(bytes);
  bytes.remove_prefix(encoding.skip);
  std::size_t lines = 0;
  const bool afterEnd = ForEachLine(bytes, [&](const char* text, std::size_t size) {
    ++lines;
    if (!out.damaged && LineCells(text, size, layout).count() % modulus != 0) {
      out.damaged = true;
    }
    // A character the next save cannot write in Windows-1251 would be lost.
    if (!out.damaged && encoding.utf8 && !IsCp1251Text(std::string_view(text, size))) {
      out.damaged = true;
    }
  });
  out.damaged = out.damaged || afterEnd;
  out.dataLines = lines > FirstDataLine(layout) ? lines - FirstDataLine(layout) : 0;
  return out;
}

ParsedReport ParseReport(std::string_view bytes, ReportLayout layout) {
  ParsedReport out;
  const long modulus = layout == ReportLayout::Semicolon ? 13 : 14;
  const std::size_t firstDataLine = FirstDataLine(layout);
  const TextEncoding encoding = DetectEncoding(bytes);
  bytes.remove_prefix(encoding.skip);

  // Rows are counted first, so the table is allocated once.
  std::size_t lines = 0;
  ForEachLine(bytes, [&lines](const char*, std::size_t) { ++lines; });
  out.rows.reserve(std::max(lines, static_cast<std::size_t>(kReportMinRows)));

  std::size_t lineIndex = 0;
  const bool afterEnd = ForEachLine(bytes, [&](const char* text, std::size_t size) {
    const LineCells line(text, size, layout, encoding.utf8);
    if (line.count() % modulus != 0) {
      out.damaged = true;
    }
    if (encoding.utf8 && !out.damaged && !IsCp1251Text(std::string_view(text, size))) {
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
  out.damaged = out.damaged || afterEnd;
  if (out.rows.size() < static_cast<std::size_t>(kReportMinRows)) {
    out.rows.resize(kReportMinRows);
  }
  return out;
}

}  // namespace tesmir
