#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "report/report_file.h"
#include "support/report_test_support.h"

namespace tesmir {
namespace {

// The two header lines in Windows-1251, written out byte by byte.
const QByteArray kHeader =
    "\xB9 \xF2\xEE\xF7\xEA\xE8;R\xF2/3;X\xF2/3;R\xEB;X\xEB;R\xEF\xF0;R\xF4-\xED;X\xF4-\xED;|Z\xF4-\xED|;"
    "I\xEE\xEA\xE7;I\xF1\xF0;T\xF1\xF0;\r\n"
    " ;\xEC\xCE\xEC;\xEC\xCE\xEC;\xEC\xCE\xEC;\xEC\xCE\xEC;\xEC\xCE\xEC;\xEC\xCE\xEC;\xEC\xCE\xEC;\xEC\xCE\xEC;"
    "\xC0;\xC0;\xF1;\r\n";

ReportTable ThreeRowTable() {
  ReportTable table;
  table.assignRows({
      {"К-1", "652,40", "805,75", "0,00", "0,00", "40", "692,40", "805,75", "1 062,38", "217", "---", "---"},
      {"К-2", "1,00", "2,00", "3,00", "4,00", "5", "6,00", "7,00", "8,00", "9", "1250", "\u0422ср < 0,4 с"},
      {"№3", "0,00", "0,00", "0,00", "0,00", "0", "0,00", "0,00", "0,00", "231000", "62,5", "\u0422ср < 5 с"},
  });
  return table;
}

const QByteArray kThreeRowFile = kHeader +
                                 "\xCA-1;652,40;805,75;0,00;0,00;40;692,40;805,75;1 062,38;217;---;---;\r\n"
                                 "\xCA-2;1,00;2,00;3,00;4,00;5;6,00;7,00;8,00;9;1250;\xD2\xF1\xF0 < 0,4 \xF1;\r\n"
                                 "\xB9"
                                 "3;0,00;0,00;0,00;0,00;0;0,00;0,00;0,00;231000;62,5;\xD2\xF1\xF0 < 5 \xF1;\r\n";

TEST(ReportFile, HeaderLinesHaveTheirLengths) {
  ASSERT_EQ(kHeader.size(), 58 + 2 + 40 + 2);
  ReportTable table;
  table.setCell(0, 0, "x");
  EXPECT_EQ(EncodedBytes(table).left(kHeader.size()), kHeader);
}

TEST(ReportFile, EmptyReportIsZeroBytes) {
  EXPECT_TRUE(EncodeReport(ReportTable{}).empty());
  ReportTable table;
  table.setCell(3, 5, "a value in an unnamed row");
  EXPECT_TRUE(EncodeReport(table).empty());
}

TEST(ReportFile, ThreeRowsByteForByte) {
  const QByteArray bytes = EncodedBytes(ThreeRowTable());
  EXPECT_EQ(bytes, kThreeRowFile);
  EXPECT_EQ(bytes.count("\r\n"), 5);
  EXPECT_EQ(bytes.count(';'), 12 * 5);
}

TEST(ReportFile, NamedRowsAreWrittenWholeAndUnnamedRowsLeftOut) {
  ReportTable table;
  table.assignRows({{"A", "1", "", "3", "4", "5", "6", "7", "8", "9", "10", "11"},
                    {},
                    {"", "orphan", "", "", "", "", "", "", "", "", "", ""},
                    {"B", "", "", "", "", "", "", "", "", "", "", ""}});
  EXPECT_EQ(EncodedBytes(table), kHeader + "A;1;;3;4;5;6;7;8;9;10;11;\r\nB;;;;;;;;;;;;\r\n");
}

TEST(ReportFile, CharactersWithoutABytePassAsVisibleText) {
  ReportTable table;
  table.assignRows({{"A", "1\u202f234,57", "ŝ", "", "", "", "", "", "", "", "", ""}});
  const QByteArray bytes = EncodedBytes(table);
  EXPECT_TRUE(
      bytes.contains("A;1\xA0"
                     "234,57;?;"));
  EXPECT_FALSE(bytes.contains('\x1a')) << "Ctrl-Z would end the file when read";
}

TEST(ReportFile, RoundTripThroughTheSemicolonLayout) {
  ReportTable table = ThreeRowTable();
  table.setCell(2, 1, "1\u00a0234,57");  // the no-break space of a Russian desktop
  table.setCell(0, 2, "€‰«»ёЁ");
  const ParsedReport parsed = ParseReport(EncodeReport(table), ReportLayout::Semicolon);
  EXPECT_FALSE(parsed.damaged);
  ASSERT_EQ(parsed.rows.size(), 14u);
  for (int r = 0; r < 14; ++r) EXPECT_EQ(parsed.rows[static_cast<std::size_t>(r)], table.row(r)) << r;
}

TEST(ReportFile, RoundTripThroughTheBarLayout) {
  const ReportTable table = ThreeRowTable();
  for (const char* lineEnd : {"\r\n", "\n"}) {
    const ParsedReport parsed = ParseReport(BarLayoutBytes(table, lineEnd), ReportLayout::Bar);
    EXPECT_FALSE(parsed.damaged);
    ASSERT_EQ(parsed.rows.size(), 14u);
    for (int r = 0; r < 14; ++r) EXPECT_EQ(parsed.rows[static_cast<std::size_t>(r)], table.row(r)) << r;
  }
}

TEST(ReportFile, ManyRowsRoundTripWhole) {
  const ReportTable table = NumberedTable(2500);
  const ParsedReport parsed = ParseReport(EncodeReport(table), ReportLayout::Semicolon);
  EXPECT_FALSE(parsed.damaged);
  ASSERT_EQ(parsed.rows.size(), 2500u);
  EXPECT_EQ(parsed.rows.back(), table.row(2499));
}

TEST(ReportFile, RowCountFollowsTheDataLines) {
  EXPECT_EQ(ParseReport(EncodeReport(NumberedTable(16)), ReportLayout::Semicolon).rows.size(), 16u);
  const ParsedReport three = ParseReport(EncodeReport(NumberedTable(3)), ReportLayout::Semicolon);
  ASSERT_EQ(three.rows.size(), 14u);
  EXPECT_EQ(three.rows[2][0], "P2");
  EXPECT_EQ(three.rows[3], ReportRow{});
  const ParsedReport empty = ParseReport(QByteArray(), ReportLayout::Semicolon);
  EXPECT_FALSE(empty.damaged);
  EXPECT_EQ(empty.rows, std::vector<ReportRow>(14));
}

struct ParseCase {
  const char* what;
  QByteArray bytes;
  ReportLayout layout;
  bool damaged;
  std::vector<ReportRow> firstRows;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.what; }

class ParseLines : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseLines, CutCellsAsTheyFall) {
  const ParseCase& c = GetParam();
  const ParsedReport parsed = ParseReport(c.bytes, c.layout);
  EXPECT_EQ(parsed.damaged, c.damaged);
  ASSERT_GE(parsed.rows.size(), c.firstRows.size());
  for (std::size_t r = 0; r < c.firstRows.size(); ++r) EXPECT_EQ(parsed.rows[r], c.firstRows[r]) << "row " << r;
}

const ReportRow kAtoL{"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l"};
const QByteArray kAtoLSemicolon = "a;b;c;d;e;f;g;h;i;j;k;l;";
const QByteArray kAtoLBar = "|a|b|c|d|e|f|g|h|i|j|k|l|";
const QByteArray kTwoHeaders = "h;h;h;h;h;h;h;h;h;h;h;h;\r\nu;u;u;u;u;u;u;u;u;u;u;u;\r\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Files, ParseLines,
    ::testing::Values(
        ParseCase{"header contents are not compared", kTwoHeaders + kAtoLSemicolon, ReportLayout::Semicolon, false,
                  {kAtoL}},
        ParseCase{"last line without a line end", kTwoHeaders + kAtoLSemicolon + "\r\n" + kAtoLSemicolon,
                  ReportLayout::Semicolon, false, {kAtoL, kAtoL}},
        ParseCase{"leading ';' counts twice and shifts the cells",
                  kTwoHeaders + ";a;b;c;d;e;f;g;h;i;j;k;\r\n", ReportLayout::Semicolon, true,
                  {{"", "", "a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}}},
        ParseCase{"empty line in a semicolon file", kTwoHeaders + "\r\n" + kAtoLSemicolon + "\r\n",
                  ReportLayout::Semicolon, true, {ReportRow{}, kAtoL}},
        ParseCase{"empty line in a bar file", "\r\n" + kAtoLBar + "\r\n", ReportLayout::Bar, false,
                  {ReportRow{}, kAtoL}},
        ParseCase{"';' inside a hand-edited name", kTwoHeaders + "\xCA;1;b;c;d;e;f;g;h;i;j;k;l;\r\n",
                  ReportLayout::Semicolon, true,
                  {{"К", "1", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}}},
        ParseCase{"a lone CR ends a line", kTwoHeaders + kAtoLSemicolon + "\rtrailing;junk\r\n",
                  ReportLayout::Semicolon, true,
                  {kAtoL, {"trailing", "", "", "", "", "", "", "", "", "", "", ""}}},
        ParseCase{"CR-only line ends",
                  QByteArray(kTwoHeaders).replace("\r\n", "\r") + kAtoLSemicolon + "\r" + kAtoLSemicolon + "\r",
                  ReportLayout::Semicolon, false, {kAtoL, kAtoL}},
        ParseCase{"mixed CR LF, LF and CR line ends lose no row",
                  kTwoHeaders + kAtoLSemicolon + "\n" + kAtoLSemicolon + "\r" + kAtoLSemicolon + "\r\n" +
                      kAtoLSemicolon,
                  ReportLayout::Semicolon, false, {kAtoL, kAtoL, kAtoL, kAtoL}},
        ParseCase{"bar file with CR-only line ends", kAtoLBar + "\r" + kAtoLBar + "\r", ReportLayout::Bar, false,
                  {kAtoL, kAtoL}},
        ParseCase{"text after Ctrl-Z makes the file damaged",
                  kTwoHeaders + kAtoLSemicolon + "\r\n\x1a" + "x;y;\r\n", ReportLayout::Semicolon, true,
                  {kAtoL, ReportRow{}}},
        ParseCase{"Ctrl-Z as the last byte is only the end", kTwoHeaders + kAtoLSemicolon + "\r\n\x1a",
                  ReportLayout::Semicolon, false, {kAtoL, ReportRow{}}},
        ParseCase{"UTF-8 with a byte-order mark", "\xEF\xBB\xBF|\xD0\x9A-1|\xE2\x84\x96|b|c|d|e|f|g|h|i|j|k|",
                  ReportLayout::Bar, false, {{"К-1", "№", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k"}}},
        ParseCase{"UTF-8 without a byte-order mark", kTwoHeaders + "\xD0\x9A-1;\xE2\x84\x96;;;;;;;;;;;",
                  ReportLayout::Semicolon, false, {{"К-1", "№", "", "", "", "", "", "", "", "", "", ""}}},
        ParseCase{"UTF-8 a save could not keep in Windows-1251", kTwoHeaders + "\xE4\xB8\xAD;;;;;;;;;;;;",
                  ReportLayout::Semicolon, true, {{"中", "", "", "", "", "", "", "", "", "", "", ""}}},
        ParseCase{"short line: missing cells are empty", kTwoHeaders + "a;b;\r\n", ReportLayout::Semicolon, true,
                  {{"a", "b", "", "", "", "", "", "", "", "", "", ""}}},
        ParseCase{"separators beyond the twelve cells are ignored",
                  kTwoHeaders + kAtoLSemicolon + "m;n;o;p;q;r;s;t;u;v;w;x;y;\r\n", ReportLayout::Semicolon, false,
                  {kAtoL}},
        ParseCase{"bar line without bars gives an empty row", "text only\r\n" + kAtoLBar, ReportLayout::Bar, false,
                  {ReportRow{}, kAtoL}},
        ParseCase{"bar line that misses its first bar", "a|b|c|d|e|f|g|h|i|j|k|l|\r\n", ReportLayout::Bar, true,
                  {{"c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "", ""}}},
        ParseCase{"Windows-1251 bytes become UTF-8", kTwoHeaders + "\xCA-1;\xB9;\x88;;;;;;;;;;", ReportLayout::Semicolon,
                  false, {{"К-1", "№", "€", "", "", "", "", "", "", "", "", ""}}}),
    [](const ::testing::TestParamInfo<ParseCase>& test) { return "case" + std::to_string(test.index); });
// clang-format on

TEST(ReportFile, LayoutFollowsTheLastThreeCharacters) {
  EXPECT_EQ(LayoutForFileName(QStringLiteral("/tmp/a.csv")), ReportLayout::Semicolon);
  EXPECT_EQ(LayoutForFileName(QStringLiteral("/tmp/a.okz")), ReportLayout::Bar);
  EXPECT_EQ(LayoutForFileName(QStringLiteral("/tmp/report_csv")), ReportLayout::Semicolon);
  // Any case: "ОТЧЕТ.CSV" written by another program is a report too.
  EXPECT_EQ(LayoutForFileName(QStringLiteral("/tmp/a.CSV")), ReportLayout::Semicolon);
  EXPECT_EQ(LayoutForFileName(QStringLiteral("/tmp/a.Okz")), ReportLayout::Bar);
  EXPECT_EQ(LayoutForFileName(QStringLiteral("/tmp/a.txt")), std::nullopt);
}

TEST(ReportFile, SaveAndLoadThroughTheDisk) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("отчет.csv"));
  EXPECT_TRUE(SaveReportFile(path, ThreeRowTable()).ok());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), kThreeRowFile);
  file.close();
  const Result<LoadedReport, QString> read = LoadReportFile(path, ReportLayout::Semicolon);
  ASSERT_TRUE(read.ok()) << read.error().toStdString();
  const LoadedReport& loaded = *read;
  EXPECT_FALSE(loaded.scan.damaged);
  EXPECT_EQ(loaded.scan.dataLines, 3u);
  EXPECT_EQ(ParseReport(loaded.bytes, ReportLayout::Semicolon).rows[1], ThreeRowTable().row(1));

  EXPECT_TRUE(SaveReportFile(path, ReportTable{}).ok());
  EXPECT_EQ(QFileInfo(path).size(), 0);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("отчет.csv")})
      << "no temporary file is left";
}

TEST(ReportFile, FailuresCarryTheSystemText) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile blocker(dir.filePath(QStringLiteral("plain-file")));
  ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
  blocker.close();
  const QString impossible = dir.filePath(QStringLiteral("plain-file/report.csv"));
  const Result<ReportSaved, QString> saved = SaveReportFile(impossible, ThreeRowTable());
  ASSERT_FALSE(saved.ok());
  const QString& saveError = saved.error();
  EXPECT_TRUE(saveError.contains(QStringLiteral("report.csv"))) << saveError.toStdString();
  const Result<LoadedReport, QString> missing =
      LoadReportFile(dir.filePath(QStringLiteral("missing.csv")), ReportLayout::Semicolon);
  ASSERT_FALSE(missing.ok());
  EXPECT_TRUE(missing.error().contains(QStringLiteral("missing.csv")));
  EXPECT_GT(missing.error().size(), QStringLiteral("missing.csv").size() + 25);
}

TEST(ReportFile, FailedSaveKeepsThePreviousFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("r.csv"));
  ASSERT_TRUE(SaveReportFile(path, ThreeRowTable()).ok());
  // A file size limit makes the disk "full" after 1 KiB, even for root.
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const Result<ReportSaved, QString> saved = SaveReportFile(path, NumberedTable(40));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  ASSERT_FALSE(saved.ok());
  EXPECT_NE(saved.error(), QStringLiteral(""));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), kThreeRowFile);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("r.csv")});
}

