#include "report/sheet_reader.h"

#include <unzip.h>

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <algorithm>
#include <string>
#include <vector>

#include "core/cp1251.h"
#include "report/journal_workbook.h"

namespace tesmir {
namespace {

const QString kRelationshipsNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

std::string Utf8(const QString& text) { return text.toStdString(); }
std::string Utf8(QStringView text) { return text.toString().toStdString(); }

QString Megabytes(qint64 bytes) { return QString::number(bytes >> 20); }

Failure<std::string> TooLarge(const QString& what, qint64 limit) {
  return Fail(Utf8(QStringLiteral("%1 больше %2 МБ: такие таблицы журнала не читаются.").arg(what, Megabytes(limit))));
}

Failure<std::string> TooManyCells() {
  return Fail(Utf8(QStringLiteral("На листе больше %1 ячеек: такие таблицы журнала не читаются.")
                       .arg(QString::number(kSheetMaxCells))));
}

// The cells of a sheet as they are filled in, with the count of cells held.
class GridBuilder {
 public:
  // False when the sheet would hold more than kSheetMaxCells cells.
  bool set(std::size_t row, std::size_t column, std::string text) {
    if (row >= grid_.size()) {
      if (row > kSheetMaxCells) return false;
      grid_.resize(row + 1);
    }
    std::vector<std::string>& cells = grid_[row];
    if (column >= cells.size()) {
      cells_ += column + 1 - cells.size();
      if (cells_ > kSheetMaxCells) return false;
      cells.resize(column + 1);
    }
    cells[column] = std::move(text);
    return true;
  }
  const std::string& at(std::size_t row, std::size_t column) const {
    static const std::string kEmpty;
    if (row >= grid_.size() || column >= grid_[row].size()) return kEmpty;
    return grid_[row][column];
  }
  TextGrid take() { return std::move(grid_); }

 private:
  TextGrid grid_;
  std::size_t cells_ = 0;
};

// A cell reference "BC12": column and row, both from 0.
bool ParseCellRef(QStringView ref, std::size_t& row, std::size_t& column) {
  std::size_t col = 0;
  qsizetype i = 0;
  while (i < ref.size() && ref[i] >= QLatin1Char('A') && ref[i] <= QLatin1Char('Z')) {
    col = col * 26 + static_cast<std::size_t>(ref[i].unicode() - u'A' + 1);
    if (col > 16384) return false;
    ++i;
  }
  if (i == 0 || i == ref.size()) return false;
  std::size_t r = 0;
  for (; i < ref.size(); ++i) {
    if (ref[i] < QLatin1Char('0') || ref[i] > QLatin1Char('9')) return false;
    r = r * 10 + static_cast<std::size_t>(ref[i].unicode() - u'0');
    if (r > 1048576) return false;
  }
  if (r == 0) return false;
  row = r - 1;
  column = col - 1;
  return true;
}

// A number as the workbook stores it, as the spreadsheet shows it without a
// format: "0.95", not "0.94999999999999996".
std::string NumberText(QStringView stored) {
  bool ok = false;
  const double value = stored.trimmed().toDouble(&ok);
  if (!ok) return Utf8(stored);
  return Utf8(QString::number(value, 'g', 15));
}

class Workbook {
 public:
  explicit Workbook(const QString& path) : path_(QFile::encodeName(path)) {}
  ~Workbook() {
    if (zip_ != nullptr) unzClose(zip_);
  }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  bool open() {
    zip_ = unzOpen64(path_.constData());
    return zip_ != nullptr;
  }

  // The part's bytes; fails when it is missing (when `required`), too large
  // or damaged. A missing optional part gives empty bytes.
  Result<QByteArray> part(const QString& name, bool required) {
    const QByteArray entry = name.toUtf8();
    if (unzLocateFile(zip_, entry.constData(), 1) != UNZ_OK) {
      if (!required) return QByteArray();
      return Fail(Utf8(QStringLiteral("в книге нет части %1").arg(name)));
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
      return Fail(Utf8(QStringLiteral("часть %1 повреждена").arg(name)));
    }
    if (info.uncompressed_size > static_cast<ZPOS64_T>(kSheetPartMaxBytes)) {
      return TooLarge(QStringLiteral("Часть книги %1 в распакованном виде").arg(name), kSheetPartMaxBytes);
    }
    if (unzOpenCurrentFile(zip_) != UNZ_OK) {
      return Fail(Utf8(QStringLiteral("не удалось распаковать часть %1").arg(name)));
    }
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(info.uncompressed_size));
    char buffer[1 << 16];
    int got = 0;
    while ((got = unzReadCurrentFile(zip_, buffer, sizeof buffer)) > 0) {
      // The size in the directory may lie; the bytes are counted too.
      if (bytes.size() + got > kSheetPartMaxBytes) {
        unzCloseCurrentFile(zip_);
        return TooLarge(QStringLiteral("Часть книги %1 в распакованном виде").arg(name), kSheetPartMaxBytes);
      }
      bytes.append(buffer, got);
    }
    // Closing checks the part's CRC.
    const int closed = unzCloseCurrentFile(zip_);
    if (got < 0 || closed != UNZ_OK) return Fail(Utf8(QStringLiteral("часть %1 повреждена").arg(name)));
    return bytes;
  }

