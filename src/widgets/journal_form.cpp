#include "widgets/journal_form.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "core/trans_catalogue.h"
#include "journal/journal_feeder.h"
#include "paper/journal_paper.h"
#include "report/sheet_reader.h"
#include "report/utf8_text.h"
#include "widgets/context_help.h"
#include "widgets/file_chooser.h"
#include "widgets/journal_diagram_view.h"
#include "widgets/journal_editors.h"
#include "widgets/journal_import_dialog.h"
#include "widgets/journal_model.h"
#include "widgets/message_sink.h"
#include "widgets/printing.h"

namespace tesmir {
namespace {

namespace texts = journal_form_texts;

const QString kLastFolderKey = QStringLiteral("journal/lastFolder");
const QString kRecentKey = QStringLiteral("journal/recentFiles");
constexpr int kRecentCount = 5;

QStringList PowerItems(const QString& scheme) {
  QStringList items;
  if (const Result<TransPowerList> list = TransPowerListFor(scheme.toStdString())) {
    for (std::string_view power : list.value().items) items << QUtf8(power);
  }
  return items;
}

// An editable list whose typed text stays as typed (no completion).
QComboBox* EditableList(const char* name, const QStringList& items, const QString& tip, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  box->addItems(items);
  box->setStatusTip(tip);
  return box;
}

void ShowText(QComboBox* box, const QString& text) {
  if (box->currentText() == text) return;
  const QSignalBlocker quiet(box);
  const int at = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (at >= 0) {
    box->setCurrentIndex(at);
  } else {
    box->setEditText(text);
  }
}

// Tab-separated text as a spreadsheet puts it on the clipboard.
std::vector<QStringList> ReadBlock(const QString& text) {
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  std::vector<QStringList> rows;
  rows.reserve(static_cast<std::size_t>(lines.size()));
  for (QString& line : lines) {
    if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    rows.push_back(line.split(QLatin1Char('\t')));
  }
  return rows;
}

}  // namespace

JournalForm::JournalForm(LineJournal& journal, MessageSink& messages, FileChooser& files, QWidget* parent)
    : QMainWindow(parent), journal_(journal), messages_(messages), files_(files) {
  setObjectName(QStringLiteral("JournalForm"));
  SetHelpContext(this, HelpTopic::kLineJournal);
  model_ = new JournalModel(journal_, this);

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(buildNetworkFields());
  table_ = new QTableView(central);
  table_->setObjectName(QStringLiteral("JournalTable"));
  table_->setModel(model_);
  table_->setItemDelegate(new JournalEditors(
      journal_, [this](int row) { return model_->lineAt(row); }, table_));
  table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  table_->setMouseTracking(true);
  table_->setWordWrap(false);
  // Every heading readable whole: a column is at least as wide as its heading.
  {
    QHeaderView* header = table_->horizontalHeader();
    for (int c = 0; c < model_->columnCount(); ++c) {
      header->resizeSection(c, std::max(header->sectionSize(c), header->sectionSizeHint(c)));
    }
  }
  // One row height for every row: a large journal scrolls without measuring.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  table_->verticalHeader()->setStatusTip(QStringLiteral("Обозначение линии; отступ показывает ее глубину в дереве"));
  table_->setStatusTip(QStringLiteral("Таблица линий: исходные данные и результаты расчета"));
  // The table first, as the window opens; the diagram of the same lines beside it.
  auto* tabs = new QTabWidget(central);
  tabs->setObjectName(QStringLiteral("JournalTabs"));
  tabs->addTab(table_, QStringLiteral("&Таблица"));
  diagram_ = new JournalDiagramView(journal_, tabs);
  tabs->addTab(diagram_, QStringLiteral("С&хема"));
  tabs->tabBar()->setStatusTip(QStringLiteral("Таблица линий или однолинейная схема сети"));
  tabs->setCurrentIndex(0);
  layout->addWidget(tabs, 1);
  setCentralWidget(central);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("JournalSummary"));
  statusBar()->setObjectName(QStringLiteral("JournalStatusBar"));
  statusBar()->addPermanentWidget(summary_);

  buildMenus();
  // Printing waits for the printer dialog the program hands in.
  print_->setEnabled(false);

