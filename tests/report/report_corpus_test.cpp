#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "../../fuzz/report_roundtrip.h"
#include "report/report_file.h"

namespace tesmir {
namespace {

// Every file the reader was ever fuzzed from or tripped over stays a test case.
TEST(ReportCorpus, EveryFileReadsAndSurvivesASaveAndRead) {
  const QDir corpus(QStringLiteral(TESMIR_SOURCE_DIR "/fuzz/corpus"));
  const QStringList names = corpus.entryList(QDir::Files);
  ASSERT_GE(names.size(), 10);
  for (const QString& name : names) {
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const std::string bytes = file.readAll().toStdString();
    EXPECT_TRUE(ReadSaveReadKeepsRows(bytes, ReportLayout::Semicolon)) << name.toStdString();
    EXPECT_TRUE(ReadSaveReadKeepsRows(bytes, ReportLayout::Bar)) << name.toStdString();
  }
}

TEST(ReportCorpus, SeedFilesReadAsExpected) {
  const auto read = [](const char* name) {
    QFile file(QStringLiteral(TESMIR_SOURCE_DIR "/fuzz/corpus/") + QString::fromUtf8(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    const std::string bytes = file.readAll().toStdString();
    return ParseReport(bytes, *LayoutForFileName(QString::fromLatin1(name)));
  };
  const ParsedReport three = read("three_rows.csv");
  EXPECT_FALSE(three.damaged);
  EXPECT_EQ(three.rows[2][0], "№3");
  EXPECT_EQ(three.rows[2][8], "1\u00a0062,38");
  const ParsedReport bar = read("bar.okz");
  EXPECT_FALSE(bar.damaged);
  EXPECT_EQ(bar.rows[0][0], "К-1");
  EXPECT_EQ(bar.rows[1], ReportRow{});
  EXPECT_EQ(bar.rows[2][11], "Тср < 5 с");
  EXPECT_TRUE(read("leading_semicolon.csv").damaged);
  EXPECT_TRUE(read("empty_line.csv").damaged);
  EXPECT_TRUE(read("semicolon_in_name.csv").damaged);
  // Ctrl-Z ends the file; the row after it is not read, and the file is
  // damaged, so the damaged-file question guards it from being cut on save.
  EXPECT_TRUE(read("ctrl_z.csv").damaged);
  EXPECT_EQ(read("ctrl_z.csv").rows[1], ReportRow{});
}

}  // namespace
}  // namespace tesmir
