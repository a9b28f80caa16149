#include "ui/report_form.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <new>

#include "report/report_file.h"
#include "report/report_table.h"
#include "ui/context_help.h"
#include "ui/delete_all_report_form.h"
#include "ui/file_chooser.h"
#include "ui/hints.h"
#include "ui/message_sink.h"

namespace tesmir {

// The report table as the grid shows it: text only, nothing editable.
class ReportTableModel final : public QAbstractTableModel {
 public:
  ReportTableModel(const ReportTable& table, QObject* parent) : QAbstractTableModel(parent), table_(table) {}

  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : table_.rowCount(); }
  int columnCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : table_.columnCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) {
      return {};
    }
    return DisplayText(table_.cell(index.column(), index.row()));
  }

  // The text a grid cell shows. A cell far wider than any column is cut
  // (at a character boundary) and ends in an ellipsis, so painting never
  // converts or measures a huge text; the cell itself stays whole.
  static QString DisplayText(const std::string& cell) {
    if (cell.size() <= kDisplayBytes) {
      return QString::fromStdString(cell);
    }
    std::size_t cut = kDisplayBytes;
    while (cut > 0 && (static_cast<unsigned char>(cell[cut]) & 0xC0) == 0x80) {
      --cut;
    }
    return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cut)) + QChar(0x2026);
  }
  static constexpr std::size_t kDisplayBytes = 256;
  Qt::ItemFlags flags(const QModelIndex& index) const override {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
  }

  void reload() {
    beginResetModel();
    endResetModel();
  }

 private:
  const ReportTable& table_;
};

namespace {

constexpr int kHelpTopic = 35;
constexpr int kColumnWidth = 50;
constexpr int kRowHeight = 18;
constexpr int kVisibleRows = 15;
const QColor kMaroon(0x80, 0x00, 0x00);
// Twelve 50-pixel columns: a compact font lets numbers such as 1 062,38 fit.
constexpr qreal kGridPointSize = 8;

QFont CompactFont(QFont font) {
  if (font.pointSizeF() > kGridPointSize) {
    font.setPointSizeF(kGridPointSize);
  }
  return font;
}

struct ColumnTitle {
  const char* title;
  const char* unit;
  const char* description;
};

// R, X, Z, I and T are Latin letters; the indices and units are Cyrillic.
constexpr std::array<ColumnTitle, kReportColumns> kColumnTitles{{
    {"№ точки", "", "Номер точки однофазного короткого замыкания"},
    {"Rт/3", "мОм", "Активное сопротивление обмотки трансформатора однофазному короткому замыканию"},
    {"Xт/3", "мОм", "Реактивное сопротивление обмотки трансформатора однофазному короткому замыканию"},
    {"Rл", "мОм", "Активное сопротивление линии"},
    {"Xл", "мОм", "Реактивное сопротивление линии"},
    {"Rпр", "мОм", "Активное переходное сопротивление контактов + сопротивление электрической дуги"},
    {"Rф-н", "мОм", "Активное сопротивление петли \"фаза-ноль\""},
    {"Xф-н", "мОм", "Реактивное сопротивление петли \"фаза-ноль\""},
    {"| Zф-н |", "мОм", "Модуль полного сопротивления петли \"фаза-ноль\""},
    {"Iокз", "А", "Расчетный ток однофазного короткого замыкания"},
    {"Iср", "А", "Ток срабатывания аппарата защиты"},
    {"Tср", "с", "Время срабатывания аппарата защиты"},
}};

const QString kCaption = QStringLiteral("Отчет");
const QString kCsvFilter = QStringLiteral("Таблица (*.csv)");
const QString kOkzFilter = QStringLiteral("Таблица (*.okz)");

// Draws cell texts with a narrow margin, so values such as 1 062,38 fit into
// a 50-pixel column; a text that still does not fit ends in an ellipsis.
class NarrowCellDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QStyle* style = opt.widget != nullptr ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
    const QRect area = opt.rect.adjusted(1, 0, 0, 0);
    const QPalette::ColorRole role =
        (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(QPalette::Active, role));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                      opt.fontMetrics.elidedText(text, Qt::ElideRight, area.width()));
    painter->restore();
  }
};