  connect(&journal_, &LineJournal::networkChanged, this, &JournalForm::showNetwork);
  connect(&journal_, &LineJournal::resultsChanged, this, &JournalForm::showSummary);
  connect(&journal_, &LineJournal::linesReset, this, &JournalForm::showSummary);
  connect(&journal_.undoStack(), &QUndoStack::cleanChanged, this, &JournalForm::showTitle);
  connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& index) {
    updateLineActions();
    statusBar()->showMessage(index.data(Qt::StatusTipRole).toString());
  });
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &JournalForm::updateLineActions);
  connect(model_, &QAbstractItemModel::modelReset, this, &JournalForm::updateLineActions);
  connect(model_, &QAbstractItemModel::dataChanged, this, &JournalForm::updateLineActions);
  // A refused text is told once its editor is closed.
  connect(table_->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
    const QString refusal = model_->takeRefusal();
    if (!refusal.isEmpty()) QTimer::singleShot(0, this, [this, refusal] { messages_.inform(this, refusal); });
  });

  showNetwork();
  showTitle();
  showSummary();
  showRecentFiles();
  updateLineActions();
  resize(1100, 600);
}

JournalForm::~JournalForm() {
  // The table and the model go with the window's children, after this body:
  // nothing they say then may reach the window.
  table_->selectionModel()->disconnect(this);
  model_->disconnect(this);
  table_->itemDelegate()->disconnect(this);
  journal_.disconnect(this);
  journal_.undoStack().disconnect(this);
}

QWidget* JournalForm::buildNetworkFields() {
  auto* box = new QGroupBox(QStringLiteral("Сеть"), this);
  box->setObjectName(QStringLiteral("JournalNetworkBox"));
  auto* grid = new QGridLayout(box);
  QStringList schemes;
  for (std::string_view scheme : kWindKinds) schemes << QUtf8(scheme);
  windKind_ = EditableList("JournalWindKindComboBox", schemes,
                           QStringLiteral("Выберите тип соединения обмоток трансформатора"), box);
  transPower_ =
      EditableList("JournalTransPowerComboBox", {},
                   QStringLiteral("Выберите мощность трансформатора в кВ*А из списка стандартных значений"), box);
  grid->addWidget(new QLabel(NetworkFieldTitle(NetworkField::Scheme), box), 0, 0);
  grid->addWidget(windKind_, 0, 1);
  grid->addWidget(new QLabel(NetworkFieldTitle(NetworkField::Power), box), 1, 0);
  grid->addWidget(transPower_, 1, 1);
  connect(windKind_, &QComboBox::editTextChanged, this,
          [this](const QString& text) { journal_.setNetworkText(NetworkField::Scheme, text); });
  connect(transPower_, &QComboBox::editTextChanged, this,
          [this](const QString& text) { journal_.setNetworkText(NetworkField::Power, text); });
  struct Edit {
    NetworkField field;
    const char* name;
    QString tip;
  };
  const Edit fields[] = {
      {NetworkField::SkMva, "JournalSkMaxEdit",
       QStringLiteral("Мощность КЗ сети ВН, наибольшая, МВ*А; пусто — сеть не учитывается")},
      {NetworkField::SkMinMva, "JournalSkMinEdit",
       QStringLiteral("Мощность КЗ сети ВН, наименьшая, МВ*А; пусто — как наибольшая")},
      {NetworkField::Arc, "JournalArcEdit",
       QStringLiteral("Переходное сопротивление контактов и дуги по умолчанию, мОм; пусто — 15")},
      {NetworkField::DuLimitTp, "JournalDuTpEdit", QStringLiteral("Допустимая потеря напряжения от ТП, %; пусто — 5")},
      {NetworkField::DuLimitVru, "JournalDuVruEdit",
       QStringLiteral("Допустимая потеря напряжения от ВРУ, %; пусто — 4")},
  };
  int at = 0;
  for (const Edit& f : fields) {
    auto* edit = new QLineEdit(box);
    edit->setObjectName(QLatin1String(f.name));
    edit->setStatusTip(f.tip);
    const int row = at % 2;
    const int column = 2 + 2 * (at / 2);
    grid->addWidget(new QLabel(NetworkFieldTitle(f.field), box), row, column);
    grid->addWidget(edit, row, column + 1);
    const NetworkField field = f.field;
    connect(edit, &QLineEdit::textEdited, this,
            [this, field](const QString& text) { journal_.setNetworkText(field, text); });
    edits_.emplace_back(f.field, edit);
    ++at;
  }
  grid->setColumnStretch(8, 1);
  return box;
}

