#include "report/report_file.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include "report/report_columns.h"

namespace tesmir {

namespace {

constexpr char kCodePage[] = "Windows-1251";
constexpr char kLineEnd[] = "\r\n";
constexpr char kEndOfFile = '\x1a';

// Positions kept per line: the cell rules need at most the first fourteen.
constexpr int kKeptPositions = 14;

// The UTF-8 text of every Windows-1251 byte, taken from Qt's decoder once.
class CodePageTable {
 public:
  CodePageTable() {
    QByteArray all(256, '\0');
    for (int b = 0; b < 256; ++b) {
      all[b] = static_cast<char>(b);
    }
    QStringDecoder decoder(kCodePage);
    const QString text = decoder.decode(all);
    if (!decoder.hasError() && text.size() == 256) {
      for (int b = 0; b < 256; ++b) {
        utf8_[static_cast<std::size_t>(b)] = QString(text.at(b)).toStdString();
      }
      return;
    }
    // A decoder that does not map byte for byte: decode each byte alone.
    for (int b = 0; b < 256; ++b) {
      QStringDecoder single(kCodePage);
      utf8_[static_cast<std::size_t>(b)] = QString(single.decode(QByteArray(1, static_cast<char>(b)))).toStdString();
    }
  }

  void append(std::string& out, const char* bytes, std::size_t size) const {
    for (std::size_t i = 0; i < size; ++i) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      if (b < 0x80) {
        out.push_back(static_cast<char>(b));
      } else {
        out += utf8_[b];
      }
    }
  }

 private:
  std::array<std::string, 256> utf8_;
};

const CodePageTable& DecodeTable() {
  static const CodePageTable table;
  return table;
}

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
    std::string out;
    out.reserve(static_cast<std::size_t>(length));
    DecodeTable().append(out, text_ + start - 1, static_cast<std::size_t>(length));
    return out;
  }

  const char* text_;
  long size_;
  std::array<long, kKeptPositions> positions_{};
  long count_ = 0;
};

}  // namespace

std::optional<ReportLayout> LayoutForFileName(const QString& fileName) {
  if (fileName.endsWith(QLatin1String("csv"), Qt::CaseSensitive)) {
    return ReportLayout::Semicolon;
  }
  if (fileName.endsWith(QLatin1String("okz"), Qt::CaseSensitive)) {
    return ReportLayout::Bar;
  }
  return std::nullopt;
}

QByteArray EncodeReport(const ReportTable& table) {
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
  QString unicode = QString::fromStdString(text);
  // Thin and narrow spaces, used as thousands separators by some locales,
  // have no Windows-1251 byte; the no-break space stands in for them.
  for (const char16_t thin : {u'\u202f', u'\u2009', u'\u2007'}) {
    unicode.replace(QChar(thin), QChar(u'\u00a0'));
  }
  QStringEncoder encoder(kCodePage);
  QByteArray bytes = encoder.encode(unicode);
  // The encoder marks a character it cannot write with Ctrl-Z, which would end
  // the file when read; no cell can hold Ctrl-Z itself, so make it visible.
  bytes.replace(kEndOfFile, '?');
  return bytes;
}

namespace {

// Calls `onLine(text, size)` for every line of a report file: a line ends at
// LF, a CR ends the line's text (the rest up to the LF is skipped), Ctrl-Z
// ends the file and the last line counts without a line end.
template <typename OnLine>
void ForEachLine(QByteArrayView bytes, OnLine&& onLine) {
  const char* p = bytes.data();
  const char* end = p + bytes.size();
  if (bytes.isEmpty()) {
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

ReportScan ScanReport(QByteArrayView bytes, ReportLayout layout) {
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

ParsedReport ParseReport(QByteArrayView bytes, ReportLayout layout) {
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

QString SaveReportFile(const QString& path, const ReportTable& table) {
  const QByteArray bytes = EncodeReport(table);
  const auto failure = [&path](const QString& reason) {
    return QStringLiteral("Не удалось сохранить файл %1.\n%2").arg(QDir::toNativeSeparators(path), reason);
  };
  // Unbuffered, so every failed write is seen here: a buffered tail that fails
  // only while the file is being closed would go unnoticed and commit() would
  // put a truncated file in place of the old one.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
    return failure(file.errorString());
  }
  // Until commit() the old file is untouched; an unfinished temporary file is
  // removed when `file` goes out of scope.
  qsizetype done = 0;
  while (done < bytes.size()) {
    const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
    if (written <= 0) {
      return failure(file.errorString());
    }
    done += static_cast<qsizetype>(written);
  }
  if (!file.commit()) {
    return failure(file.errorString());
  }
  return {};
}

LoadedReport LoadReportFile(const QString& path, ReportLayout layout, const ReportFileLimits& limits) {
  LoadedReport out;
  const QString name = QDir::toNativeSeparators(path);
  const auto systemText = [](int error) { return QString::fromLocal8Bit(std::strerror(error)); };
  // O_NONBLOCK: opening a FIFO must not wait for a writer; the type is then
  // checked on the descriptor itself, so a name swapped meanwhile changes nothing.
  const QByteArray encoded = QFile::encodeName(path);
  const int fd = ::open(encoded.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    out.error = QStringLiteral("Не удалось открыть файл %1.\n%2").arg(name, systemText(errno));
    return out;
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) {
    out.error = QStringLiteral("Не удалось открыть файл %1.\n%2").arg(name, systemText(errno));
    return out;
  }
  if (!S_ISREG(info.st_mode)) {
    out.error = QStringLiteral("Файл %1 не является обычным файлом (это папка, канал или устройство) "
                               "и не может быть открыт как отчет.")
                    .arg(name);
    return out;
  }
  const auto tooLarge = [&] {
    constexpr qint64 kMegabyte = 1024 * 1024;
    const QString limit = limits.maxBytes % kMegabyte == 0
                              ? QStringLiteral("%1 МБ").arg(limits.maxBytes / kMegabyte)
                              : QStringLiteral("%1 байт").arg(limits.maxBytes);
    return QStringLiteral("Файл %1 слишком велик: файл отчета может занимать не более %2. Файл не открыт.")
        .arg(name, limit);
  };
  if (info.st_size > limits.maxBytes) {
    out.error = tooLarge();
    return out;
  }
  // Read up to one byte past the limit: a file that grew since fstat is
  // still caught.
  QByteArray bytes(static_cast<qsizetype>(info.st_size) + 1, Qt::Uninitialized);
  qsizetype done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (done > limits.maxBytes) {
        out.error = tooLarge();
        return out;
      }
      bytes.resize(std::min<qsizetype>(bytes.size() * 2 + 4096, limits.maxBytes + 1));
    }
    const ssize_t got = ::read(fd, bytes.data() + done, static_cast<std::size_t>(bytes.size() - done));
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got < 0) {
      out.error = QStringLiteral("Не удалось прочитать файл %1.\n%2").arg(name, systemText(errno));
      return out;
    }
    if (got == 0) {
      break;
    }
    done += static_cast<qsizetype>(got);
  }
  bytes.truncate(done);
  out.scan = ScanReport(bytes, layout);
  if (out.scan.dataLines > limits.maxRows) {
    out.error = QStringLiteral("Файл %1 содержит %2 строк данных, а отчет вмещает не более %3 строк "
                               "(столько, сколько помещается на листе электронной таблицы). Файл не открыт.")
                    .arg(name)
                    .arg(out.scan.dataLines)
                    .arg(limits.maxRows);
    return out;
  }
  out.bytes = std::move(bytes);
  return out;
}

}  // namespace tesmir
