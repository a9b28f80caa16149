#include "widgets/journal_model.h"

#include <QBrush>
#include <string>
#include <unordered_map>

#include "device/device_check.h"
#include "device/protection_check.h"
#include "report/utf8_text.h"
#include "texts/locale_separators.h"

namespace tesmir {
namespace {

QString Q(std::string_view text) { return QUtf8(text); }
const QString kDash = QUtf8(journal_texts::kDash);

QString ResultTitle(ResultColumn column) {
  switch (column) {
    case ResultColumn::Ik1:
      return QStringLiteral("Iк1, А");
    case ResultColumn::Ik1Min:
      return QStringLiteral("Iк1 мин, А");
    case ResultColumn::Ik3Start:
      return QStringLiteral("Iк3 у аппарата, кА");
    case ResultColumn::Ik3End:
      return QStringLiteral("Iк3 в конце, кА");
    case ResultColumn::TripCurrent:
      return QStringLiteral("Iср, А");
    case ResultColumn::TNorm:
      return QStringLiteral("tн, с");
    case ResultColumn::Verdict:
      return QStringLiteral("По Iк1");
    case ResultColumn::VerdictMin:
      return QStringLiteral("По Iк1 мин");
    case ResultColumn::Breaking:
      return QStringLiteral("Отключающая способность");
    case ResultColumn::LmaxHot:
      return QStringLiteral("Lмакс (нагрев)");
    case ResultColumn::SminHot:
      return QStringLiteral("Sмин (нагрев)");
    case ResultColumn::DuLine:
      return QStringLiteral("ΔU линии, %");
    case ResultColumn::DuTp:
      return QStringLiteral("ΔU от ТП, %");
    case ResultColumn::DuVru:
      return QStringLiteral("ΔU от ВРУ, %");
    case ResultColumn::Thermal:
      return QStringLiteral("Термическая стойкость");
    case ResultColumn::Remarks:
      return QStringLiteral("Ошибки и предупреждения");
    case ResultColumn::Count:
      break;
  }
  return {};
}

// How each result figure is obtained.
QString HowObtained(ResultColumn column) {
  switch (column) {
    case ResultColumn::Ik1:
      return QStringLiteral(
          "Ток однофазного КЗ в конце линии: 231000 / Zф-н пути от трансформатора, как в главном окне");
    case ResultColumn::Ik1Min:
      return QStringLiteral(
          "Наименьший ток однофазного КЗ в конце линии: нагретые проводники, 0,95 · 231000 / Zмин, с сетью ВН при Sк "
          "мин");
    case ResultColumn::Ik3Start:
      return QStringLiteral(
          "Наибольший ток трехфазного КЗ у аппарата (в конце питающей линии), с сетью ВН при Sк макс");
    case ResultColumn::Ik3End:
      return QStringLiteral("Наибольший ток трехфазного КЗ в конце линии, с сетью ВН при Sк макс");
    case ResultColumn::TripCurrent:
      return QStringLiteral(
          "Ток срабатывания аппарата: Iном × кратность × Кзап, ток расцепителя × Кзап "
          "или ток вставки по ее характеристике × Кзап");
    case ResultColumn::TNorm:
      return QStringLiteral("Нормативное время отключения: 0,4 с для конечной линии с аппаратом до 32 А, иначе 5 с");
    case ResultColumn::Verdict:
      return QStringLiteral("Срабатывание аппарата: Iк1 в конце линии против Iср");
    case ResultColumn::VerdictMin:
      return QStringLiteral("Срабатывание аппарата: Iк1 мин в конце линии против Iср");
    case ResultColumn::Breaking:
      return QStringLiteral("Icu аппарата против наибольшего Iк3 у аппарата");
    case ResultColumn::LmaxHot:
      return QStringLiteral("Наибольшая длина линии, при которой аппарат еще срабатывает (нагретые проводники)");
    case ResultColumn::SminHot:
      return QStringLiteral("Наименьшее сечение линии, при котором аппарат еще срабатывает (нагретые проводники)");
    case ResultColumn::DuLine:
      return QStringLiteral("Потеря напряжения в самой линии при ее Iр и cos φ");
    case ResultColumn::DuTp:
      return QStringLiteral("Потеря напряжения от трансформатора до конца линии (с трансформатором) против допустимой");
    case ResultColumn::DuVru:
      return QStringLiteral("Потеря напряжения от ВРУ (без корневой линии) до конца линии против допустимой");
    case ResultColumn::Thermal:
      return QStringLiteral("Термическая стойкость жил при КЗ: k²S² ≥ I²t в наихудшем из случаев");
    case ResultColumn::Remarks:
      return QStringLiteral("Ошибка линии или предупреждения расчета");
    case ResultColumn::Count:
      break;
  }
  return {};
}

bool IsDeviceColumn(ResultColumn c) {
  return c == ResultColumn::TripCurrent || c == ResultColumn::Verdict || c == ResultColumn::VerdictMin ||
         c == ResultColumn::Breaking || c == ResultColumn::LmaxHot || c == ResultColumn::SminHot;
}

QString Remarks(const LineResult& r) {
  QStringList notes;
  if (!r.error().empty()) notes << Q(r.error());
  if (!r.deviceError().empty()) notes << Q(r.deviceError());
  for (const std::string& w : r.warnings()) notes << Q(w);
  return notes.join(QStringLiteral("; "));
}

}  // namespace

JournalModel::JournalModel(LineJournal& journal, QObject* parent)
    : QAbstractTableModel(parent), journal_(journal), separators_(SystemSeparators()) {
  rebuildRows();
  connect(&journal_, &LineJournal::linesReset, this, [this] {
    beginResetModel();
    rebuildRows();
    endResetModel();
  });
  connect(&journal_, &LineJournal::lineChanged, this, &JournalModel::onLineChanged);
  connect(&journal_, &LineJournal::resultsChanged, this, &JournalModel::onResultsChanged);
}

int JournalModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int JournalModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kLineFieldCount + kResultColumnCount;
}