void JournalForm::buildMenus() {
  const auto action = [this](QMenu* menu, const char* name, const QString& caption, const QString& tip,
                             void (JournalForm::*slot)()) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setStatusTip(tip);
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("JournalMenuBar"));
  QToolBar* tools = addToolBar(QStringLiteral("Журнал"));
  tools->setObjectName(QStringLiteral("JournalToolBar"));

  QMenu* file = bar->addMenu(QStringLiteral("&Файл"));
  file->setObjectName(QStringLiteral("JournalFileMenu"));
  QAction* fresh = action(file, "JournalNewMenu", QStringLiteral("&Новый"), QStringLiteral("Новый журнал линий"),
                          &JournalForm::NewMenuClick);
  fresh->setShortcut(QKeySequence::New);
  QAction* open = action(file, "JournalOpenMenu", QStringLiteral("&Открыть..."),
                         QStringLiteral("Открыть журнал линий из файла"), &JournalForm::OpenMenuClick);
  open->setShortcut(QKeySequence::Open);
  action(file, "JournalImportMenu", QStringLiteral("&Импорт журнала..."),
         QStringLiteral("Прочитать журнал линий из таблицы (.xlsx или .csv)"), &JournalForm::ImportMenuClick);
  QAction* save = file->addAction(QStringLiteral("&Сохранить"));
  save->setObjectName(QStringLiteral("JournalSaveMenu"));
  save->setStatusTip(QStringLiteral("Сохранить журнал линий в его файл"));
  save->setShortcut(QKeySequence::Save);
  connect(save, &QAction::triggered, this, [this] { SaveMenuClick(); });
  QAction* saveAs = file->addAction(QStringLiteral("Сохранить &как..."));
  saveAs->setObjectName(QStringLiteral("JournalSaveAsMenu"));
  saveAs->setStatusTip(QStringLiteral("Сохранить журнал линий в другой файл"));
  connect(saveAs, &QAction::triggered, this, [this] { SaveAsMenuClick(); });
  print_ = action(file, "JournalPrintMenu", QStringLiteral("&Печать..."),
                  QStringLiteral("Напечатать таблицу результатов и схему сети на листах A4, альбомных"),
                  &JournalForm::PrintMenuClick);
  print_->setShortcut(QKeySequence::Print);
  action(file, "JournalPdfMenu", QStringLiteral("Сохранить в &PDF..."),
         QStringLiteral("Сохранить таблицу результатов и схему сети в файл PDF"), &JournalForm::PdfMenuClick);
  QMenu* exportMenu = file->addMenu(QStringLiteral("&Экспорт"));
  exportMenu->setObjectName(QStringLiteral("JournalExportMenu"));
  action(exportMenu, "JournalExcelMenu", QStringLiteral("в &Excel"),
         QStringLiteral("Записать журнал с результатами в книгу и открыть ее программой для файлов .xlsx"),
         &JournalForm::ExcelMenuClick);
  action(exportMenu, "JournalCalcMenu", QStringLiteral("в &Calc"),
         QStringLiteral("Записать журнал с результатами в книгу и открыть ее в LibreOffice Calc"),
         &JournalForm::CalcMenuClick);
  file->addSeparator();
  openInMain_ = action(file, "JournalOpenInMainMenu", QStringLiteral("Открыть в &главном окне"), QString(),
                       &JournalForm::OpenInMainMenuClick);
  addToReport_ = action(file, "JournalAddToReportMenu", QStringLiteral("&Добавить в отчет"),
                        QStringLiteral("Добавить выделенные линии в отчет, каждую под ее обозначением"),
                        &JournalForm::AddToReportMenuClick);
  recentSeparator_ = file->addSeparator();
  for (int i = 0; i < kRecentCount; ++i) {
    QAction* recent = file->addAction(QString());
    recent->setObjectName(QStringLiteral("JournalRecentMenu%1").arg(i + 1));
    connect(recent, &QAction::triggered, this, [this, i] {
      const QString path = recent_.value(i);
      if (!path.isEmpty() && offerToSave(this)) openFile(path);
    });
    recentActions_ << recent;
  }
  file->addSeparator();
  QAction* close = file->addAction(QStringLiteral("&Закрыть"));
  close->setObjectName(QStringLiteral("JournalCloseMenu"));
  close->setStatusTip(QStringLiteral("Закрыть окно журнала линий"));
  connect(close, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = bar->addMenu(QStringLiteral("&Правка"));
  edit->setObjectName(QStringLiteral("JournalEditMenu"));
  QAction* undo = journal_.undoStack().createUndoAction(this, QStringLiteral("Отменить"));
  undo->setObjectName(QStringLiteral("JournalUndoMenu"));
  undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  undo->setStatusTip(QStringLiteral("Отменить последнее изменение"));
  QAction* redo = journal_.undoStack().createRedoAction(this, QStringLiteral("Повторить"));
  redo->setObjectName(QStringLiteral("JournalRedoMenu"));
  redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redo->setStatusTip(QStringLiteral("Повторить отмененное изменение"));
  edit->addAction(undo);
  edit->addAction(redo);
  edit->addSeparator();
  QAction* insert = action(edit, "JournalInsertLineMenu", QStringLiteral("Вставить &линию"),
                           QStringLiteral("Вставить пустую линию после текущей"), &JournalForm::InsertLineMenuClick);
  insert->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Insert));
  QAction* fed = action(edit, "JournalInsertFedLineMenu", QStringLiteral("Вставить линию, &питаемую от текущей"),
                        QStringLiteral("Вставить линию, которая начинается в щите в конце текущей линии"),
                        &JournalForm::InsertFedLineMenuClick);
  fed->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Insert));
  QAction* remove = action(edit, "JournalDeleteLinesMenu", QStringLiteral("&Удалить линии"),
                           QStringLiteral("Удалить выделенные линии; питаемые от них линии остаются"),
                           &JournalForm::DeleteLinesMenuClick);
  remove->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete));
  QAction* up =
      action(edit, "JournalMoveUpMenu", QStringLiteral("Переместить &вверх"),
             QStringLiteral("Переместить текущую линию на одну выше в порядке ввода"), &JournalForm::MoveUpMenuClick);
  up->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
  QAction* down =
      action(edit, "JournalMoveDownMenu", QStringLiteral("Переместить в&низ"),
             QStringLiteral("Переместить текущую линию на одну ниже в порядке ввода"), &JournalForm::MoveDownMenuClick);
  down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
  edit->addSeparator();
  QAction* copy =
      action(edit, "JournalCopyMenu", QStringLiteral("&Копировать"),
             QStringLiteral("Копировать выделенные ячейки как текст с табуляциями"), &JournalForm::CopyMenuClick);
  copy->setShortcut(QKeySequence::Copy);
  QAction* paste = action(edit, "JournalPasteMenu", QStringLiteral("Вст&авить"),
                          QStringLiteral("Вставить текст с табуляциями от текущей ячейки, добавляя линии"),
                          &JournalForm::PasteMenuClick);
  paste->setShortcut(QKeySequence::Paste);
  for (QAction* a : {copy, paste, insert, fed, remove, up, down}) a->setShortcutContext(Qt::WindowShortcut);

  QMenu* view = bar->addMenu(QStringLiteral("&Вид"));
  view->setObjectName(QStringLiteral("JournalViewMenu"));
  auto* columns = new QActionGroup(this);
  const auto columnItem = [&](const char* name, const QString& caption, const QString& tip) {
    QAction* a = view->addAction(caption);
    a->setObjectName(QLatin1String(name));
    a->setStatusTip(tip);
    a->setCheckable(true);
    columns->addAction(a);
    connect(a, &QAction::triggered, this, &JournalForm::showColumns);
    return a;
  };
  showBoth_ = columnItem("JournalShowBothMenu", QStringLiteral("Исходные данные и результаты"),
                         QStringLiteral("Показать все столбцы"));
  showInputs_ = columnItem("JournalShowInputsMenu", QStringLiteral("Только исходные данные"),
                           QStringLiteral("Показать только столбцы исходных данных"));
  showResults_ = columnItem("JournalShowResultsMenu", QStringLiteral("Только результаты"),
                            QStringLiteral("Показать только столбцы результатов"));
  showBoth_->setChecked(true);
  view->addSeparator();
  QAction* only = view->addAction(QStringLiteral("Только линии с &нарушениями"));
  only->setObjectName(QStringLiteral("JournalOnlyViolationsMenu"));
  only->setStatusTip(QStringLiteral("Показать только линии с ошибками, нарушениями и предупреждениями"));
  only->setCheckable(true);
  connect(only, &QAction::toggled, model_, &JournalModel::setOnlyViolations);
  view->addSeparator();
  auto* orders = new QActionGroup(this);
  QAction* tree = view->addAction(QStringLiteral("По &дереву"));
  tree->setObjectName(QStringLiteral("JournalTreeOrderMenu"));
  tree->setStatusTip(QStringLiteral("Каждая линия под своей питающей линией"));
  QAction* entered = view->addAction(QStringLiteral("В порядке &ввода"));
  entered->setObjectName(QStringLiteral("JournalEntryOrderMenu"));
  entered->setStatusTip(QStringLiteral("Линии в том порядке, в котором они введены"));
  for (QAction* a : {tree, entered}) {
    a->setCheckable(true);
    orders->addAction(a);
  }
  tree->setChecked(model_->treeOrder());
  connect(tree, &QAction::toggled, model_, &JournalModel::setTreeOrder);

  QAction* help = bar->addAction(QStringLiteral("П&омощь"));
  help->setObjectName(QStringLiteral("JournalHelpMenu"));
  help->setStatusTip(QStringLiteral("Справка о журнале линий"));
  connect(help, &QAction::triggered, this, [this] {
    if (links_.openHelp) links_.openHelp(TopicNumber(HelpTopic::kLineJournal));
  });

  for (QAction* a : {fresh, open, save}) tools->addAction(a);
  tools->addSeparator();
  for (QAction* a : {undo, redo}) tools->addAction(a);
  tools->addSeparator();
  for (QAction* a : {insert, fed, remove}) tools->addAction(a);
  tools->addSeparator();
  tools->addAction(openInMain_);
}

