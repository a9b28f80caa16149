#include "paper/calc_note.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "paper/feeder_picture.h"
#include "paper/page_flow.h"
#include "paper/pdf_file.h"
#include "report/report_table.h"
#include "report/utf8_text.h"
#include "tesmir_version.h"

namespace tesmir {
namespace {

const QString kNoValue = QStringLiteral("—");

// Collects the note's blocks with the calls of the page flow.
class NoteBuilder {
 public:
  void title(const QString& text) { add(NoteBlock::Kind::Title, text); }
  void heading(const QString& text) { add(NoteBlock::Kind::Heading, text); }
  void subheading(const QString& text) { add(NoteBlock::Kind::Subheading, text); }
  void paragraph(const QString& text, bool bold = false) {
    add(bold ? NoteBlock::Kind::BoldParagraph : NoteBlock::Kind::Paragraph, text);
  }
  void pairs(std::vector<std::pair<QString, QString>> rows) {
    NoteBlock& b = add(NoteBlock::Kind::Pairs, {});
    b.pairs = std::move(rows);
  }
  void table(std::vector<qreal> widths, std::vector<QStringList> rows, int headerRows) {
    NoteBlock& b = add(NoteBlock::Kind::Table, {});
    b.widths = std::move(widths);
    b.rows = std::move(rows);
    b.headerRows = headerRows;
  }
  void picture() { add(NoteBlock::Kind::Picture, {}); }
  std::vector<NoteBlock> take() { return std::move(blocks_); }