 private:
  QByteArray path_;
  unzFile zip_ = nullptr;
};

// The path of the first sheet inside the workbook.
Result<QString> FirstSheetPath(Workbook& book) {
  const Result<QByteArray> workbook = book.part(QStringLiteral("xl/workbook.xml"), true);
  if (!workbook) return FailWith(workbook.error());
  // The first sheet; in a workbook of the journal's export, its inputs.
  QString id;
  {
    QXmlStreamReader xml(*workbook);
    bool inputs = false;
    while (!xml.atEnd() && !inputs) {
      if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("sheet")) continue;
      inputs = xml.attributes().value(QStringLiteral("name")) == QString::fromUtf8(kJournalInputsSheetName);
      if (!id.isEmpty() && !inputs) continue;
      id = xml.attributes().value(kRelationshipsNs, QStringLiteral("id")).toString();
      if (id.isEmpty()) return Fail("лист книги не ссылается на свою часть");
    }
    if (xml.hasError()) return Fail(Utf8(QStringLiteral("xl/workbook.xml: %1").arg(xml.errorString())));
  }
  if (id.isEmpty()) return Fail("в книге нет листов");
  const Result<QByteArray> rels = book.part(QStringLiteral("xl/_rels/workbook.xml.rels"), true);
  if (!rels) return FailWith(rels.error());
  QXmlStreamReader xml(*rels);
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != QLatin1String("Relationship")) continue;
    if (xml.attributes().value(QStringLiteral("Id")) != id) continue;
    QString target = xml.attributes().value(QStringLiteral("Target")).toString();
    if (target.startsWith(QLatin1Char('/'))) return target.mid(1);
    return QStringLiteral("xl/") + target;
  }
  if (xml.hasError()) return Fail(Utf8(QStringLiteral("xl/_rels/workbook.xml.rels: %1").arg(xml.errorString())));
  return Fail("часть первого листа книги не найдена");
}

// The text of an <si> or <is> element the reader stands on: its <t> texts,
// runs joined, phonetic hints (<rPh>) left out.
QString RichText(QXmlStreamReader& xml) {
  QString text;
  int depth = 1;
  int phonetic = 0;
  while (depth > 0 && !xml.atEnd()) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::StartElement) {
      ++depth;
      if (xml.name() == QLatin1String("rPh")) ++phonetic;
      if (xml.name() == QLatin1String("t") && phonetic == 0) {
        text += xml.readElementText();
        --depth;
      }
    } else if (token == QXmlStreamReader::EndElement) {
      --depth;
      if (xml.name() == QLatin1String("rPh")) --phonetic;
    }
  }
  return text;
}

Result<std::vector<std::string>> SharedStrings(Workbook& book) {
  const Result<QByteArray> bytes = book.part(QStringLiteral("xl/sharedStrings.xml"), false);
  if (!bytes) return FailWith(bytes.error());
  std::vector<std::string> strings;
  if (bytes->isEmpty()) return strings;  // a workbook without shared strings
  QXmlStreamReader xml(*bytes);
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("si")) {
      strings.push_back(Utf8(RichText(xml)));
    }
  }
  if (xml.hasError()) return Fail(Utf8(QStringLiteral("xl/sharedStrings.xml: %1").arg(xml.errorString())));
  return strings;
}

struct Merge {
  std::size_t row0, col0, row1, col1;
};