void JournalForm::setLinks(JournalLinks links) {
  links_ = std::move(links);
  if (links_.openHelp) InstallContextHelp(this, links_.openHelp);
  print_->setEnabled(static_cast<bool>(links_.choosePrinter));
  updateLineActions();
}

void JournalForm::keepPlacesIn(const QString& settingsFile) {
  settingsFile_ = settingsFile;
  const QSettings settings(settingsFile_, QSettings::IniFormat);
  lastFolder_ = settings.value(kLastFolderKey).toString();
  recent_ = settings.value(kRecentKey).toStringList().mid(0, kRecentCount);
  showRecentFiles();
}

void JournalForm::showNetwork() {
  ShowText(windKind_, journal_.networkText(NetworkField::Scheme));
  const QStringList powers = PowerItems(windKind_->currentText());
  QStringList shown;
  for (int i = 0; i < transPower_->count(); ++i) shown << transPower_->itemText(i);
  if (shown != powers) {
    const QSignalBlocker quiet(transPower_);
    transPower_->clear();
    transPower_->addItems(powers);
    transPower_->setEditText(QString());
  }
  ShowText(transPower_, journal_.networkText(NetworkField::Power));
  for (const auto& [field, edit] : edits_) {
    const QString text = journal_.networkText(field);
    if (edit->text() != text) {
      const QSignalBlocker quiet(edit);
      edit->setText(text);
    }
  }
}

