#pragma once
// Reads back the parts of a written workbook the export tests check: the
// workbook and sheet XML come out of the zip through the unzip tool.

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QXmlStreamReader>

namespace tesmir::testing {

// The unzip tool, looked up once: tests that put stand-in programs on PATH
// call this before they change it.
inline const QString& UnzipProgram() {
  static const QString path = QStandardPaths::findExecutable(QStringLiteral("unzip"));
  return path;
}

// The largest part the tests read back; the workbooks they write are far
// smaller.
inline constexpr qint64 kMaxXlsxPartBytes = 64 * 1024 * 1024;

// One part of the workbook, or nothing when it is missing. A part that is
// larger than kMaxXlsxPartBytes or that unzip does not deliver within 10 s
// fails the test.
inline QByteArray ReadXlsxPart(const QString& file, const QString& part) {
  QProcess unzip;
  unzip.start(UnzipProgram(), {QStringLiteral("-p"), file, part});
  const bool finished = unzip.waitForFinished(10000);
  if (!finished) {
    unzip.kill();
    unzip.waitForFinished(1000);
    ADD_FAILURE() << "unzip did not finish reading " << part.toStdString();
    return {};
  }
  if (unzip.exitStatus() != QProcess::NormalExit || unzip.exitCode() != 0) return {};
  if (unzip.bytesAvailable() > kMaxXlsxPartBytes) {
    ADD_FAILURE() << part.toStdString() << " is larger than " << kMaxXlsxPartBytes << " bytes";
    return {};
  }
  return unzip.readAllStandardOutput();
}

struct XlsxCell {
  std::string text;     // the shared string, or empty for a blank cell
  bool shared = false;  // from the shared-string table
  bool isText = false;  // a text cell, shared or inline
  int style = 0;
};

struct XlsxColumn {
  int min = 0;
  int max = 0;
  double width = 0;
  QString widthText;
};

struct XlsxFormat {
  bool bold = false;
  QString horizontal;            // "center", "right", or empty
  std::vector<QString> borders;  // styles of left, right, top, bottom
};

struct XlsxSheet {
  std::vector<QString> sheetNames;
  std::map<std::pair<int, int>, XlsxCell> cells;  // (row, column), both from 0
  std::vector<XlsxColumn> columns;
  std::vector<XlsxFormat> formats;  // by cell style index
  bool ok = false;
};

inline std::pair<int, int> CellPosition(const QString& ref) {
  int col = 0;
  int i = 0;
  while (i < ref.size() && ref[i].isLetter()) col = col * 26 + (ref[i++].unicode() - 'A' + 1);
  return {ref.mid(i).toInt() - 1, col - 1};
}

inline XlsxSheet ReadXlsxSheet(const QString& file) {
  XlsxSheet result;
  const QByteArray workbook = ReadXlsxPart(file, QStringLiteral("xl/workbook.xml"));
  const QByteArray sheet = ReadXlsxPart(file, QStringLiteral("xl/worksheets/sheet1.xml"));
  const QByteArray styles = ReadXlsxPart(file, QStringLiteral("xl/styles.xml"));
  const QByteArray strings = ReadXlsxPart(file, QStringLiteral("xl/sharedStrings.xml"));
  if (workbook.isEmpty() || sheet.isEmpty() || styles.isEmpty()) return result;

  for (QXmlStreamReader xml(workbook); !xml.atEnd();)
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"sheet")
      result.sheetNames.push_back(xml.attributes().value(QLatin1String("name")).toString());

  std::vector<std::string> shared;
  for (QXmlStreamReader xml(strings); !xml.atEnd();) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"si") shared.emplace_back();
    if (xml.name() == u"t" && !shared.empty()) shared.back() += xml.readElementText().toStdString();
  }

  std::vector<bool> fontBold;
  std::vector<std::vector<QString>> borders;
  bool inCellXfs = false;
  for (QXmlStreamReader xml(styles); !xml.atEnd();) {
    const auto token = xml.readNext();
    if (token == QXmlStreamReader::EndElement && xml.name() == u"cellXfs") inCellXfs = false;
    if (token != QXmlStreamReader::StartElement) continue;
    const auto name = xml.name();
    if (name == u"font") fontBold.push_back(false);
    if (name == u"b" && !fontBold.empty()) fontBold.back() = true;
    if (name == u"border") borders.emplace_back();
    if ((name == u"left" || name == u"right" || name == u"top" || name == u"bottom") && !borders.empty())
      borders.back().push_back(xml.attributes().value(QLatin1String("style")).toString());
    if (name == u"cellXfs") inCellXfs = true;
    if (inCellXfs && name == u"xf") {
      XlsxFormat format;
      const auto font = static_cast<std::size_t>(xml.attributes().value(QLatin1String("fontId")).toInt());
      const auto border = static_cast<std::size_t>(xml.attributes().value(QLatin1String("borderId")).toInt());
      format.bold = font < fontBold.size() && fontBold[font];
      if (border < borders.size()) format.borders = borders[border];
      result.formats.push_back(format);
    }
    if (inCellXfs && name == u"alignment" && !result.formats.empty())
      result.formats.back().horizontal = xml.attributes().value(QLatin1String("horizontal")).toString();
  }

  for (QXmlStreamReader xml(sheet); !xml.atEnd();) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"col") {
      XlsxColumn column;
      column.min = xml.attributes().value(QLatin1String("min")).toInt();
      column.max = xml.attributes().value(QLatin1String("max")).toInt();
      column.widthText = xml.attributes().value(QLatin1String("width")).toString();
      column.width = column.widthText.toDouble();
      result.columns.push_back(column);
    }
    if (xml.name() == u"c") {
      XlsxCell cell;
      const auto pos = CellPosition(xml.attributes().value(QLatin1String("r")).toString());
      cell.style = xml.attributes().value(QLatin1String("s")).toInt();
      const auto type = xml.attributes().value(QLatin1String("t"));
      cell.shared = type == u"s";
      cell.isText = cell.shared || type == u"inlineStr" || type == u"str";
      while (!(xml.readNext() == QXmlStreamReader::EndElement && xml.name() == u"c") && !xml.atEnd()) {
        if (xml.tokenType() == QXmlStreamReader::StartElement && xml.name() == u"v") {
          const auto index = static_cast<std::size_t>(xml.readElementText().toInt());
          if (cell.shared && index < shared.size()) cell.text = shared[index];
        }
        if (xml.tokenType() == QXmlStreamReader::StartElement && xml.name() == u"t" && !cell.shared)
          cell.text += xml.readElementText().toStdString();
      }
      result.cells[pos] = cell;
    }
  }
  result.ok = true;
  return result;
}

}  // namespace tesmir::testing