int JournalModel::lineAt(int row) const {
  return row >= 0 && static_cast<std::size_t>(row) < rows_.size() ? rows_[static_cast<std::size_t>(row)] : -1;
}

int JournalModel::rowOf(int line) const {
  return line >= 0 && static_cast<std::size_t>(line) < rowOfLine_.size() ? rowOfLine_[static_cast<std::size_t>(line)]
                                                                         : -1;
}

int JournalModel::depthOf(int line) const {
  return line >= 0 && static_cast<std::size_t>(line) < depth_.size() ? depth_[static_cast<std::size_t>(line)] : 0;
}

void JournalModel::rebuildRows() {
  const JournalNetwork& net = journal_.network();
  const std::size_t n = net.lines.size();
  std::unordered_map<std::string_view, int> byId;
  byId.reserve(n);
  for (std::size_t i = 0; i < n; ++i) byId.emplace(net.lines[i].id, static_cast<int>(i));
  std::vector<int> parent(n, -1);
  for (std::size_t i = 0; i < n; ++i) {
    if (!net.lines[i].parent) continue;
    const auto it = byId.find(*net.lines[i].parent);
    if (it != byId.end() && it->second != static_cast<int>(i)) parent[i] = it->second;
  }
  // Depth by walking up, remembering what is known; a cycle counts as a root.
  depth_.assign(n, -1);
  std::vector<int> walk;
  for (std::size_t i = 0; i < n; ++i) {
    int at = static_cast<int>(i);
    walk.clear();
    while (at >= 0 && depth_[static_cast<std::size_t>(at)] < 0 && walk.size() <= n) {
      walk.push_back(at);
      at = parent[static_cast<std::size_t>(at)];
    }
    int d = at >= 0 && walk.size() <= n ? depth_[static_cast<std::size_t>(at)] : -1;
    if (walk.size() > n) d = -1;
    for (auto it = walk.rbegin(); it != walk.rend(); ++it) depth_[static_cast<std::size_t>(*it)] = ++d;
  }
  std::vector<int> order;
  order.reserve(n);
  if (tree_) {
    // The children of each line, in entry order, as one array.
    std::vector<int> start(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
      if (parent[i] >= 0) ++start[static_cast<std::size_t>(parent[i]) + 1];
    }
    for (std::size_t i = 0; i < n; ++i) start[i + 1] += start[i];
    std::vector<int> children(static_cast<std::size_t>(start[n]));
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (std::size_t i = 0; i < n; ++i) {
      if (parent[i] >= 0)
        children[static_cast<std::size_t>(fill[static_cast<std::size_t>(parent[i])]++)] = static_cast<int>(i);
    }
    std::vector<char> seen(n, 0);
    std::vector<int> stack;
    for (std::size_t root = 0; root < n; ++root) {
      if (parent[root] >= 0) continue;
      stack.push_back(static_cast<int>(root));
      while (!stack.empty()) {
        const auto at = static_cast<std::size_t>(stack.back());
        stack.pop_back();
        if (seen[at] != 0) continue;
        seen[at] = 1;
        order.push_back(static_cast<int>(at));
        for (int k = start[at + 1]; k-- > start[at];) stack.push_back(children[static_cast<std::size_t>(k)]);
      }
    }
    // Lines on a cycle of parent links come last, as entered.
    for (std::size_t i = 0; i < n; ++i) {
      if (seen[i] == 0) order.push_back(static_cast<int>(i));
    }
  } else {
    for (std::size_t i = 0; i < n; ++i) order.push_back(static_cast<int>(i));
  }
  rows_.clear();
  rowOfLine_.assign(n, -1);
  for (const int line : order) {
    if (onlyViolations_) {
      const LineResult* r = journal_.lineResult(line);
      if (r == nullptr || (!LineFailsAVerdict(*r) && r->warnings().empty())) continue;
    }
    rowOfLine_[static_cast<std::size_t>(line)] = static_cast<int>(rows_.size());
    rows_.push_back(line);
  }
}