void JournalForm::showTitle() {
  const QString name = fileName_.isEmpty() ? QString() : QStringLiteral(" - ") + QFileInfo(fileName_).fileName();
  setWindowTitle(texts::kTitle + name + QStringLiteral("[*]"));
  setWindowModified(journal_.isModified());
}

void JournalForm::showSummary() {
  const JournalModel::Summary s = model_->summary();
  summary_->setText(
      QStringLiteral("Линий: %1, ошибок: %2, с нарушениями: %3").arg(s.lines).arg(s.errors).arg(s.failing));
}

void JournalForm::showRecentFiles() {
  recentSeparator_->setVisible(!recent_.isEmpty());
  for (int i = 0; i < recentActions_.size(); ++i) {
    QAction* a = recentActions_[i];
    const QString path = recent_.value(i);
    a->setVisible(!path.isEmpty());
    a->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
    a->setStatusTip(QStringLiteral("Открыть журнал %1").arg(QDir::toNativeSeparators(path)));
  }
}

void JournalForm::showColumns() {
  const bool inputs = !showResults_->isChecked();
  const bool results = !showInputs_->isChecked();
  for (int c = 0; c < model_->columnCount(); ++c) {
    table_->setColumnHidden(c, JournalModel::isInputColumn(c) ? !inputs : !results);
  }
}