// Nothing is written that the reader would then refuse: the save names the
// limit and the old file stays. Small limits stand in for the real ones.
TEST(ReportFile, RefusesToWriteWhatItWouldNotRead) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("r.csv"));
  ASSERT_TRUE(SaveReportFile(path, ThreeRowTable()).ok());
  const std::size_t bytes = EncodeReport(NumberedTable(40)).size();
  struct Case {
    ReportFileLimits limits;
    QString reason;
  };
  const Case cases[] = {
      {{static_cast<qint64>(bytes) - 1, kReportFileMaxRows}, QStringLiteral("не более %1 байт").arg(bytes - 1)},
      {{kReportFileMaxBytes, 39}, QStringLiteral("не более 39 строк")},
  };
  for (const Case& c : cases) {
    const Result<ReportSaved, QString> saved = SaveReportFile(path, NumberedTable(40), c.limits);
    ASSERT_FALSE(saved.ok()) << c.reason.toStdString();
    EXPECT_TRUE(saved.error().startsWith(QStringLiteral("Не удалось сохранить файл %1.").arg(path)))
        << saved.error().toStdString();
    EXPECT_TRUE(saved.error().contains(c.reason)) << saved.error().toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kThreeRowFile);
  }
  EXPECT_TRUE(SaveReportFile(path, NumberedTable(40), {static_cast<qint64>(bytes), 40}).ok()) << "at the limits";
}