void JournalModel::onLineChanged(int line, int field) {
  if (field != -1 && field != static_cast<int>(LineField::Id) && field != static_cast<int>(LineField::Parent)) {
    // Neither the order nor the depths change.
    const int row = rowOf(line);
    if (row >= 0) emit dataChanged(index(row, 0), index(row, kLineFieldCount - 1));
    return;
  }
  const std::vector<int> before = rows_;
  const std::vector<int> depthBefore = depth_;
  // The order and the depths follow the designations and feeding lines.
  emit layoutAboutToBeChanged();
  const QModelIndexList persistent = persistentIndexList();
  std::vector<int> lines;
  lines.reserve(static_cast<std::size_t>(persistent.size()));
  for (const QModelIndex& index : persistent) lines.push_back(lineAt(index.row()));
  rebuildRows();
  QModelIndexList moved;
  for (qsizetype i = 0; i < persistent.size(); ++i) {
    const int row = rowOf(lines[static_cast<std::size_t>(i)]);
    moved << (row < 0 ? QModelIndex() : index(row, persistent[i].column()));
  }
  changePersistentIndexList(persistent, moved);
  emit layoutChanged();
  if (before != rows_ || depthBefore != depth_) {
    emit headerDataChanged(Qt::Vertical, 0, std::max(0, rowCount() - 1));
  }
  const int row = rowOf(line);
  if (row >= 0) emit dataChanged(index(row, 0), index(row, kLineFieldCount - 1));
}

void JournalModel::onResultsChanged() {
  if (onlyViolations_) {
    beginResetModel();
    rebuildRows();
    endResetModel();
    return;
  }
  if (rowCount() > 0) {
    emit dataChanged(index(0, kLineFieldCount), index(rowCount() - 1, columnCount() - 1));
  }
}

void JournalModel::setTreeOrder(bool tree) {
  if (tree == tree_) return;
  tree_ = tree;
  beginResetModel();
  rebuildRows();
  endResetModel();
}

void JournalModel::setOnlyViolations(bool only) {
  if (only == onlyViolations_) return;
  onlyViolations_ = only;
  beginResetModel();
  rebuildRows();
  endResetModel();
}

QString JournalModel::takeRefusal() { return std::exchange(refusal_, QString()); }