Result<TextGrid> ReadSheet(const QByteArray& bytes, const QString& name, const std::vector<std::string>& shared) {
  GridBuilder grid;
  std::vector<Merge> merges;
  QXmlStreamReader xml(bytes);
  std::size_t nextRow = 0;
  std::size_t row = 0;
  std::size_t nextColumn = 0;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QStringView element = xml.name();
    if (element == QLatin1String("row")) {
      bool ok = false;
      const qulonglong r = xml.attributes().value(QStringLiteral("r")).toULongLong(&ok);
      row = ok && r > 0 && r <= 1048576 ? static_cast<std::size_t>(r - 1) : nextRow;
      nextRow = row + 1;
      nextColumn = 0;
    } else if (element == QLatin1String("c")) {
      const QXmlStreamAttributes attributes = xml.attributes();
      std::size_t cellRow = row;
      std::size_t column = nextColumn;
      const QStringView ref = attributes.value(QStringLiteral("r"));
      if (!ref.isEmpty() && !ParseCellRef(ref, cellRow, column)) {
        return Fail(Utf8(QStringLiteral("%1: неверная ссылка на ячейку «%2»").arg(name, ref.toString())));
      }
      nextColumn = column + 1;
      const QString type = attributes.value(QStringLiteral("t")).toString();
      QString value;
      QString inlineText;
      bool hasInline = false;
      int depth = 1;
      while (depth > 0 && !xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
          if (xml.name() == QLatin1String("v")) {
            value = xml.readElementText();
          } else if (xml.name() == QLatin1String("is")) {
            inlineText = RichText(xml);
            hasInline = true;
          } else {
            ++depth;
          }
        } else if (token == QXmlStreamReader::EndElement) {
          --depth;
        }
      }
      std::string text;
      if (type == QLatin1String("s")) {
        bool ok = false;
        const qulonglong index = value.toULongLong(&ok);
        if (!ok || index >= shared.size()) {
          return Fail(Utf8(QStringLiteral("%1: ячейка ссылается на несуществующую строку %2").arg(name, value)));
        }
        text = shared[static_cast<std::size_t>(index)];
      } else if (type == QLatin1String("inlineStr")) {
        text = Utf8(hasInline ? inlineText : value);
      } else if (type == QLatin1String("str") || type == QLatin1String("e") || type == QLatin1String("d")) {
        text = Utf8(value);
      } else if (type == QLatin1String("b")) {
        text = value.trimmed() == QLatin1String("1") ? "1" : "0";
      } else if (!value.isEmpty()) {
        text = NumberText(value);
      }
      if (!text.empty() && !grid.set(cellRow, column, std::move(text))) return TooManyCells();
    } else if (element == QLatin1String("mergeCell")) {
      const QString ref = xml.attributes().value(QStringLiteral("ref")).toString();
      const qsizetype colon = ref.indexOf(QLatin1Char(':'));
      Merge m{};
      if (colon > 0 && ParseCellRef(QStringView(ref).left(colon), m.row0, m.col0) &&
          ParseCellRef(QStringView(ref).mid(colon + 1), m.row1, m.col1) && m.row0 <= m.row1 && m.col0 <= m.col1) {
        merges.push_back(m);
      }
    }
  }
  if (xml.hasError()) return Fail(Utf8(QStringLiteral("%1: %2").arg(name, xml.errorString())));
  for (const Merge& m : merges) {
    const std::string text = grid.at(m.row0, m.col0);
    if (text.empty()) continue;
    if ((m.row1 - m.row0 + 1) * (m.col1 - m.col0 + 1) > kSheetMaxCells) return TooManyCells();
    for (std::size_t r = m.row0; r <= m.row1; ++r) {
      for (std::size_t c = m.col0; c <= m.col1; ++c) {
        if ((r != m.row0 || c != m.col0) && !grid.set(r, c, text)) return TooManyCells();
      }
    }
  }
  return grid.take();
}

// The text of CSV bytes: UTF-8 (the byte-order mark dropped) when they are
// UTF-8, else Windows-1251.
std::string CsvText(QByteArrayView bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF"))
    return std::string(bytes.data() + 3, static_cast<std::size_t>(bytes.size() - 3));
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded = utf8.decode(bytes);
  if (!utf8.hasError()) return std::string(bytes.data(), static_cast<std::size_t>(bytes.size()));
  return DecodeCp1251(std::string_view(bytes.data(), static_cast<std::size_t>(bytes.size())));
}

// The number of each separator outside quotes on each of the first records.
char DetectSeparator(const std::string& text) {
  constexpr char kCandidates[] = {'\t', ';', ','};
  constexpr std::size_t kRecords = 20;
  std::vector<std::array<std::size_t, 3>> counts;
  std::array<std::size_t, 3> current{};
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < text.size() && counts.size() < kRecords; ++i) {
    const char ch = text[i];
    if (ch == '"') {
      quoted = !quoted;
    } else if (!quoted && (ch == '\n' || ch == '\r')) {
      if (any) counts.push_back(current);
      current = {};
      any = false;
    } else if (!quoted) {
      any = true;
      for (std::size_t k = 0; k < 3; ++k) {
        if (ch == kCandidates[k]) ++current[k];
      }
    }
  }
  if (any && counts.size() < kRecords) counts.push_back(current);
  if (counts.empty()) return ';';
  // A separator used the same number of times on every record wins, tab and
  // ";" before ",", which may be a decimal comma.
  for (std::size_t k = 0; k < 3; ++k) {
    const std::size_t first = counts.front()[k];
    if (first > 0 && std::all_of(counts.begin(), counts.end(), [&](const auto& c) { return c[k] == first; })) {
      return kCandidates[k];
    }
  }
  // Otherwise the one the header uses most.
  std::size_t best = 1;
  for (std::size_t k = 0; k < 3; ++k) {
    if (counts.front()[k] > counts.front()[best]) best = k;
  }
  return kCandidates[best];
}

}  // namespace