// Files the reader refuses before building any row, each with a message
// naming the file and the reason; small limits stand in for the real ones.
TEST(ReportFile, RefusesWhatIsNotABoundedRegularFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const auto write = [&dir](const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(QString::fromUtf8(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  };
  const QString fifo = dir.filePath(QStringLiteral("pipe.csv"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString zero = dir.filePath(QStringLiteral("zero.csv"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
  const ReportFileLimits small{1000, 5};
  struct Case {
    QString path;
    const char* reason;
  };
  const Case cases[] = {
      {fifo, "не является обычным файлом"},  // would block in open() without O_NONBLOCK
      {zero, "не является обычным файлом"},  // endless
      {dir.path(), "не является обычным файлом"},
      {write("big.csv", QByteArray(1001, '\n')), "не более 1000 байт"},
      {write("lines.csv", QByteArray(8, '\n')), "содержит 6 строк данных, а отчет вмещает не более 5 строк"},
      {write("lines.okz", QByteArray(6, '\n')), "содержит 6 строк данных"},
  };
  for (const Case& c : cases) {
    const ReportLayout layout = c.path.endsWith(QStringLiteral("okz")) ? ReportLayout::Bar : ReportLayout::Semicolon;
    const Result<LoadedReport, QString> loaded = LoadReportFile(c.path, layout, small);
    ASSERT_FALSE(loaded.ok()) << c.reason;
    EXPECT_TRUE(loaded.error().contains(QString::fromUtf8(c.reason))) << loaded.error().toStdString();
    EXPECT_TRUE(loaded.error().contains(QDir::toNativeSeparators(c.path))) << loaded.error().toStdString();
  }
  // At the limits the file is read.
  EXPECT_TRUE(LoadReportFile(write("fits.csv", QByteArray(7, '\n')), ReportLayout::Semicolon, small).ok());
  EXPECT_TRUE(LoadReportFile(write("fits.okz", QByteArray(5, '\n')), ReportLayout::Bar, small).ok());
}

TEST(ReportFile, TheRealLimitsAreNamedInMegabytesAndRows) {
  EXPECT_EQ(kReportFileMaxBytes, 160 * 1024 * 1024);
  // As many rows as allowed of the longest row the program writes still fit.
  const std::string longest =
      "12345678;9 999 999,99;9 999 999,99;9 999 999,99;9 999 999,99;9 999 999,99;"
      "9 999 999,99;9 999 999,99;9 999 999,99;99 999 999;9 999 999,99;Тср < 0,4 с;\r\n";
  EXPECT_LE(static_cast<qint64>(longest.size() * kReportFileMaxRows + 200), kReportFileMaxBytes);
  EXPECT_EQ(kReportFileMaxRows, 1048576u - 2u);  // a sheet less its two header rows
  QTemporaryDir dir;
  QFile file(dir.filePath(QStringLiteral("sparse.csv")));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.resize(kReportFileMaxBytes + 1));  // sparse: takes no disk space
  file.close();
  const Result<LoadedReport, QString> loaded = LoadReportFile(file.fileName(), ReportLayout::Semicolon);
  ASSERT_FALSE(loaded.ok());
  EXPECT_TRUE(loaded.error().contains(QString::fromUtf8("не более 160 МБ"))) << loaded.error().toStdString();
}

TEST(ReportFile, ScanCountsDataLinesAndDamageWithoutBuildingRows) {
  struct Case {
    QByteArray bytes;
    ReportLayout layout;
    std::size_t lines;
    bool damaged;
  };
  const Case cases[] = {
      {kThreeRowFile, ReportLayout::Semicolon, 3, false}, {"", ReportLayout::Semicolon, 0, false},
      {"\n\n\n\n", ReportLayout::Semicolon, 2, true},     {"\n\n\n\n", ReportLayout::Bar, 4, false},
      {"a\r\nb\x1a", ReportLayout::Bar, 2, false},        {"a\r\nb\x1a\n\n\n", ReportLayout::Bar, 2, true},
      {"a\rb\rc", ReportLayout::Bar, 3, false},
  };
  for (const Case& c : cases) {
    const ReportScan scan = ScanReport(c.bytes, c.layout);
    EXPECT_EQ(scan.dataLines, c.lines) << c.bytes.toStdString();
    EXPECT_EQ(scan.damaged, c.damaged) << c.bytes.toStdString();
    EXPECT_EQ(scan.damaged, ParseReport(c.bytes, c.layout).damaged);
  }
}

}  // namespace
}  // namespace tesmir