QLabel* TitleLabel(const QString& text, bool bold, const QString& hint, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = CompactFont(label->font());
  font.setBold(bold);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, kMaroon);
  label->setPalette(palette);
  label->setAlignment(Qt::AlignCenter);
  label->setFixedWidth(kColumnWidth);
  label->setStatusTip(hint);
  return label;
}

QToolButton* ArrowButton(Qt::ArrowType arrow, const QString& name, const QString& hint, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAutoRaise(true);  // flat
  button->setFixedSize(28, 28);
  button->setStatusTip(hint);
  return button;
}

QPushButton* PushButton(const QString& text, const QString& name, const QString& hint, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setStatusTip(hint);
  return button;
}

}  // namespace

ReportForm::ReportForm(ReportTable& table, MessageSink& messages, FileChooser& files,
                       DeleteAllReportForm& deleteAllForm, QWidget* parent)
    : QDialog(parent), table_(table), messages_(messages), files_(files), deleteAllForm_(deleteAllForm) {
  setObjectName(QStringLiteral("ReportForm"));
  setWindowTitle(kCaption);
  setModal(true);
  SetHelpContext(this, kHelpTopic);

  // The grid.
  model_ = new ReportTableModel(table_, this);
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("ReportStringGrid"));
  grid_->setModel(model_);
  grid_->setFont(CompactFont(grid_->font()));
  grid_->setItemDelegate(new NarrowCellDelegate(grid_));
  grid_->horizontalHeader()->hide();
  grid_->verticalHeader()->hide();
  grid_->horizontalHeader()->setMinimumSectionSize(1);
  grid_->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setMinimumSectionSize(1);
  grid_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setDragEnabled(false);
  grid_->setWordWrap(false);
  grid_->setTabKeyNavigation(false);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const int frame = grid_->frameWidth();
  grid_->setFixedSize(kReportColumns * kColumnWidth + 2 * frame + grid_->verticalScrollBar()->sizeHint().width(),
                      kVisibleRows * kRowHeight + 2 * frame);
  grid_->viewport()->installEventFilter(this);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (!syncing_ && current.isValid()) {
              table_.cellMadeCurrent(current.row());  // ReportStringGridSelectCell
            }
          });

  auto* up = ArrowButton(Qt::UpArrow, QStringLiteral("UpSpeedButton"),
                         QStringLiteral("Перемещение строки в списке на одну позицию вверх"), this);
  auto* down = ArrowButton(Qt::DownArrow, QStringLiteral("DownSpeedButton"),
                           QStringLiteral("Перемещение строки в списке на одну позицию вниз"), this);
  connect(up, &QToolButton::clicked, this, &ReportForm::UpSpeedButtonClick);
  connect(down, &QToolButton::clicked, this, &ReportForm::DownSpeedButtonClick);

  auto* deleteRow = PushButton(QStringLiteral("Удалить"), QStringLiteral("DeleteReportButton"),
                               QStringLiteral("Удаление строки"), this);
  auto* deleteAll = PushButton(QStringLiteral("Удалить все"), QStringLiteral("DeleteAllButton"),
                               QStringLiteral("Удаление всех строк"), this);
  auto* close = PushButton(QStringLiteral("Закрыть"), QStringLiteral("CloseReportBitBtn"),
                           QStringLiteral("Закрыть окно"), this);
  close->setDefault(true);  // Enter closes the window
  connect(deleteRow, &QPushButton::clicked, this, &ReportForm::DeleteReportButtonClick);
  connect(deleteAll, &QPushButton::clicked, this, &ReportForm::DeleteAllButtonClick);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  // The menu.
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName(QStringLiteral("ReportMainMenu"));
  QMenu* fileMenu = menuBar->addMenu(QStringLiteral("Файл"));
  fileMenu->setObjectName(QStringLiteral("FileReportMenu"));
  QAction* save = fileMenu->addAction(QStringLiteral("Сохранить"));
  save->setObjectName(QStringLiteral("SaveReportMenu"));
  QAction* saveAs = fileMenu->addAction(QStringLiteral("Сохранить как..."));
  saveAs->setObjectName(QStringLiteral("SaveAsReportMenu"));
  QAction* open = fileMenu->addAction(QStringLiteral("Открыть..."));
  open->setObjectName(QStringLiteral("OpenReportMenu"));
  QMenu* exportMenu = fileMenu->addMenu(QStringLiteral("Экспорт"));
  exportMenu->setObjectName(QStringLiteral("ExportReportMenu"));
  exportToExcelAction_ = exportMenu->addAction(QStringLiteral("в Excel"));
  exportToExcelAction_->setObjectName(QStringLiteral("ExportToExcelReportMenu"));
  exportToCalcAction_ = exportMenu->addAction(QStringLiteral("в Calc"));
  exportToCalcAction_->setObjectName(QStringLiteral("ExportToCalcReportMenu"));
  connect(save, &QAction::triggered, this, &ReportForm::SaveReportMenuClick);
  connect(saveAs, &QAction::triggered, this, &ReportForm::SaveAsReportMenuClick);
  connect(open, &QAction::triggered, this, &ReportForm::OpenReportMenuClick);

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar1"));
  AttachHintBar(this, statusBar_);

  // Layout: titles over the grid with the arrows beside it, buttons below,
  // the status bar at the bottom.
  auto* arrows = new QVBoxLayout;
  arrows->addStretch(1);
  arrows->addWidget(up);
  arrows->addWidget(down);
  arrows->addStretch(1);
  auto* gridRow = new QGridLayout;
  gridRow->setHorizontalSpacing(6);
  gridRow->setVerticalSpacing(2);
  gridRow->addWidget(buildTitles(), 0, 0);
  gridRow->addWidget(grid_, 1, 0);
  gridRow->addLayout(arrows, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(deleteRow);
  buttons->addWidget(deleteAll);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto* body = new QVBoxLayout;
  body->setContentsMargins(8, 8, 8, 8);
  body->addLayout(gridRow);
  body->addSpacing(6);
  body->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(menuBar);
  layout->addLayout(body);
  layout->addWidget(statusBar_);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The grid starts on row 0, as the selection does.
  syncing_ = true;
  grid_->setCurrentIndex(model_->index(0, 0));
  syncing_ = false;
}

