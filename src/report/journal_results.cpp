#include "report/journal_results.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>

#include "core/display_format.h"
#include "device/protection_check.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

const NumberSeparators kPoint{".", ""};

// The protection check's own texts of the heated length and section.
ProtectionCheckTexts CheckTexts(const LineResult& r) {
  ProtectionCheckResult check;
  check.lengthMaxHot = {r.lmaxHotState, r.get(Fig::LmaxHot).value_or(0), {}};
  check.sectionMinHot.section = {r.sminHotState, r.get(Fig::SminHot).value_or(0), {}};
  return FormatProtectionCheck(check, kPoint);
}

QString Amperes(const LineResult& r, Fig f) {
  const auto v = r.get(f);
  return v ? QUtf8(FormatCurrent(*v)) : QUtf8(journal_texts::kDash);
}
QString Kiloamperes(const LineResult& r, Fig f) {
  const auto v = r.get(f);
  return v ? QUtf8(FormatF2(*v / 1000, kPoint)) : QUtf8(journal_texts::kDash);
}
QString Percent(const LineResult& r, Fig f) {
  const auto v = r.get(f);
  return v ? QUtf8(FormatF2(*v, kPoint)) : QUtf8(journal_texts::kDash);
}
QString Text(std::string_view text) { return QUtf8(text.empty() ? journal_texts::kDash : text); }

QString Notes(const LineResult& r) {
  QStringList notes;
  if (!r.error().empty()) notes << QUtf8(r.error());
  if (!r.deviceError().empty()) notes << QUtf8(r.deviceError());
  for (const std::string& w : r.warnings()) notes << QUtf8(w);
  return notes.join(QStringLiteral("; "));
}

QJsonValue Number(double v) { return QJsonValue(v); }

}  // namespace

QStringList JournalColumnTitles() {
  return {QStringLiteral("Линия"),
          QStringLiteral("Откуда"),
          QStringLiteral("Куда"),
          QStringLiteral("Iк1, А"),
          QStringLiteral("Iк1 мин, А"),
          QStringLiteral("Iср, А"),
          QStringLiteral("tн, с"),
          QStringLiteral("По Iк1"),
          QStringLiteral("По Iк1 мин"),
          QStringLiteral("Iк3 у аппарата, кА"),
          QStringLiteral("Iк3 в конце, кА"),
          QStringLiteral("Отключающая способность"),
          QStringLiteral("Lмакс (нагрев)"),
          QStringLiteral("Sмин (нагрев)"),
          QStringLiteral("ΔU линии, %"),
          QStringLiteral("ΔU от ТП, %"),
          QStringLiteral("ΔU от ВРУ, %"),
          QStringLiteral("ΔU (1,25r) от ТП, %"),
          QStringLiteral("ΔU (1,25r) от ВРУ, %"),
          QStringLiteral("Термическая стойкость"),
          QStringLiteral("Ошибки и предупреждения")};
}

QStringList JournalRowTexts(const JournalLine& line, const LineResult& r) {
  const QString dash = QUtf8(journal_texts::kDash);
  QStringList row{QUtf8(line.id), QUtf8(line.from), QUtf8(line.to)};
  if (!r.error().empty()) {
    while (row.size() < JournalColumnTitles().size() - 1) row << dash;
    row << Notes(r);
    return row;
  }
  const ProtectionCheckTexts check = CheckTexts(r);
  const auto tNorm = r.get(Fig::TNorm);
  QString thermal = Text(r.thermalVerdict);
  if (!r.thermalCase.empty()) thermal += QStringLiteral(" (%1)").arg(QUtf8(r.thermalCase));
  row << Amperes(r, Fig::Ik1) << Amperes(r, Fig::Ik1Min) << Amperes(r, Fig::TripCurrent)
      << (tNorm ? QUtf8(FormatG(*tNorm, kPoint)) : dash) << Text(r.verdict) << Text(r.verdictMin)
      << Kiloamperes(r, Fig::Ik3Start) << Kiloamperes(r, Fig::Ik3End) << Text(r.breaking)
      << (r.deviceError().empty() ? QUtf8(check.lengthMaxHot.text) : dash)
      << (r.deviceError().empty() ? QUtf8(check.sectionMinHot.text) : dash) << Percent(r, Fig::DuLine)
      << Percent(r, Fig::DuTp) << Percent(r, Fig::DuVru) << Percent(r, Fig::Du125Tp) << Percent(r, Fig::Du125Vru)
      << thermal << Notes(r);
  return row;
}