QString JournalModel::resultText(int line, ResultColumn column) const {
  const LineResult* found = journal_.lineResult(line);
  if (found == nullptr || !journal_.resultsCurrent()) {
    return found == nullptr ? QString() : (column == ResultColumn::Remarks ? QString() : QStringLiteral("…"));
  }
  const LineResult& r = *found;
  if (column == ResultColumn::Remarks) return Remarks(r);
  if (!r.error().empty()) return kDash;
  if (IsDeviceColumn(column) && !r.deviceError().empty()) return kDash;
  const auto amperes = [&](Fig f) {
    const auto v = r.get(f);
    return v ? Q(FormatCurrent(*v)) : kDash;
  };
  const auto kiloamperes = [&](Fig f) {
    const auto v = r.get(f);
    return v ? Q(FormatF2(*v / 1000, separators_)) : kDash;
  };
  const auto percent = [&](Fig f) {
    const auto v = r.get(f);
    return v ? Q(FormatF2(*v, separators_)) : kDash;
  };
  const auto word = [](std::string_view text) { return text.empty() ? kDash : Q(text); };
  const auto check = [&] {
    ProtectionCheckResult c;
    c.lengthMaxHot = {r.lmaxHotState, r.get(Fig::LmaxHot).value_or(0), {}};
    c.sectionMinHot.section = {r.sminHotState, r.get(Fig::SminHot).value_or(0), {}};
    return FormatProtectionCheck(c, separators_);
  };
  switch (column) {
    case ResultColumn::Ik1:
      return amperes(Fig::Ik1);
    case ResultColumn::Ik1Min:
      return amperes(Fig::Ik1Min);
    case ResultColumn::Ik3Start:
      return kiloamperes(Fig::Ik3Start);
    case ResultColumn::Ik3End:
      return kiloamperes(Fig::Ik3End);
    case ResultColumn::TripCurrent:
      return amperes(Fig::TripCurrent);
    case ResultColumn::TNorm: {
      const auto v = r.get(Fig::TNorm);
      return v ? Q(FormatG(*v, separators_)) : kDash;
    }
    case ResultColumn::Verdict:
      return word(r.verdict);
    case ResultColumn::VerdictMin:
      return word(r.verdictMin);
    case ResultColumn::Breaking:
      return word(r.breaking);
    case ResultColumn::LmaxHot:
      return Q(check().lengthMaxHot.text);
    case ResultColumn::SminHot:
      return Q(check().sectionMinHot.text);
    case ResultColumn::DuLine:
      return percent(Fig::DuLine);
    case ResultColumn::DuTp:
      return percent(Fig::DuTp);
    case ResultColumn::DuVru:
      return percent(Fig::DuVru);
    case ResultColumn::Thermal: {
      QString text = word(r.thermalVerdict);
      if (!r.thermalCase.empty() && !r.thermalVerdict.empty()) text += QStringLiteral(" (%1)").arg(Q(r.thermalCase));
      return text;
    }
    case ResultColumn::Remarks:
    case ResultColumn::Count:
      break;
  }
  return {};
}

QString JournalModel::resultTip(int line, ResultColumn column) const {
  QString tip = HowObtained(column);
  const LineResult* found = journal_.lineResult(line);
  if (found == nullptr || !journal_.resultsCurrent()) {
    return tip + QStringLiteral(". Журнал пересчитывается");
  }
  const LineResult& r = *found;
  const QString shown = resultText(line, column);
  if (column == ResultColumn::Thermal && r.thermalVerdict == journal_texts::kNotConfirmed) {
    return tip + QStringLiteral(". Не подтверждено: проверка выполнена по оценке I²t; нужен I²t изготовителя аппарата");
  }
  if (shown != kDash && !shown.startsWith(kDash)) return tip;
  QString why;
  if (!r.error().empty()) {
    why = QStringLiteral("линия не рассчитана: ") + Q(r.error());
  } else if (IsDeviceColumn(column) && !r.deviceError().empty()) {
    why = QStringLiteral("аппарат не принят: ") + Q(r.deviceError());
  } else {
    switch (column) {
      case ResultColumn::Ik3Start:
      case ResultColumn::Ik3End:
        why = Q(check_texts::kWhySinglePhase) + QStringLiteral(" или ") + Q(check_texts::kWhyNoTriangleStar).toLower();
        break;
      case ResultColumn::Breaking:
        why = QStringLiteral("не задан Icu аппарата или не определен Iк3");
        break;
      case ResultColumn::DuLine:
      case ResultColumn::DuTp:
      case ResultColumn::DuVru:
        why = QStringLiteral("на пути от трансформатора не задан Iр или cos φ линии");
        break;
      case ResultColumn::Thermal:
        why = Q(r.thermalCase);
        break;
      case ResultColumn::LmaxHot:
      case ResultColumn::SminHot:
        why = QStringLiteral("величина не определяется для этой линии");
        break;
      default:
        why = QStringLiteral("величина не определена");
        break;
    }
  }
  return tip + QStringLiteral(". «—»: ") + why;
}