 private:
  NoteBlock& add(NoteBlock::Kind kind, const QString& text) {
    NoteBlock b;
    b.kind = kind;
    b.text = text;
    blocks_.push_back(std::move(b));
    return blocks_.back();
  }
  std::vector<NoteBlock> blocks_;
};

// "√(a² + b²)", built by joining: a placeholder followed by "²" would be read
// as a two-digit placeholder.
QString RootOfSquares(const QString& a, const QString& b) {
  return QStringLiteral("√(") + a + QStringLiteral("² + ") + b + QStringLiteral("²)");
}

// The sections the feeder has: those with a length above 0, numbered 1..6.
std::vector<int> GivenLines(const SchemeState& s) {
  std::vector<int> given;
  for (int i = 0; i < kLineCount; ++i) {
    if (s.Lines[LineIndex(i)].Length > 0) given.push_back(i);
  }
  return given;
}

// "Линии 3–6 не заданы", "Линия 2 не задана", "Линии 2, 4–6 не заданы"; empty
// when every section has a length.
QString MissingLinesText(const std::vector<int>& given) {
  std::vector<int> missing;
  for (int i = 0; i < kLineCount; ++i) {
    if (std::find(given.begin(), given.end(), i) == given.end()) missing.push_back(i + 1);
  }
  if (missing.empty()) return {};
  QStringList ranges;
  for (std::size_t k = 0; k < missing.size();) {
    std::size_t end = k;
    while (end + 1 < missing.size() && missing[end + 1] == missing[end] + 1) ++end;
    ranges << (end == k ? QString::number(missing[k]) : QStringLiteral("%1–%2").arg(missing[k]).arg(missing[end]));
    k = end + 1;
  }
  if (missing.size() == 1) return QStringLiteral("Линия %1 не задана.").arg(ranges.first());
  return QStringLiteral("Линии %1 не заданы.").arg(ranges.join(QStringLiteral(", ")));
}

void WriteInputs(NoteBuilder& flow, const CalcNote& n) {
  const SchemeState& s = n.scheme;
  flow.heading(QStringLiteral("1. Исходные данные"));
  flow.paragraph(
      QStringLiteral("Номинальное напряжение питающей сети ~380/220 В, напряжение низкой стороны "
                     "трансформатора ~ 400/230 В."));
  flow.paragraph(QStringLiteral("Трансформатор: схема соединения обмоток %1, номинальная мощность %2 кВ*А.")
                     .arg(n.texts.windKind, n.texts.power));
  std::vector<QStringList> rows;
  rows.push_back({QStringLiteral("№"), QStringLiteral("Тип линии"),
                  QStringLiteral("Материал жилы или марка шинопровода"), QStringLiteral("Сечение фазы, кв.мм"),
                  QStringLiteral("Сечение нуля, кв.мм"), QStringLiteral("Длина, м"),
                  QStringLiteral("Количество параллельных проводов, шт.")});
  const std::vector<int> given = GivenLines(s);
  for (const int i : given) {
    const LineSegment& seg = s.Lines[LineIndex(i)];
    const bool busbar = ClassifyLineKind(seg.Kind) == LineKindClass::Tire;
    rows.push_back({QString::number(i + 1), QUtf8(seg.Kind), QUtf8(seg.Stuff), busbar ? kNoValue : QUtf8(seg.Ff),
                    busbar ? kNoValue : QUtf8(seg.Fn), PlainText(seg.Length, n.seps), QString::number(seg.QuanPar)});
  }
  if (!given.empty()) flow.table({0.04, 0.22, 0.22, 0.1, 0.1, 0.1, 0.22}, rows, 1);
  const QString missing = MissingLinesText(given);
  if (!missing.isEmpty()) flow.paragraph(missing);
  flow.paragraph(QStringLiteral("Переходное сопротивление контактов + сопротивление электрической дуги: "
                                "Rпр = %1 мОм.")
                     .arg(PlainText(s.RArc, n.seps)));
}

void WriteMethod(NoteBuilder& flow, const CalcNote& n) {
  const SchemeState& s = n.scheme;
  const NumberSeparators& seps = n.seps;
  const auto g = [&seps](double v) { return PlainText(v, seps); };
  const auto f2 = [&seps](double v) { return OhmText(v, seps); };
  flow.heading(QStringLiteral("3. Методика и расчет"));
  flow.paragraph(
      QStringLiteral("Ток однофазного короткого замыкания в конце линии определяется по полному "
                     "сопротивлению петли \"фаза-ноль\": сопротивление трансформатора однофазному "
                     "замыканию (одна треть суммарного на три фазы значения), сопротивления линий "
                     "(фазная и нулевая жилы, с учетом параллельных проводов) и переходное "
                     "сопротивление контактов и дуги. Сопротивления в мОм, погонные в мОм/м."));
  flow.paragraph(
      QStringLiteral("Источники: метод петли \"фаза-ноль\" — ГОСТ 28249-93; нормативное время отключения — "
                     "ПУЭ, изд. 7, п. 1.7.79; коэффициенты проверки защиты (нагрев проводников, напряжение) — "
                     "IEC 60909-0."));
  flow.subheading(QStringLiteral("3.1. Трансформатор"));
  flow.paragraph(QStringLiteral("%1, %2, %3 (суммарные на три фазы).").arg(n.texts.rt, n.texts.xt, n.texts.zt));
  flow.paragraph(QStringLiteral("Rт/3 = %1 / 3 = %2 мОм").arg(g(s.Rt), f2(s.Rt / 3)));
  flow.paragraph(QStringLiteral("Xт/3 = %1 / 3 = %2 мОм").arg(g(s.Xt), f2(s.Xt / 3)));
  flow.subheading(QStringLiteral("3.2. Линии"));
  flow.paragraph(
      QStringLiteral("Rл = (rф + rн) · L / n;  Xл = (xф + xн) · L / n;  Zл = √(Rл² + Xл²), где rф, xф, "
                     "rн, xн — погонные сопротивления фазной и нулевой жил, L — длина, n — число "
                     "параллельных проводов."));
  const std::vector<int> given = GivenLines(s);
  for (const int i : given) {
    const LineSegment& seg = s.Lines[LineIndex(i)];
    const std::size_t k = LineIndex(i);
    const QString rLine = n.texts.rLine[k];
    const QString xLine = n.texts.xLine[k];
    const QString lengthPart = QStringLiteral(") · ") + g(seg.Length) + QStringLiteral(" / ") +
                               QString::number(seg.QuanPar) + QStringLiteral(" = ");
    flow.paragraph(QStringLiteral("Линия ") + QString::number(i + 1) + QStringLiteral(": Rл = (") + g(seg.RPhase) +
                   QStringLiteral(" + ") + g(seg.RNeutral) + lengthPart + rLine + QStringLiteral(" мОм;  Xл = (") +
                   g(seg.XPhase) + QStringLiteral(" + ") + g(seg.XNeutral) + lengthPart + xLine +
                   QStringLiteral(" мОм;  Zл = ") + RootOfSquares(rLine, xLine) + QStringLiteral(" = ") +
                   n.texts.zLine[k] + kOhmUnit);
  }
  QStringList rParts, xParts;
  for (const int i : given) {
    rParts << n.texts.rLine[LineIndex(i)];
    xParts << n.texts.xLine[LineIndex(i)];
  }
  const QString plus = QStringLiteral(" + ");
  // With no section there is nothing to add up.
  const auto sum = [&plus](const QString& name, const QStringList& parts, const QString& total) {
    return parts.size() < 2 ? QStringLiteral("Суммарное: %1 = %2 мОм").arg(name, total)
                            : QStringLiteral("Суммарное: %1 = %2 = %3 мОм").arg(name, parts.join(plus), total);
  };
  flow.paragraph(sum(QStringLiteral("Rл"), rParts, n.texts.rLineSum));
  flow.paragraph(sum(QStringLiteral("Xл"), xParts, n.texts.xLineSum));
  flow.paragraph(QStringLiteral("Суммарное: Zл = ") + RootOfSquares(n.texts.rLineSum, n.texts.xLineSum) +
                 QStringLiteral(" = ") + n.texts.zLineSum + kOhmUnit);
  flow.subheading(QStringLiteral("3.3. Петля \"фаза-ноль\" и ток"));
  flow.paragraph(QStringLiteral("Rф-н = Rт/3 + Rл + Rпр = %1 + %2 + %3 = %4 мОм")
                     .arg(f2(s.Rt / 3), n.texts.rLineSum, g(s.RArc), f2(s.Rsum)));
  flow.paragraph(QStringLiteral("Xф-н = Xт/3 + Xл = %1 + %2 = %3 мОм").arg(f2(s.Xt / 3), n.texts.xLineSum, f2(s.Xsum)));
  flow.paragraph(QStringLiteral("Zф-н = √(Rф-н² + Xф-н²) = ") + RootOfSquares(f2(s.Rsum), f2(s.Xsum)) +
                 QStringLiteral(" = ") + f2(s.Zsum) + kOhmUnit);
  flow.paragraph(QStringLiteral("Iокз = 231000 / Zф-н = 231000 / %1 = %2 А").arg(f2(s.Zsum), CurrentText(s.Iokz)),
                 true);
  flow.paragraph(
      QStringLiteral("Здесь 231000 — фазное напряжение 231 В в милливольтах: деленное на Zф-н в мОм, "
                     "оно дает ток в амперах."));
}

void WriteResults(NoteBuilder& flow, const CalcNote& n) {
  const ResultTexts& t = n.texts;
  flow.heading(QStringLiteral("4. Результаты расчета"));
  flow.pairs({{result_captions::kTransPower, t.st},
              {result_captions::kWindKind, t.windKind},
              {QStringLiteral("Сопротивление трансформатора, ") + result_captions::kActive, t.rt},
              {result_captions::kInductive, t.xt},
              {result_captions::kFull, t.zt}});
  std::vector<QStringList> rows;
  rows.push_back({result_captions::kLineResistance, QStringLiteral("Активное Rл, мОм"),
                  QStringLiteral("Индуктивное Xл, мОм"), QStringLiteral("Полное Zл, мОм")});
  for (const int i : GivenLines(n.scheme)) {
    const std::size_t k = LineIndex(i);
    rows.push_back({result_captions::kLineNumber.arg(i + 1), t.rLine[k], t.xLine[k], t.zLine[k]});
  }
  rows.push_back({result_captions::kLineSum, t.rLineSum, t.xLineSum, t.zLineSum});
  flow.table({0.31, 0.23, 0.23, 0.23}, rows, 1);
  flow.pairs({{QStringLiteral("Переходное сопротивление контактов + сопротивление электрической дуги:"), t.rother},
              {QStringLiteral("Сопротивление петли \"фаза-ноль\", ") + result_captions::kActive, t.rsum},
              {result_captions::kInductive, t.xsum},
              {result_captions::kFull, t.zsum}});
  flow.paragraph(t.iokzrez, true);
}

void WriteDevice(NoteBuilder& flow, const CalcNote& n) {
  const DeviceTexts& d = n.device;
  flow.heading(QStringLiteral("5. Аппарат защиты"));
  const std::array<QString, 6> values = {d.type, d.toknom, d.kz, d.tokSR, d.timeSR, d.status};
  std::vector<std::pair<QString, QString>> rows;
  for (std::size_t i = 0; i < values.size(); ++i) rows.emplace_back(kDeviceCaptions[i], values[i]);
  flow.pairs(rows);
}

// Lays the note out on `device`; `pageTotal` is printed in the footers when
// known. Returns the number of pages, 0 when the device cannot be painted on.
int LayOutNote(QPagedPaintDevice& device, const CalcNote& note, int pageTotal) {
  device.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 15, 12, 15), QPageLayout::Millimeter));
  PageFlow flow(device,
                QString::fromUtf8(kProgramTitle) + QStringLiteral(" — расчет тока однофазного короткого замыкания"));
  if (!flow.active()) return 0;
  flow.setPageTotal(pageTotal);
  const FeederPictureModel picture = MakePictureModel(note.scheme, note.texts, note.device, note.seps);
  for (const NoteBlock& b : MakeNoteBlocks(note)) {
    switch (b.kind) {
      case NoteBlock::Kind::Title:
        flow.title(b.text);
        break;
      case NoteBlock::Kind::Heading:
        flow.heading(b.text);
        break;
      case NoteBlock::Kind::Subheading:
        flow.subheading(b.text);
        break;
      case NoteBlock::Kind::Paragraph:
        flow.paragraph(b.text);
        break;
      case NoteBlock::Kind::BoldParagraph:
        flow.paragraph(b.text, true);
        break;
      case NoteBlock::Kind::Pairs:
        flow.pairs(b.pairs);
        break;
      case NoteBlock::Kind::Table:
        flow.table(b.widths, b.rows, b.headerRows);
        break;
      case NoteBlock::Kind::Picture:
        flow.picture(picture);
        break;
    }
  }
  flow.finish();
  return flow.pages();
}

}  // namespace

