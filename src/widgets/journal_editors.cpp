#include "widgets/journal_editors.h"

#include <QComboBox>
#include <QLineEdit>
#include <utility>

#include "core/line_catalogue.h"
#include "core/loop_calc.h"
#include "core/tire_catalogue.h"
#include "device/device_check.h"
#include "device/device_lists.h"
#include "device/fuse_characteristic.h"
#include "report/utf8_text.h"

namespace tesmir {
namespace {

template <class Range>
QStringList ListOf(const Range& items) {
  QStringList list;
  for (std::string_view item : items) list << QUtf8(item);
  return list;
}

}  // namespace

QStringList JournalCellItems(const LineJournal& journal, int line, LineField field) {
  const auto text = [&](LineField f) { return journal.text(line, f); };
  switch (field) {
    case LineField::Kind:
      return ListOf(kCableKinds) + ListOf(kTireFamilies);
    case LineField::Stuff: {
      const std::string kind = text(LineField::Kind).toStdString();
      const auto models = TireLineModels(kind);
      return models.empty() ? ListOf(kMaterials) : ListOf(models);
    }
    case LineField::Ff:
    case LineField::Fn:
      return ListOf(kSections);
    case LineField::Par:
      return {QUtf8(kSingleConductor), QStringLiteral("2"), QStringLiteral("3"),
              QStringLiteral("4"),     QStringLiteral("5"), QStringLiteral("6")};
    case LineField::Phases:
      return {QStringLiteral("3"), QStringLiteral("1")};
    case LineField::Insulation:
      return {journal_names::kPvc, journal_names::kXlpe, journal_names::kPaper};
    case LineField::DeviceType:
      return {journal_names::kBreaker, journal_names::kFuse};
    case LineField::In: {
      if (text(LineField::DeviceType) != journal_names::kFuse) return ListOf(kBreakerRatings);
      const std::optional<FuseType> type = FuseTypeCode(text(LineField::FuseType).toStdString());
      QStringList ratings;
      for (const FuseRating& rating : FuseCharacteristic(type.value_or(FuseType::PPN))) {
        ratings << QUtf8(rating.text);
      }
      return ratings;
    }
    case LineField::Multiple:
      return ListOf(kMultiples);
    case LineField::Safety:
      return ListOf(kSafetyFactors);
    case LineField::FuseType:
      return {QUtf8(kFuseTypePPN), QUtf8(kFuseTypePN2), QUtf8(kFuseTypeNPN)};
    case LineField::Time:
      return {QUtf8(kTime5s), QUtf8(kTime04s)};
    default:
      return {};
  }
}

JournalEditors::JournalEditors(const LineJournal& journal, std::function<int(int)> lineOfRow, QObject* parent)
    : QStyledItemDelegate(parent), journal_(journal), lineOfRow_(std::move(lineOfRow)) {}

QWidget* JournalEditors::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
  const int line = lineOfRow_(index.row());
  if (line < 0 || index.column() >= kLineFieldCount) return QStyledItemDelegate::createEditor(parent, option, index);
  const auto field = static_cast<LineField>(index.column());
  const QStringList items = JournalCellItems(journal_, line, field);
  if (items.isEmpty()) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("JournalCellEdit"));
    edit->setFrame(false);
    return edit;
  }
  // As in the main window: typed text stays as typed, key by key, and is
  // never added to the list.
  auto* box = new QComboBox(parent);
  box->setObjectName(QStringLiteral("JournalCellList"));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxVisibleItems(16);
  box->addItems(items);
  box->setCompleter(nullptr);
  return box;
}

void JournalEditors::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString text = index.data(Qt::EditRole).toString();
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    const int at = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (at >= 0) {
      box->setCurrentIndex(at);
    } else {
      box->setEditText(text);
    }
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    edit->setText(text);
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

void JournalEditors::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    model->setData(index, box->currentText(), Qt::EditRole);
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    model->setData(index, edit->text(), Qt::EditRole);
    return;
  }
  QStyledItemDelegate::setModelData(editor, model, index);
}

}  // namespace tesmir
