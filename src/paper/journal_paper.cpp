#include "paper/journal_paper.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

#include "core/display_format.h"
#include "paper/journal_diagram.h"
#include "paper/page_flow.h"
#include "paper/pdf_file.h"
#include "report/journal_results.h"
#include "report/journal_workbook.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

const QPageLayout& JournalPageLayout() {
  static const QPageLayout layout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 10, 12, 10),
                                  QPageLayout::Millimeter);
  return layout;
}

QString OrDash(const std::string& text) { return text.empty() ? QStringLiteral("—") : QUtf8(text); }

}  // namespace

DiagramStyle JournalDiagramStyle() {
  DiagramStyle style;
  style.font = QFont(kPaperFontFamily);
  style.font.setPointSizeF(7.5);
  style.margin = 4;
  return style;
}

QSizeF JournalDiagramPageSize() {
  // The drawing area of the journal's page flow, on an empty page in memory.
  QBuffer scratch;
  scratch.open(QIODevice::WriteOnly);
  QPdfWriter writer(&scratch);
  writer.setPageLayout(JournalPageLayout());
  const PageFlow flow(writer, QString());
  return flow.drawingSize();
}

int PaintJournalPages(QPagedPaintDevice& device, const JournalNetwork& network, const JournalResult& result,
                      const QString& fileName, const QDate& date, int pageTotal) {
  device.setPageLayout(JournalPageLayout());
  PageFlow flow(device, QStringLiteral("Журнал линий"));
  if (!flow.active()) return 0;
  flow.setPageTotal(pageTotal);
  flow.title(network.name.empty() ? QStringLiteral("Журнал линий")
                                  : QStringLiteral("Журнал линий: ") + QUtf8(network.name));
  QString grid = QStringLiteral("не задана");
  if (!network.skMva.empty()) {
    grid = QStringLiteral("Sк макс %1 МВА, Sк мин %2 МВА")
               .arg(QUtf8(network.skMva), OrDash(network.skMinMva.empty() ? network.skMva : network.skMinMva));
  }
  std::vector<std::pair<QString, QString>> pairs = {
      {QStringLiteral("Трансформатор"),
       OrDash(network.scheme) + QStringLiteral(", ") + OrDash(network.power) + QStringLiteral(" кВА")},
      {QStringLiteral("Сеть высшего напряжения"), grid},
      {QStringLiteral("Rпр (дуга)"),
       (network.arc.empty() ? QStringLiteral("15") : QUtf8(network.arc)) + QStringLiteral(" мОм")},
      {QStringLiteral("Пределы ΔU"),
       QStringLiteral("от ТП %1 %, от ВРУ %2 %")
           .arg(network.duLimitTpPct.empty() ? QStringLiteral("5") : QUtf8(network.duLimitTpPct),
                network.duLimitVruPct.empty() ? QStringLiteral("4") : QUtf8(network.duLimitVruPct))},
  };
  if (result.transformerDrop) {
    pairs.emplace_back(QStringLiteral("ΔU трансформатора"),
                       QUtf8(FormatF2(*result.transformerDrop, NumberSeparators{".", ""})) + QStringLiteral(" %"));
  }
  if (!result.transformerError.empty()) pairs.emplace_back(QStringLiteral("Ошибка"), QUtf8(result.transformerError));
  pairs.emplace_back(QStringLiteral("Дата"), date.toString(QStringLiteral("dd.MM.yyyy")));
  pairs.emplace_back(QStringLiteral("Файл"),
                     fileName.isEmpty() ? QStringLiteral("не сохранен") : QFileInfo(fileName).fileName());
  flow.pairs(pairs);

  std::vector<QStringList> rows;
  rows.reserve(network.lines.size() + 1);
  rows.push_back(JournalColumnTitles());
  const std::size_t count = std::min(network.lines.size(), result.lines.size());
  for (std::size_t i = 0; i < count; ++i) {
    QStringList row = JournalRowTexts(network.lines[i], result.lines[i]);
    for (qsizetype c = 0; c < row.size(); ++c) {
      if (JournalCellFails(result.lines[i], static_cast<int>(c))) row[c] = kFailingCellMark + row[c];
    }
    rows.push_back(row);
  }
  const qsizetype columns = rows.front().size();
  // The designation and the boards, the verdicts and the remarks get more room.
  std::vector<qreal> widths(static_cast<std::size_t>(columns), 1.0);
  for (const int c : {1, 2, 7, 8, 11, 19}) widths[static_cast<std::size_t>(c)] = 1.6;
  widths.back() = 3.0;
  qreal sum = 0;
  for (const qreal w : widths) sum += w;
  for (qreal& w : widths) w /= sum;
  flow.table(widths, rows, 1);

  const DiagramStyle style = JournalDiagramStyle();
  const std::vector<DiagramPage> pages = LayoutJournalDiagram(network, result, flow.drawingSize(), style);
  for (const DiagramPage& page : pages) {
    flow.drawing([&](QPainter& painter) { PaintDiagramPage(painter, page, style.font); });
  }
  flow.finish();
  return flow.pages();
}

bool PaintJournal(QPagedPaintDevice& device, const JournalNetwork& network, const JournalResult& result,
                  const QString& fileName, const QDate& date) {
  QBuffer scratch;
  scratch.open(QIODevice::WriteOnly);
  QPdfWriter counter(&scratch);
  counter.setResolution(device.logicalDpiY());
  const int pages = PaintJournalPages(counter, network, result, fileName, date, 0);
  if (pages == 0) return false;
  return PaintJournalPages(device, network, result, fileName, date, pages) > 0;
}

Result<FileSaved, FileError> WriteJournalPdf(const QString& path, const JournalNetwork& network,
                                             const JournalResult& result, const QString& fileName, const QDate& date) {
  return SavePdfFile(path, QStringLiteral("Журнал линий"),
                     [&](QPagedPaintDevice& device) { return PaintJournal(device, network, result, fileName, date); });
}

}  // namespace tesmir
