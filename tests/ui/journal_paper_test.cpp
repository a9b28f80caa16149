// The journal's PDF: its text (pdftotext) holds the network's data, every
// line's figures, the page numbers "Страница N из M" and the mark of the
// failing cells.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "core/display_format.h"
#include "paper/journal_paper.h"
#include "report/journal_file.h"
#include "support/ui_test_app.h"

namespace tesmir {
namespace {

TEST(JournalPaper, PdfTextHoldsEveryLinesFigures) {
  tesmir_test::EnsureApplication();
  const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  ASSERT_FALSE(pdftotext.isEmpty()) << "pdftotext (poppler-utils) is needed";
  const LoadedJournal loaded = LoadJournalFile(QStringLiteral(TESMIR_SOURCE_DIR "/examples/office.tsn"));
  ASSERT_TRUE(loaded.document.has_value());
  JournalNetwork net = loaded.document->network;
  // Many more lines, some failing, so the table runs over several pages.
  for (int i = 0; i < 60; ++i) {
    JournalLine l = net.lines[4 + static_cast<std::size_t>(i % 6)];
    l.id = "X" + std::to_string(i + 1);
    l.length = std::to_string(20 + 7 * i);
    net.lines.push_back(l);
  }
  const JournalResult result = ComputeJournal(net);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("journal.pdf"));
  const auto written = WriteJournalPdf(path, net, result, QStringLiteral("/work/ВРУ-1.tsn"), QDate(2026, 12, 8));
  ASSERT_TRUE(written.ok()) << written.error().message.toStdString();

  QProcess run;
  run.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
  ASSERT_TRUE(run.waitForFinished(60000));
  const QString text = QString::fromUtf8(run.readAllStandardOutput());
  ASSERT_FALSE(text.isEmpty());
  for (const char* expected : {"Журнал линий: Офисное здание", "T/Y-0, 400 кВА", "Sк макс 200 МВА, Sк мин 150 МВА",
                               "08.12.2026", "ВРУ-1.tsn", "Страница 1 из", "✗"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
  }
  const NumberSeparators point{".", ""};
  int failing = 0;
  for (std::size_t i = 0; i < net.lines.size(); ++i) {
    const LineResult& r = result.lines[i];
    ASSERT_TRUE(r.error().empty()) << net.lines[i].id;
    failing += LineFailsAVerdict(r) ? 1 : 0;
    EXPECT_TRUE(text.contains(QString::fromStdString(net.lines[i].id))) << net.lines[i].id;
    for (const Fig f : {Fig::Ik1, Fig::Ik1Min, Fig::TripCurrent}) {
      const QString figure = QString::fromStdString(FormatCurrent(*r.get(f)));
      EXPECT_TRUE(text.contains(figure)) << net.lines[i].id << ": " << figure.toStdString();
    }
    if (const auto du = r.get(Fig::DuTp)) {
      const QString figure = QString::fromStdString(FormatF2(*du, point));
      EXPECT_TRUE(text.contains(figure)) << net.lines[i].id << ": " << figure.toStdString();
    }
  }
  EXPECT_GT(failing, 0);
  // Every page says how many there are.
  const qsizetype pages = text.count(QStringLiteral("Страница "));
  EXPECT_GT(pages, 2);
  EXPECT_EQ(text.count(QStringLiteral(" из %1").arg(pages)), pages);
}

}  // namespace
}  // namespace tesmir