Result<TextGrid> ReadXlsxSheet(const QString& path) {
  const QString fileName = QFileInfo(path).fileName();
  // The parts' reasons are phrases; a limit's message is a whole sentence
  // and is shown as it is.
  const auto refuse = [&](const std::string& reason) {
    if (!reason.empty() && reason.back() == '.') return Fail(reason);
    return Fail(Utf8(QStringLiteral("Книга «%1» не прочитана: %2.").arg(fileName, QString::fromStdString(reason))));
  };
  const QFileInfo info(path);
  if (info.size() > kSheetFileMaxBytes) return TooLarge(QStringLiteral("Файл «%1»").arg(fileName), kSheetFileMaxBytes);
  Workbook book(path);
  if (!book.open()) return refuse("файл не является книгой .xlsx (не zip-архив) или не открывается");
  const Result<QString> sheet = FirstSheetPath(book);
  if (!sheet) return refuse(sheet.error());
  const Result<std::vector<std::string>> shared = SharedStrings(book);
  if (!shared) return refuse(shared.error());
  const Result<QByteArray> bytes = book.part(*sheet, true);
  if (!bytes) return refuse(bytes.error());
  Result<TextGrid> grid = ReadSheet(*bytes, *sheet, *shared);
  if (!grid) return refuse(grid.error());
  return grid;
}

Result<TextGrid> ReadCsvSheet(QByteArrayView bytes) {
  if (bytes.size() > kSheetFileMaxBytes) return TooLarge(QStringLiteral("Файл"), kSheetFileMaxBytes);
  const std::string text = CsvText(bytes);
  const char separator = DetectSeparator(text);
  GridBuilder grid;
  std::size_t row = 0;
  std::size_t column = 0;
  std::string field;
  bool quoted = false;
  bool rowHasText = false;
  const auto endField = [&]() {
    const bool ok = field.empty() || grid.set(row, column, std::move(field));
    field.clear();
    ++column;
    return ok;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (quoted) {
      if (ch == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        field += ch;
      }
      continue;
    }
    if (ch == '"') {
      quoted = true;
      rowHasText = true;
    } else if (ch == separator) {
      rowHasText = true;
      if (!endField()) return TooManyCells();
    } else if (ch == '\r' || ch == '\n') {
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      if (!endField()) return TooManyCells();
      ++row;
      column = 0;
      rowHasText = false;
    } else {
      field += ch;
      rowHasText = true;
    }
  }
  if (rowHasText && !endField()) return TooManyCells();
  return grid.take();
}

Result<TextGrid> ReadSheetFile(const QString& path) {
  const QFileInfo info(path);
  const QString suffix = info.suffix().toLower();
  if (info.size() > kSheetFileMaxBytes) {
    return TooLarge(QStringLiteral("Файл «%1»").arg(info.fileName()), kSheetFileMaxBytes);
  }
  if (suffix == QLatin1String("xlsx")) return ReadXlsxSheet(path);
  if (suffix != QLatin1String("csv") && suffix != QLatin1String("txt")) {
    return Fail(Utf8(
        QStringLiteral("Файл «%1» не прочитан: журнал читается из книг .xlsx и файлов .csv.").arg(info.fileName())));
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return Fail(Utf8(QStringLiteral("Файл «%1» не открыт: %2").arg(info.fileName(), file.errorString())));
  }
  const QByteArray bytes = file.read(kSheetFileMaxBytes + 1);
  if (bytes.size() > kSheetFileMaxBytes) {
    return TooLarge(QStringLiteral("Файл «%1»").arg(info.fileName()), kSheetFileMaxBytes);
  }
  return ReadCsvSheet(bytes);
}

Result<JournalImportFile> ImportJournalFile(const QString& path) {
  Result<TextGrid> grid = ReadSheetFile(path);
  if (!grid) return FailWith(grid.error());
  JournalImportFile file;
  file.grid = std::move(grid).value();
  file.mapping = ProposeImportMapping(file.grid);
  file.lines = ImportJournalRows(file.grid, file.mapping);
  file.report = JournalImportReport(file.grid, file.mapping, file.lines);
  return file;
}

}  // namespace tesmir