int JournalForm::currentLine() const { return model_->lineAt(table_->currentIndex().row()); }

std::vector<int> JournalForm::selectedLines() const {
  std::set<int> lines;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes()) {
    const int line = model_->lineAt(index.row());
    if (line >= 0) lines.insert(line);
  }
  if (lines.empty() && currentLine() >= 0) lines.insert(currentLine());
  return {lines.begin(), lines.end()};
}

void JournalForm::selectLine(int line, int column) {
  const int row = model_->rowOf(line);
  if (row < 0) return;
  table_->setCurrentIndex(model_->index(row, column));
}

void JournalForm::updateLineActions() {
  const int line = currentLine();
  const Result<JournalFeeder> feeder = FeederOfLine(journal_.network(), line);
  openInMain_->setEnabled(static_cast<bool>(feeder) && static_cast<bool>(links_.openInMainWindow));
  openInMain_->setStatusTip(feeder ? QStringLiteral("Открыть текущую линию в главном окне: путь от трансформатора "
                                                    "как участки 1…k, ее аппарат и дуга")
                                   : QUtf8(feeder.error()));
  addToReport_->setEnabled(!selectedLines().empty() && static_cast<bool>(links_.addToReport));
}

void JournalForm::NewMenuClick() {
  if (!offerToSave(this)) return;
  journal_.reset(NewJournal());
  fileName_.clear();
  showTitle();
}

QString JournalForm::startFolder() const {
  return lastFolder_.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : lastFolder_;
}

void JournalForm::OpenMenuClick() {
  if (!offerToSave(this)) return;
  const QString start = fileName_.isEmpty() ? startFolder() : fileName_;
  const QString path = files_.chooseOpenName(this, start, {texts::kFilter}, QStringLiteral("tsn"));
  if (path.isEmpty()) return;
  lastFolder_ = QFileInfo(path).absolutePath();
  openFile(path);
}

void JournalForm::ImportMenuClick() {
  // The import replaces the lines: unsaved ones are offered to be saved first.
  if (!offerToSave(this)) return;
  const QString path = files_.chooseOpenName(this, startFolder(), {texts::kImportFilter}, QStringLiteral("xlsx"));
  if (path.isEmpty()) return;
  lastFolder_ = QFileInfo(path).absolutePath();
  Result<JournalImportFile> read = ImportJournalFile(path);
  if (!read) {
    messages_.error(this, QString::fromStdString(read.error()));
    return;
  }
  importThroughMapping(std::move(read.value().grid), QFileInfo(path).fileName());
}

void JournalForm::importThroughMapping(TextGrid grid, const QString& source) {
  JournalImportDialog dialog(std::move(grid), source, this);
  if (dialog.exec() != QDialog::Accepted) return;
  JournalImport imported = dialog.result();
  if (imported.lines.empty()) {
    messages_.inform(this, QStringLiteral("В таблице не найдено ни одной линии: журнал не изменен."));
    return;
  }
  const std::vector<std::string> report = dialog.reportTexts();
  journal_.importLines(std::move(imported.lines));
  QStringList lines;
  for (const std::string& text : report) lines << QString::fromStdString(text);
  messages_.inform(this, lines.join(QLatin1Char('\n')));
}

void JournalForm::ExcelMenuClick() {
  journal_.recalculateNow();
  if (links_.exportToExcel) links_.exportToExcel(journal_.network(), journal_.result());
}

void JournalForm::CalcMenuClick() {
  journal_.recalculateNow();
  if (links_.exportToCalc) links_.exportToCalc(journal_.network(), journal_.result());
}