QByteArray JournalResultsJson(const JournalNetwork& network, const JournalResult& result) {
  QJsonObject root;
  root.insert(QStringLiteral("format"), QLatin1String(kJournalResultsFormatName));
  root.insert(QStringLiteral("version"), kJournalResultsVersion);
  root.insert(QStringLiteral("name"), QUtf8(network.name));
  if (result.transformerDrop) root.insert(QStringLiteral("transformer_drop_pct"), Number(*result.transformerDrop));
  struct Key {
    const char* key;
    Fig fig;
  };
  constexpr Key kNumbers[] = {
      {"ik1", Fig::Ik1},
      {"ik1_min", Fig::Ik1Min},
      {"ik3_start", Fig::Ik3Start},
      {"ik3_end", Fig::Ik3End},
      {"ik1_max_start", Fig::Ik1MaxStart},
      {"trip_current", Fig::TripCurrent},
      {"t_norm", Fig::TNorm},
      {"du_line", Fig::DuLine},
      {"du_tp", Fig::DuTp},
      {"du_vru", Fig::DuVru},
      {"du125_line", Fig::Du125Line},
      {"du125_tp", Fig::Du125Tp},
      {"du125_vru", Fig::Du125Vru},
  };
  QJsonArray lines;
  for (std::size_t i = 0; i < network.lines.size() && i < result.lines.size(); ++i) {
    const LineResult& r = result.lines[i];
    QJsonObject line;
    line.insert(QStringLiteral("id"), QUtf8(network.lines[i].id));
    if (!r.error().empty()) line.insert(QStringLiteral("error"), QUtf8(r.error()));
    if (!r.deviceError().empty()) line.insert(QStringLiteral("device_error"), QUtf8(r.deviceError()));
    if (!r.warnings().empty()) {
      QJsonArray warnings;
      for (const std::string& w : r.warnings()) warnings.append(QUtf8(w));
      line.insert(QStringLiteral("warnings"), warnings);
    }
    for (const Key& k : kNumbers) {
      if (const auto v = r.get(k.fig)) line.insert(QLatin1String(k.key), Number(*v));
    }
    if (!r.verdict.empty()) line.insert(QStringLiteral("verdict"), QUtf8(r.verdict));
    if (!r.verdictMin.empty()) line.insert(QStringLiteral("verdict_min"), QUtf8(r.verdictMin));
    if (!r.breaking.empty()) line.insert(QStringLiteral("breaking"), QUtf8(r.breaking));
    if (r.error().empty() && r.deviceError().empty()) {
      const ProtectionCheckTexts check = CheckTexts(r);
      if (const auto v = r.get(Fig::LmaxHot)) {
        line.insert(QStringLiteral("lmax_hot"), Number(*v));
      } else {
        line.insert(QStringLiteral("lmax_hot"), QUtf8(check.lengthMaxHot.text));
      }
      line.insert(QStringLiteral("smin_hot"), QUtf8(check.sectionMinHot.text));
    }
    if (r.duOkTp) line.insert(QStringLiteral("du_ok_tp"), *r.duOkTp);
    if (r.duOkVru) line.insert(QStringLiteral("du_ok_vru"), *r.duOkVru);
    if (!r.thermalVerdict.empty()) {
      QJsonObject thermal;
      thermal.insert(QStringLiteral("verdict"), QUtf8(r.thermalVerdict));
      if (const auto k = r.get(Fig::ThermalK)) thermal.insert(QStringLiteral("k"), Number(*k));
      if (!r.thermalCase.empty()) thermal.insert(QStringLiteral("case"), QUtf8(r.thermalCase));
      if (const auto v = r.get(Fig::ThermalCurrent)) thermal.insert(QStringLiteral("current"), Number(*v));
      if (const auto v = r.get(Fig::ThermalEnergy)) thermal.insert(QStringLiteral("energy"), Number(*v));
      if (const auto v = r.get(Fig::ThermalWithstand)) thermal.insert(QStringLiteral("withstand"), Number(*v));
      line.insert(QStringLiteral("thermal"), thermal);
    }
    lines.append(line);
  }
  root.insert(QStringLiteral("lines"), lines);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray JournalResultsCsv(const JournalNetwork& network, const JournalResult& result) {
  const auto field = [](QString text) {
    if (text.contains(QLatin1Char(';')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n'))) {
      text.replace(QLatin1Char('"'), QStringLiteral("\"\""));
      text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
  };
  QString out;
  QStringList titles = JournalColumnTitles();
  std::transform(titles.begin(), titles.end(), titles.begin(), field);
  out += titles.join(QLatin1Char(';')) + QLatin1Char('\n');
  for (std::size_t i = 0; i < network.lines.size() && i < result.lines.size(); ++i) {
    QStringList row = JournalRowTexts(network.lines[i], result.lines[i]);
    std::transform(row.begin(), row.end(), row.begin(), field);
    out += row.join(QLatin1Char(';')) + QLatin1Char('\n');
  }
  return out.toUtf8();
}

QByteArray JournalResultsTable(const JournalNetwork& network, const JournalResult& result) {
  std::vector<QStringList> rows;
  rows.reserve(network.lines.size() + 1);
  rows.push_back(JournalColumnTitles());
  for (std::size_t i = 0; i < network.lines.size() && i < result.lines.size(); ++i) {
    rows.push_back(JournalRowTexts(network.lines[i], result.lines[i]));
  }
  const qsizetype columns = rows.front().size();
  std::vector<qsizetype> width(static_cast<std::size_t>(columns), 0);
  for (const QStringList& row : rows) {
    for (qsizetype c = 0; c + 1 < columns; ++c) {
      width[static_cast<std::size_t>(c)] = std::max(width[static_cast<std::size_t>(c)], row[c].size());
    }
  }
  QString out;
  if (result.transformerDrop) {
    out += QStringLiteral("ΔU трансформатора: %1 %\n").arg(QUtf8(FormatF2(*result.transformerDrop, kPoint)));
  }
  for (const QStringList& row : rows) {
    QString text;
    for (qsizetype c = 0; c < columns; ++c) {
      if (c > 0) text += QStringLiteral(" | ");
      text += c + 1 < columns ? row[c].leftJustified(width[static_cast<std::size_t>(c)]) : row[c];
    }
    while (text.endsWith(QLatin1Char(' '))) text.chop(1);
    out += text + QLatin1Char('\n');
  }
  return out.toUtf8();
}

}  // namespace tesmir