QColor JournalModel::resultColour(const LineResult& r, ResultColumn column) const {
  if (column == ResultColumn::Remarks) {
    if (!r.error().empty() || !r.deviceError().empty()) return kJournalFailColour;
    return r.warnings().empty() ? QColor() : kJournalWarningColour;
  }
  if (!r.error().empty()) return {};
  switch (column) {
    case ResultColumn::Verdict:
      return r.verdict == kStatusDoesNotTrip ? kJournalFailColour : QColor();
    case ResultColumn::VerdictMin:
      return r.verdictMin == kStatusDoesNotTrip ? kJournalFailColour : QColor();
    case ResultColumn::Breaking:
      return r.breaking == check_texts::kBreakingShort ? kJournalFailColour : QColor();
    case ResultColumn::DuTp:
      return r.duOkTp == false ? kJournalFailColour : QColor();
    case ResultColumn::DuVru:
      return r.duOkVru == false ? kJournalFailColour : QColor();
    case ResultColumn::Thermal:
      if (r.thermalVerdict == journal_texts::kFails) return kJournalFailColour;
      return r.thermalVerdict == journal_texts::kNotConfirmed ? kJournalWarningColour : QColor();
    default:
      return {};
  }
}

QVariant JournalModel::data(const QModelIndex& index, int role) const {
  const int line = lineAt(index.row());
  if (!index.isValid() || line < 0) return {};
  const int column = index.column();
  if (isInputColumn(column)) {
    const auto field = static_cast<LineField>(column);
    if (role == Qt::DisplayRole || role == Qt::EditRole) return journal_.text(line, field);
    if (role == Qt::StatusTipRole)
      return QStringLiteral("%1: введите или выберите значение").arg(LineFieldTitle(field));
    return {};
  }
  const auto result = static_cast<ResultColumn>(column - kLineFieldCount);
  switch (role) {
    case Qt::DisplayRole:
      return resultText(line, result);
    case Qt::StatusTipRole:
      return resultTip(line, result);
    case Qt::ForegroundRole: {
      const LineResult* r = journal_.lineResult(line);
      if (r == nullptr || !journal_.resultsCurrent()) return {};
      const QColor colour = resultColour(*r, result);
      return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    }
    default:
      return {};
  }
}

bool JournalModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const int line = lineAt(index.row());
  if (role != Qt::EditRole || line < 0 || !isInputColumn(index.column())) return false;
  refusal_ = journal_.setText(line, static_cast<LineField>(index.column()), value.toString());
  return refusal_.isEmpty();
}

Qt::ItemFlags JournalModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (isInputColumn(index.column())) flags |= Qt::ItemIsEditable;
  return flags;
}

QVariant JournalModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (role != Qt::DisplayRole) return {};
    return isInputColumn(section) ? LineFieldTitle(static_cast<LineField>(section))
                                  : ResultTitle(static_cast<ResultColumn>(section - kLineFieldCount));
  }
  // The designation stays in view when scrolling sideways, indented by depth.
  const int line = lineAt(section);
  if (line < 0) return {};
  if (role == Qt::DisplayRole) {
    return QString(depthOf(line) * 3, QLatin1Char(' ')) + journal_.text(line, LineField::Id);
  }
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
  return {};
}

JournalModel::Summary JournalModel::summary() const {
  Summary s;
  s.lines = journal_.lineCount();
  for (int i = 0; i < s.lines; ++i) {
    const LineResult* r = journal_.lineResult(i);
    if (r == nullptr) continue;
    if (!r->error().empty()) {
      ++s.errors;
    } else if (LineFailsAVerdict(*r)) {
      ++s.failing;
    }
  }
  return s;
}

}  // namespace tesmir