ReportForm::~ReportForm() = default;

QWidget* ReportForm::buildTitles() {
  auto* titles = new QWidget(this);
  titles->setObjectName(QStringLiteral("ReportTitles"));
  auto* layout = new QGridLayout(titles);
  layout->setContentsMargins(grid_->frameWidth(), 0, 0, 0);
  layout->setSpacing(0);
  for (int c = 0; c < kReportColumns; ++c) {
    const ColumnTitle& t = kColumnTitles[static_cast<std::size_t>(c)];
    const QString hint = QString::fromUtf8(t.description);
    layout->addWidget(TitleLabel(QString::fromUtf8(t.title), true, hint, titles), 0, c);
    layout->addWidget(TitleLabel(QString::fromUtf8(t.unit), false, hint, titles), 1, c);
  }
  layout->setColumnStretch(kReportColumns, 1);
  return titles;
}

void ReportForm::showEvent(QShowEvent* event) {
  refreshGrid();  // rows may have been added since the last showing
  QDialog::showEvent(event);
}

bool ReportForm::eventFilter(QObject* watched, QEvent* event) {
  // ReportStringGridMouseUp: the cell under the pointer, or none.
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const QModelIndex index = grid_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (index.isValid()) {
      table_.mouseReleasedAt(index.column(), index.row());
    } else {
      table_.mouseReleasedAt(-1, -1);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ReportForm::refreshGrid() {
  const QModelIndex old = grid_->currentIndex();
  const int oldRow = old.isValid() ? old.row() : 0;
  const int column = old.isValid() ? old.column() : 0;
  syncing_ = true;
  model_->reload();
  // When the table shrank below the current row, the new last row becomes
  // current; otherwise the highlight stays on the same index.
  const int row = std::min(oldRow, table_.rowCount() - 1);
  grid_->setCurrentIndex(model_->index(row, column));
  syncing_ = false;
  if (row != oldRow) {
    table_.cellMadeCurrent(row);
  }
}

void ReportForm::makeCurrent(int row) {
  const int column = std::max(grid_->currentIndex().column(), 0);
  grid_->setCurrentIndex(model_->index(row, column));
}

void ReportForm::UpSpeedButtonClick() {
  const int row = table_.moveUp();
  if (row >= 0) {
    refreshGrid();
    makeCurrent(row);
  }
}

void ReportForm::DownSpeedButtonClick() {
  const int row = table_.moveDown();
  if (row >= 0) {
    refreshGrid();
    makeCurrent(row);
  }
}

void ReportForm::DeleteReportButtonClick() {
  const std::string message = table_.deleteSelected();
  if (!message.empty()) {
    messages_.inform(this, QString::fromStdString(message));
    return;
  }
  refreshGrid();
}

void ReportForm::DeleteAllButtonClick() {
  deleteAllForm_.exec();
  refreshGrid();
}

void ReportForm::setReportFileName(const QString& path) {
  reportFileName_ = path;
  setWindowTitle(kCaption + QLatin1Char('-') + path);
}

bool ReportForm::writeTo(const QString& path) {
  const QString error = SaveReportFile(path, table_);
  if (!error.isEmpty()) {
    messages_.error(this, error);
    return false;
  }
  return true;
}

void ReportForm::SaveReportMenuClick() {
  if (reportFileName_.isEmpty()) {
    SaveAsReportMenuClick();
    return;
  }
  writeTo(reportFileName_);
}

void ReportForm::SaveAsReportMenuClick() {
  for (;;) {
    const QString path = files_.chooseSaveName(this, reportFileName_, kCsvFilter, QStringLiteral("csv"));
    if (path.isEmpty()) {
      return;
    }
    if (QFileInfo::exists(path) &&
        !messages_.ask(this, QString::fromUtf8(report_file_messages::kOverwrite))) {
      continue;  // back to the dialog; the current name stays
    }
    // The name becomes the report's only once the file is really written.
    if (writeTo(path)) {
      setReportFileName(path);
    }
    return;
  }
}

void ReportForm::OpenReportMenuClick() {
  for (;;) {
    const QString path =
        files_.chooseOpenName(this, reportFileName_, {kCsvFilter, kOkzFilter}, QStringLiteral("okz"));
    if (path.isEmpty()) {
      return;
    }
    const std::optional<ReportLayout> layout = LayoutForFileName(path);
    if (!layout) {
      return;  // not a report file name: nothing is read and nothing changes
    }
    // The rows are built only once the file is accepted; running out of
    // memory on the way leaves the table as it was.
    try {
      LoadedReport loaded = LoadReportFile(path, *layout);
      if (!loaded.error.isEmpty()) {
        messages_.error(this, loaded.error);
        return;
      }
      if (loaded.scan.damaged && !messages_.ask(this, QString::fromUtf8(report_file_messages::kDamaged))) {
        continue;  // back to the dialog with the table unchanged
      }
      ParsedReport parsed = ParseReport(loaded.bytes, *layout);
      loaded.bytes.clear();
      table_.assignRows(std::move(parsed.rows));
    } catch (const std::bad_alloc&) {
      messages_.error(this, QString::fromUtf8(report_file_messages::kOutOfMemory).arg(QDir::toNativeSeparators(path)));
      return;
    }
    setReportFileName(path);
    refreshGrid();
    return;
  }
}

}  // namespace tesmir
