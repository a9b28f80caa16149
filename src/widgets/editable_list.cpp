#include "widgets/editable_list.h"

namespace tesmir {
namespace {

void Show(QComboBox* box, const QString& text) {
  const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (index >= 0) {
    box->setCurrentIndex(index);
  } else {
    box->setEditText(text);
  }
}

}  // namespace

QComboBox* EditableList(const QString& name, const QStringList& items, const QString& text, const QString& tip,
                        QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->addItems(items);
  box->setCompleter(nullptr);
  Show(box, text);
  box->setStatusTip(tip);
  return box;
}

void RefillList(QComboBox* box, const QStringList& items, const QString& text) {
  box->clear();
  box->addItems(items);
  Show(box, text);
}

}  // namespace tesmir