void JournalForm::PdfMenuClick() {
  journal_.recalculateNow();
  const QString path = ChooseNameToSave(
      files_, messages_, this,
      [this] {
        const QString name = fileName_.isEmpty() ? QStringLiteral("Журнал линий.pdf")
                                                 : QFileInfo(fileName_).completeBaseName() + QStringLiteral(".pdf");
        return QDir(fileName_.isEmpty() ? startFolder() : QFileInfo(fileName_).absolutePath()).filePath(name);
      },
      kPdfFilter, QStringLiteral("pdf"),
      [this](const QString& picked) { lastFolder_ = QFileInfo(picked).absolutePath(); });
  if (path.isEmpty()) return;
  const Result<FileSaved, FileError> written =
      WriteJournalPdf(path, journal_.network(), journal_.result(), paperFileName(), QDate::currentDate());
  if (!written) messages_.error(this, written.error().message);
}

QString JournalForm::paperFileName() const {
  return fileName_.isEmpty() ? QStringLiteral("не сохранен") : QFileInfo(fileName_).fileName();
}

void JournalForm::PrintMenuClick() {
  if (!links_.choosePrinter) return;
  journal_.recalculateNow();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(texts::kTitle);
  // The printer dialog offers the paper the journal is laid out on.
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Landscape);
  if (!links_.choosePrinter(this, printer)) return;
  const QString name = paperFileName();
  const QDate date = QDate::currentDate();
  const Result<FileSaved, FileError> printed =
      PrintDocument(printer, texts::kTitle, [this, &name, &date](QPagedPaintDevice& device) {
        return PaintJournal(device, journal_.network(), journal_.result(), name, date);
      });
  if (!printed) messages_.error(this, printed.error().message);
}

bool JournalForm::openFile(const QString& path) {
  const QString shown = QDir::toNativeSeparators(path);
  const QFileInfo info(path);
  if (info.exists() && info.size() > texts::kMaxBytes) {
    messages_.error(this, texts::kFileTooLarge.arg(shown));
    return false;
  }
  LoadedJournal loaded = LoadJournalFile(path);
  if (!loaded.document) {
    if (!loaded.error.isEmpty()) {
      messages_.error(this, loaded.error);
    } else {
      messages_.error(this, QString::fromUtf8(kJournalBadFilePrefix) + loaded.reason);
    }
    return false;
  }
  journal_.reset(std::move(*loaded.document));
  fileName_ = path;
  useFile(path);
  showTitle();
  return true;
}

bool JournalForm::writeTo(const QString& path) {
  const QString error = SaveJournalFile(path, journal_.document());
  if (!error.isEmpty()) {
    // The journal stays modified: nothing typed is lost.
    messages_.error(this, error);
    return false;
  }
  journal_.markSaved();
  fileName_ = path;
  useFile(path);
  showTitle();
  return true;
}

bool JournalForm::SaveMenuClick() { return fileName_.isEmpty() ? SaveAsMenuClick() : writeTo(fileName_); }

bool JournalForm::SaveAsMenuClick() {
  const QString path = ChooseNameToSave(
      files_, messages_, this,
      [this] {
        if (!fileName_.isEmpty()) return fileName_;
        const QString folder =
            lastFolder_.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) : lastFolder_;
        return QDir(folder).filePath(texts::kProposedName);
      },
      texts::kFilter, QStringLiteral("tsn"),
      [this](const QString& picked) { lastFolder_ = QFileInfo(picked).absolutePath(); });
  return !path.isEmpty() && writeTo(path);
}

void JournalForm::useFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  lastFolder_ = QFileInfo(absolute).absolutePath();
  recent_.removeAll(absolute);
  recent_.prepend(absolute);
  while (recent_.size() > kRecentCount) recent_.removeLast();
  if (!settingsFile_.isEmpty()) {
    QSettings settings(settingsFile_, QSettings::IniFormat);
    settings.setValue(kLastFolderKey, lastFolder_);
    settings.setValue(kRecentKey, recent_);
  }
  showRecentFiles();
}

bool JournalForm::offerToSave(QWidget* parent) {
  if (!journal_.isModified()) return true;
  switch (messages_.askSave(parent, texts::kUnsaved)) {
    case MessageSink::SaveAnswer::Save:
      return SaveMenuClick();
    case MessageSink::SaveAnswer::Discard:
      return true;
    case MessageSink::SaveAnswer::Cancel:
      break;
  }
  return false;
}