std::vector<NoteBlock> MakeNoteBlocks(const CalcNote& note) {
  NoteBuilder flow;
  flow.title(QStringLiteral("Расчет тока однофазного короткого замыкания в сети 0,4 кВ"));
  flow.paragraph(PaperDateText(note.date));
  flow.paragraph(QStringLiteral("Точка короткого замыкания: %1")
                     .arg(note.pointName.isEmpty() ? QStringLiteral("не указана") : note.pointName));
  WriteInputs(flow, note);
  flow.heading(QStringLiteral("2. Однолинейная схема"));
  flow.picture();
  WriteMethod(flow, note);
  WriteResults(flow, note);
  WriteDevice(flow, note);
  int number = 6;
  for (const NoteSection& section : note.extraSections) {
    flow.heading(QStringLiteral("%1. %2").arg(number++).arg(section.title));
    flow.pairs(section.rows);
  }
  return flow.take();
}

void AddNoteSection(CalcNote& note, const QString& title, std::vector<std::pair<QString, QString>> rows) {
  note.extraSections.push_back(NoteSection{title, std::move(rows)});
}

bool PaintCalcNote(QPagedPaintDevice& device, const CalcNote& note) {
  // A first layout on a scratch PDF of the same resolution counts the pages
  // for "Страница N из M".
  QBuffer scratch;
  scratch.open(QIODevice::WriteOnly);
  QPdfWriter count(&scratch);
  SetUpPdfWriter(count, kCalcNoteTitle, device.logicalDpiY());
  const int pages = LayOutNote(count, note, 0);
  return LayOutNote(device, note, pages) > 0;
}

Result<FileSaved, FileError> WriteCalcNotePdf(const QString& path, const CalcNote& note) {
  return SavePdfFile(path, kCalcNoteTitle, [&note](QPagedPaintDevice& device) { return PaintCalcNote(device, note); });
}

QString NotePointNameProblem(const QString& name) {
  if (name.isEmpty()) return {};
  // The report's own rules; a note has no other points its name could clash with.
  static const ReportTable kNoPoints;
  return QString::fromStdString(kNoPoints.nameRejection(name.toStdString()));
}

}  // namespace tesmir
