#include "widgets/report_form.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
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
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "document/report_document.h"
#include "document/report_model.h"
#include "report/file_names.h"
#include "report/report_columns.h"
#include "report/report_file.h"
#include "report/report_table.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"
#include "widgets/delete_all_report_form.h"
#include "widgets/edit_menu.h"
#include "widgets/file_chooser.h"
#include "widgets/hints.h"
#include "widgets/message_sink.h"
#include "widgets/window_placement.h"
#include "widgets/window_style.h"

namespace tesmir {

namespace {

// The narrowest column; a column is as wide as its widest title or value.
constexpr int kColumnWidth = 50;
// Room beside a text in a column: the cell's left margin and a small gap.
constexpr int kCellPadding = 6;
// The widest a column grows to fit its values.
constexpr int kColumnWidthMax = 400;
// Up to this many rows every value is measured for the column widths.
constexpr int kMeasureEveryRowUpTo = 1000;
// Beyond that, only the few distinct texts that may be the widest, so the
// cost of measuring does not grow with the rows: those whose width told from
// their characters comes within this many pixels of the widest, at most this
// many of them.
constexpr long kWidthSlack = 8;
constexpr std::size_t kWidestTexts = 32;
constexpr int kRowHeight = 18;
constexpr int kVisibleRows = 15;
// A compact font keeps twelve columns of values within a normal screen.
constexpr qreal kGridPointSize = 8;

QFont CompactFont(QFont font) {
  if (font.pointSizeF() > kGridPointSize) {
    font.setPointSizeF(kGridPointSize);
  }
  return font;
}

const QString kCaption = QStringLiteral("Отчет");
const QString kCsvFilter = QStringLiteral("Таблица (*.csv)");
const QString kOkzFilter = QStringLiteral("Таблица (*.okz)");

// Draws cell texts with a narrow margin; the columns are sized to their
// widest text, so nothing is cut.
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
    const QPalette::ColorRole role = (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(QPalette::Active, role));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                      opt.fontMetrics.elidedText(text, Qt::ElideRight, area.width()));
    painter->restore();
  }
};

// The width of a cell's text told from the widths of its characters, each
// measured once: close to the real width (only kerning and shaping differ),
// with no text laid out. A huge text counts up to where the cell cuts it.
class WidthEstimate {
 public:
  explicit WidthEstimate(const QFontMetrics& metrics)
      : metrics_(metrics), widest_(metrics.maxWidth()), ellipsis_(metrics.horizontalAdvance(QChar(0x2026))) {}

  // No text of `bytes` bytes can be wider than this.
  long bound(std::size_t bytes) const {
    return static_cast<long>(std::min(bytes, ReportTableModel::kDisplayBytes)) * widest_ + ellipsis_;
  }

  long operator()(const std::string& text) {
    const std::size_t bytes = std::min(text.size(), ReportTableModel::kDisplayBytes);
    long width = text.size() > bytes ? ellipsis_ : 0;
    std::size_t i = 0;
    while (i < bytes) {
      const auto lead = static_cast<unsigned char>(text[i]);
      const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
      if (i + length > bytes) {
        break;  // the cell cuts before a character it cannot show whole
      }
      char32_t code = length == 1 ? char32_t{lead} : static_cast<char32_t>(lead & (0x3Fu >> (length - 1)));
      for (std::size_t k = 1; k < length; ++k) {
        code = (code << 6) | static_cast<char32_t>(static_cast<unsigned char>(text[i + k]) & 0x3Fu);
      }
      width += advance(code);
      i += length;
    }
    return width;
  }

 private:
  int advance(char32_t code) {
    if (code > 0xFFFF) {
      return widest_;
    }
    if (advances_.empty()) {
      advances_.assign(0x10000, -1);
    }
    int& known = advances_[code];
    if (known < 0) {
      known = metrics_.horizontalAdvance(QChar(static_cast<char16_t>(code)));
    }
    return known;
  }

  const QFontMetrics& metrics_;
  const int widest_;
  const int ellipsis_;
  std::vector<int> advances_;
};