void JournalForm::closeEvent(QCloseEvent* event) {
  if (!journal_.isModified()) {
    event->accept();
    return;
  }
  if (!offerToSave(this)) {
    event->ignore();
    return;
  }
  // "Не сохранять": the changes are given up with the window.
  if (journal_.isModified()) {
    if (fileName_.isEmpty() || !openFile(fileName_)) {
      journal_.reset(NewJournal());
      fileName_.clear();
      showTitle();
    }
  }
  event->accept();
}

void JournalForm::CopyMenuClick() {
  const QModelIndexList cells = table_->selectionModel()->selectedIndexes();
  if (cells.isEmpty()) return;
  int top = cells.front().row();
  int bottom = top;
  int left = cells.front().column();
  int right = left;
  for (const QModelIndex& i : cells) {
    top = std::min(top, i.row());
    bottom = std::max(bottom, i.row());
    left = std::min(left, i.column());
    right = std::max(right, i.column());
  }
  QString out;
  for (int r = top; r <= bottom; ++r) {
    QStringList row;
    for (int c = left; c <= right; ++c) {
      if (table_->isColumnHidden(c)) continue;
      row << model_->index(r, c).data(Qt::DisplayRole).toString();
    }
    out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
  }
  QApplication::clipboard()->setText(out);
}

void JournalForm::PasteMenuClick() {
  const QString text = QApplication::clipboard()->text();
  if (text.size() * qsizetype{2} > texts::kMaxBytes) {
    messages_.inform(this, texts::kPasteTooLarge);
    return;
  }
  // A whole sheet with its header row, into an empty journal: read as an
  // import is, through the mapping.
  if (journal_.lineCount() == 0) {
    Result<TextGrid> sheet = ReadCsvSheet(text.toUtf8());
    if (sheet && BlockStartsWithHeader(sheet.value())) {
      importThroughMapping(std::move(sheet.value()), QStringLiteral("буфер обмена"));
      return;
    }
  }
  const std::vector<QStringList> rows = ReadBlock(text);
  if (rows.empty()) return;
  const QModelIndex current = table_->currentIndex();
  const int row = current.isValid() ? current.row() : model_->rowCount();
  const int column = current.isValid() && JournalModel::isInputColumn(current.column()) ? current.column() : 0;
  std::vector<int> lines;
  lines.reserve(rows.size());
  for (std::size_t k = 0; k < rows.size(); ++k) lines.push_back(model_->lineAt(row + static_cast<int>(k)));
  const QString refusal = journal_.pasteBlock(lines, column, rows);
  if (!refusal.isEmpty()) messages_.inform(this, refusal);
}

void JournalForm::InsertLineMenuClick() {
  const int line = currentLine();
  const int at = journal_.insertLine(line < 0 ? journal_.lineCount() : line + 1);
  selectLine(at, 0);
  table_->setFocus();
}

void JournalForm::InsertFedLineMenuClick() {
  const int parent = currentLine();
  if (parent < 0) {
    InsertLineMenuClick();
    return;
  }
  const int at = journal_.insertLine(parent + 1, parent);
  selectLine(at, 0);
  table_->setFocus();
}

void JournalForm::DeleteLinesMenuClick() {
  const std::vector<int> lines = selectedLines();
  if (lines.empty()) return;
  const int next = lines.front();
  journal_.removeLines(lines);
  selectLine(std::min(next, journal_.lineCount() - 1), std::max(0, table_->currentIndex().column()));
}

void JournalForm::MoveUpMenuClick() {
  const int line = currentLine();
  if (line <= 0) return;
  const int column = table_->currentIndex().column();
  journal_.moveLine(line, line - 1);
  selectLine(line - 1, column);
}

void JournalForm::MoveDownMenuClick() {
  const int line = currentLine();
  if (line < 0 || line + 1 >= journal_.lineCount()) return;
  const int column = table_->currentIndex().column();
  journal_.moveLine(line, line + 1);
  selectLine(line + 1, column);
}

void JournalForm::OpenInMainMenuClick() {
  const int line = currentLine();
  if (!FeederOfLine(journal_.network(), line) || !links_.openInMainWindow) return;
  links_.openInMainWindow(journal_.network(), line);
}

void JournalForm::AddToReportMenuClick() {
  const std::vector<int> lines = selectedLines();
  if (lines.empty() || !links_.addToReport) return;
  links_.addToReport(journal_.network(), lines);
}

}  // namespace tesmir