// The distinct texts of column `col` that may be the widest: those whose
// estimated width comes within kWidthSlack of the widest estimate, at most
// kWidestTexts of them (the widest estimates first), in no order.
std::vector<const std::string*> WidestTexts(const ReportTable& table, int col, WidthEstimate& estimate) {
  std::vector<std::pair<long, const std::string*>> kept;
  kept.reserve(kWidestTexts);
  long widest = 0;
  for (int r = 0; r < table.rowCount(); ++r) {
    const std::string& text = table.cell(col, r);
    if (text.empty() || estimate.bound(text.size()) + kWidthSlack < widest) {
      continue;
    }
    const long width = estimate(text);
    if (width + kWidthSlack < widest) {
      continue;
    }
    if (width > widest) {
      widest = width;
      std::erase_if(kept, [widest](const auto& k) { return k.first + kWidthSlack < widest; });
    }
    // Once full, only a text wider than the narrowest kept enters, in that
    // one's place.
    auto place = kept.end();
    if (kept.size() == kWidestTexts) {
      place =
          std::min_element(kept.begin(), kept.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
      if (place->first >= width) {
        continue;
      }
    }
    if (std::any_of(kept.begin(), kept.end(), [&text](const auto& k) { return *k.second == text; })) {
      continue;
    }
    if (place == kept.end()) {
      kept.emplace_back(width, &text);
    } else {
      *place = {width, &text};
    }
  }
  std::vector<const std::string*> texts;
  texts.reserve(kept.size());
  for (const auto& k : kept) texts.push_back(k.second);
  return texts;
}

QLabel* TitleLabel(const QString& text, bool bold, const QString& hint, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = CompactFont(label->font());
  font.setBold(bold);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, style::kMaroon);
  label->setPalette(palette);
  label->setAlignment(Qt::AlignCenter);
  label->setFixedWidth(kColumnWidth);
  label->setStatusTip(hint);
  label->setTextFormat(Qt::PlainText);
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
  SetHelpContext(this, HelpTopic::kReport);

  // The grid.
  model_ = new ReportTableModel(table_, this);
  document_ = new ReportDocument(*model_, this);
  grid_ = new QTableView(this);
  grid_->setObjectName(QStringLiteral("ReportStringGrid"));
  // The grid follows the model. The current row is held before rows go or
  // the whole table changes (these run before the grid's own handlers) and
  // put back after (those run after them).
  connect(model_, &QAbstractItemModel::modelAboutToBeReset, this, &ReportForm::holdCurrentRow);
  connect(model_, &QAbstractItemModel::rowsAboutToBeRemoved, this, &ReportForm::holdCurrentRow);
  grid_->setModel(model_);
  connect(model_, &QAbstractItemModel::modelReset, this, &ReportForm::restoreCurrentRow);
  connect(model_, &QAbstractItemModel::rowsRemoved, this, &ReportForm::restoreCurrentRow);
  connect(model_, &QAbstractItemModel::rowsInserted, this, &ReportForm::fitColumns);
  connect(model_, &QAbstractItemModel::dataChanged, this, &ReportForm::fitColumns);
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
  grid_->setMouseTracking(true);  // the hovered cell's value goes to the status bar
  grid_->viewport()->installEventFilter(this);
  connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
    if (!syncing_ && current.isValid()) {
      model_->cellMadeCurrent(current.row());  // ReportStringGridSelectCell
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
  auto* close = PushButton(QStringLiteral("Закрыть"), QStringLiteral("CloseReportBitBtn"), kCloseWindowHint, this);
  close->setDefault(true);  // Enter closes the window
  connect(deleteRow, &QPushButton::clicked, this, &ReportForm::DeleteReportButtonClick);
  connect(deleteAll, &QPushButton::clicked, this, &ReportForm::DeleteAllButtonClick);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  // The menu.
  auto* menuBar = new QMenuBar(this);
  menuBar->setObjectName(QStringLiteral("ReportMainMenu"));
  // Alt with the underlined letter, or F10 and the arrow keys.
  QMenu* fileMenu = menuBar->addMenu(QStringLiteral("&Файл"));
  F10OpensMenuBar(menuBar);
  fileMenu->setObjectName(QStringLiteral("FileReportMenu"));
  QAction* save = fileMenu->addAction(QStringLiteral("&Сохранить"));
  save->setObjectName(QStringLiteral("SaveReportMenu"));
  save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  QAction* saveAs = fileMenu->addAction(QStringLiteral("Сохранить &как..."));
  saveAs->setObjectName(QStringLiteral("SaveAsReportMenu"));
  saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  QAction* open = fileMenu->addAction(QStringLiteral("&Открыть..."));
  open->setObjectName(QStringLiteral("OpenReportMenu"));
  open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  // The window owns the shortcuts too, so they work while no menu is open.
  addActions({save, saveAs, open});
  const EditMenu editMenu = AddEditMenu(menuBar, QStringLiteral("Report"));
  ConnectEditMenu(editMenu, document_->undoStack());
  undoAction_ = editMenu.undo;
  redoAction_ = editMenu.redo;
  QMenu* exportMenu = fileMenu->addMenu(QStringLiteral("&Экспорт"));
  exportMenu->setObjectName(QStringLiteral("ExportReportMenu"));
  exportToExcelAction_ = exportMenu->addAction(QStringLiteral("в &Excel"));
  exportToExcelAction_->setObjectName(QStringLiteral("ExportToExcelReportMenu"));
  exportToCalcAction_ = exportMenu->addAction(QStringLiteral("в &Calc"));
  exportToCalcAction_->setObjectName(QStringLiteral("ExportToCalcReportMenu"));
  fileMenu->addSeparator();
  printAction_ = fileMenu->addAction(QStringLiteral("&Печать..."));
  printAction_->setObjectName(QStringLiteral("PrintReportMenu"));
  pdfAction_ = fileMenu->addAction(QStringLiteral("Сохранить &в PDF..."));
  pdfAction_->setObjectName(QStringLiteral("PdfReportMenu"));
  connect(save, &QAction::triggered, this, &ReportForm::SaveReportMenuClick);
  connect(saveAs, &QAction::triggered, this, &ReportForm::SaveAsReportMenuClick);
  connect(open, &QAction::triggered, this, &ReportForm::OpenReportMenuClick);
  recentSeparator_ = fileMenu->addSeparator();
  for (int i = 0; i < ReportPlaces::kRecentCount; ++i) {
    QAction* recent = fileMenu->addAction(QString());
    recent->setObjectName(QStringLiteral("RecentReportMenu%1").arg(i + 1));
    connect(recent, &QAction::triggered, this, [this, i] { openRecentFile(i); });
    recentActions_ << recent;
  }
  showRecentFiles();

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
  fitColumns();
  EnterClicksFocusedButtons(this);
  KeepCentredOnScreen(this);
}

ReportForm::~ReportForm() = default;

QWidget* ReportForm::buildTitles() {
  auto* titles = new QWidget(this);
  titles->setObjectName(QStringLiteral("ReportTitles"));
  auto* layout = new QGridLayout(titles);
  layout->setContentsMargins(grid_->frameWidth(), 0, 0, 0);
  layout->setSpacing(0);
  for (int c = 0; c < kReportColumns; ++c) {
    const ReportColumn& t = kReportColumnTable[static_cast<std::size_t>(c)];
    const QString hint = QString::fromUtf8(t.description);
    QLabel* title = TitleLabel(QString::fromUtf8(t.title), true, hint, titles);
    QLabel* unit = TitleLabel(QString::fromUtf8(t.unit), false, hint, titles);
    titleLabels_[static_cast<std::size_t>(c)] = {title, unit};
    layout->addWidget(title, 0, c);
    layout->addWidget(unit, 1, c);
  }
  layout->setColumnStretch(kReportColumns, 1);
  return titles;
}

bool ReportForm::eventFilter(QObject* watched, QEvent* event) {
  // ReportStringGridMouseUp: the cell under the pointer, or none.
  if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    const QModelIndex index = grid_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (index.isValid()) {
      model_->mouseReleasedAt(index.column(), index.row());
    } else {
      model_->mouseReleasedAt(-1, -1);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void ReportForm::holdCurrentRow() {
  const QModelIndex old = grid_->currentIndex();
  heldRow_ = old.isValid() ? old.row() : 0;
  heldColumn_ = old.isValid() ? old.column() : 0;
  syncing_ = true;
}

void ReportForm::restoreCurrentRow() {
  fitColumns();
  // When the table shrank below the current row, the new last row becomes
  // current; otherwise the highlight stays on the same index.
  const int row = std::min(heldRow_, table_.rowCount() - 1);
  grid_->setCurrentIndex(model_->index(row, heldColumn_));
  syncing_ = false;
  if (row != heldRow_) {
    model_->cellMadeCurrent(row);
  }
}

void ReportForm::fitColumns() {
  const QFontMetrics cells(grid_->font());
  WidthEstimate estimate(cells);
  int total = 0;
  for (int c = 0; c < kReportColumns; ++c) {
    const auto& [title, unit] = titleLabels_[static_cast<std::size_t>(c)];
    int width = std::max({kColumnWidth, title->fontMetrics().horizontalAdvance(title->text()) + kCellPadding,
                          unit->fontMetrics().horizontalAdvance(unit->text()) + kCellPadding});
    // Every value of a report a person makes is measured. In a huge file read
    // from elsewhere only the longest texts are, so opening it stays quick.
    const auto measure = [&](const std::string& text) {
      width = std::max(width, cells.horizontalAdvance(ReportTableModel::DisplayText(text)) + kCellPadding);
    };
    if (table_.rowCount() <= kMeasureEveryRowUpTo) {
      for (int r = 0; r < table_.rowCount() && width < kColumnWidthMax; ++r) {
        const std::string& text = table_.cell(c, r);
        if (!text.empty()) {
          measure(text);
        }
      }
    } else {
      for (const std::string* text : WidestTexts(table_, c, estimate)) {
        measure(*text);
      }
    }
    // A column never outgrows the screen; a longer value ends in "…" and
    // shows whole in the status bar.
    width = std::min(width, kColumnWidthMax);
    grid_->setColumnWidth(c, width);
    title->setFixedWidth(width);
    unit->setFixedWidth(width);
    total += width;
  }
  // The window follows the grid's width (its layout has a fixed size).
  const int frame = grid_->frameWidth();
  grid_->setFixedSize(total + 2 * frame + grid_->verticalScrollBar()->sizeHint().width(),
                      kVisibleRows * kRowHeight + 2 * frame);
}

void ReportForm::makeCurrent(int row) {
  const int column = std::max(grid_->currentIndex().column(), 0);
  grid_->setCurrentIndex(model_->index(row, column));
}

void ReportForm::UpSpeedButtonClick() {
  const int row = document_->moveUp();
  if (row >= 0) {
    makeCurrent(row);
  }
}

void ReportForm::DownSpeedButtonClick() {
  const int row = document_->moveDown();
  if (row >= 0) {
    makeCurrent(row);
  }
}

void ReportForm::DeleteReportButtonClick() {
  const std::string message = document_->deleteSelected();
  if (!message.empty()) {
    messages_.inform(this, QString::fromStdString(message));
  }
  // Left on "Удалить", the next Enter would delete the next row.
  grid_->setFocus();
}

void ReportForm::DeleteAllButtonClick() {
  if (deleteAllForm_.confirm()) {
    document_->deleteAll();
  }
}

void ReportForm::setReportFileName(const QString& path) {
  reportFileName_ = path;
  setWindowTitle(kCaption + QLatin1Char('-') + ShownFileName(path));
}

void ReportForm::keepPlacesIn(const QString& settingsFile) {
  places_ = ReportPlaces(settingsFile);
  showRecentFiles();
}

void ReportForm::showRecentFiles() {
  const QStringList& files = places_.recentFiles();
  recentSeparator_->setVisible(!files.isEmpty());
  for (int i = 0; i < recentActions_.size(); ++i) {
    QAction* action = recentActions_[i];
    if (i < files.size()) {
      // "&" would make the next letter a mnemonic.
      QString shown = files[i];
      shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
      action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
      action->setVisible(true);
    } else {
      action->setText(QString());
      action->setVisible(false);
    }
  }
}

void ReportForm::openRecentFile(int index) {
  const QString path = places_.recentFiles().value(index);
  if (path.isEmpty() || !offerToSave(this)) {
    return;
  }
  // A file gone since leaves the list; opening it still shows why.
  if (!QFileInfo::exists(path)) {
    places_.forget(path);
    showRecentFiles();
  }
  openReportFile(path);
}

bool ReportForm::writeTo(const QString& path) {
  const Result<ReportSaved, QString> saved = SaveReportFile(path, table_);
  if (!saved) {
    messages_.error(this, saved.error());
    return false;
  }
  table_.markSaved();
  document_->saved();
  places_.useFile(path);
  showRecentFiles();
  return true;
}

void ReportForm::SaveReportMenuClick() { saveReport(); }

void ReportForm::SaveAsReportMenuClick() { saveReportAs(); }

bool ReportForm::saveReport() {
  if (reportFileName_.isEmpty()) {
    return saveReportAs();
  }
  return writeTo(reportFileName_);
}

bool ReportForm::saveReportAs() {
  // The folder of every picked name is remembered, also when the user then
  // declines to replace a file there and goes back to the dialog.
  const QString path = ChooseNameToSave(
      files_, messages_, this, [this] { return places_.saveStart(reportFileName_); }, kCsvFilter, QStringLiteral("csv"),
      [this](const QString& picked) { places_.useFolder(QFileInfo(picked).absolutePath()); });
  // The name becomes the report's only once the file is really written.
  if (path.isEmpty() || !writeTo(path)) {
    return false;
  }
  setReportFileName(path);
  return true;
}

bool ReportForm::offerToSave(QWidget* parent) {
  if (!table_.hasUnsavedWork()) {
    return true;
  }
  switch (
      messages_.askSave(parent, QString::fromUtf8(report_messages::kUnsavedOnExit.data(),
                                                  static_cast<qsizetype>(report_messages::kUnsavedOnExit.size())))) {
    case MessageSink::SaveAnswer::Save:
      return saveReport();
    case MessageSink::SaveAnswer::Discard:
      return true;
    case MessageSink::SaveAnswer::Cancel:
      break;
  }
  return false;
}

void ReportForm::OpenReportMenuClick() {
  if (!offerToSave(this)) {
    return;
  }
  for (;;) {
    const QString path = files_.chooseOpenName(this, places_.openStart(reportFileName_), {kCsvFilter, kOkzFilter},
                                               QStringLiteral("okz"));
    if (path.isEmpty()) {
      return;
    }
    places_.useFolder(QFileInfo(path).absolutePath());
    if (openReportFile(path) == OpenResult::Declined) {
      continue;  // back to the dialog with the table unchanged
    }
    return;
  }
}

ReportForm::OpenResult ReportForm::openReportFile(const QString& path) {
  const std::optional<ReportLayout> layout = LayoutForFileName(path);
  if (!layout) {
    // Not a report file name: nothing is read and nothing changes.
    messages_.error(
        this,
        QString::fromUtf8(report_file_messages::kNotAReportName).arg(QDir::toNativeSeparators(ShownFileName(path))));
    return OpenResult::Failed;
  }
  // The rows are built only once the file is accepted; running out of
  // memory on the way leaves the table as it was.
  try {
    Result<LoadedReport, QString> read = LoadReportFile(path, *layout);
    if (!read) {
      messages_.error(this, read.error());
      return OpenResult::Failed;
    }
    LoadedReport& loaded = read.value();
    if (loaded.scan.damaged && !messages_.ask(this, QString::fromUtf8(report_file_messages::kDamaged))) {
      return OpenResult::Declined;
    }
    ParsedReport parsed = ParseReport(loaded.bytes, *layout);
    loaded.bytes = std::string();
    model_->assignRows(std::move(parsed.rows));
    document_->opened();
  } catch (const std::bad_alloc&) {
    messages_.error(
        this, QString::fromUtf8(report_file_messages::kOutOfMemory).arg(QDir::toNativeSeparators(ShownFileName(path))));
    return OpenResult::Failed;
  }
  setReportFileName(path);
  places_.useFile(path);
  showRecentFiles();
  return OpenResult::Opened;
}

}  // namespace tesmir
