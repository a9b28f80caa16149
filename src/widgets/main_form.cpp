#include "widgets/main_form.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <cstddef>
#include <vector>

#include "core/line_catalogue.h"
#include "core/tire_catalogue.h"
#include "core/trans_catalogue.h"
#include "device/device_check.h"
#include "report/utf8_text.h"
#include "tesmir_version.h"
#include "widgets/button_keys.h"
#include "widgets/context_help.h"
#include "widgets/edit_menu.h"
#include "widgets/editable_list.h"
#include "widgets/message_sink.h"
#include "widgets/result_form.h"
#include "widgets/window_placement.h"
#include "widgets/window_style.h"

namespace tesmir {
namespace {

std::string S(const QString& text) { return text.toStdString(); }

const QString kTitle = QString::fromUtf8(kProgramTitle);

// The parallel-conductor counts offered in every row.
const QStringList kQuanParItems = {QUtf8(kSingleConductor), QStringLiteral("2"), QStringLiteral("3"),
                                   QStringLiteral("4"),     QStringLiteral("5"), QStringLiteral("6")};

namespace hint {
const QString kWindKind = QStringLiteral("Выберите тип соединения обмоток трансформатора");
const QString kTransPower = QStringLiteral("Выберите мощность трансформатора в кВ*А из списка стандартных значений");
const QString kKind = QStringLiteral(
    "Выберите тип линии: кабель в бумажной изоляции, кабель в ПВХ (резиновой) изоляции (провода в трубе), "
    "воздушная");
const QString kStuff = QStringLiteral("Введите материал жилы: алюминий или медь");
const QString kLength = QStringLiteral("Введите длину линии в метрах");
const QString kQuanPar = QStringLiteral(
    "Введите количество параллельных проводов. \"Нет\" или \"1\" вводится при отсутствии параллельных "
    "проводов.");
const QString kFf = QStringLiteral("Выберите сечение фазной жилы из списка стандартных сечений");
const QString kFn = QStringLiteral("Выберите сечение нулевой жилы из списка стандартных значений");
const QString kRArc = QStringLiteral("Введите переходное сопротивление контактов в диапазоне 0..40 мОм");
const QString kDD = QStringLiteral("Выбор аппарата защиты линии");
const QString kStart = QStringLiteral("Запуск расчета");
const QString kAddToReport = QStringLiteral("Добавление результатов в отчет");
const QString kExit = QStringLiteral("Выход из программы");
const QString kStatusDD = QStringLiteral("Строка состояния аппарата защиты");
const QString kIokz = QStringLiteral("Строка вывода результатов расчета");
const QString kIokzStale =
    QStringLiteral("Исходные данные изменены после последнего расчета. Для нового результата нажмите \"Расчет\"");
const QString kStatusBar = QStringLiteral("Строка помощи");
// While the result line is grey, what it shows no longer matches the inputs:
// a report row or a note would mix the last calculation with the new inputs.
const QString kAddToReportStale = QStringLiteral(
    "Исходные данные изменены после последнего расчета. Чтобы добавить результат в отчет, нажмите \"Расчет\"");
const QString kNoteStale =
    QStringLiteral("Исходные данные изменены после последнего расчета. Чтобы выпустить расчет, нажмите \"Расчет\"");
}  // namespace hint

// An editable list of this window: as wide as its longest item.
QComboBox* MainList(const QString& name, const QStringList& items, const QString& text, const QString& tip,
                    QWidget* parent) {
  QComboBox* box = EditableList(name, items, text, tip, parent);
  box->setMaxVisibleItems(16);
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  return box;
}

// The widest text a material/model list can show: a material or any model
// of any busbar family.
int WidestStuffText(const QFontMetrics& metrics) {
  int widest = 0;
  for (std::string_view material : kMaterials) {
    widest = std::max(widest, metrics.horizontalAdvance(QUtf8(material)));
  }
  for (std::string_view family : kTireFamilies) {
    for (std::string_view model : TireLineModels(family)) {
      widest = std::max(widest, metrics.horizontalAdvance(QUtf8(model)));
    }
  }
  return widest;
}

QString RowName(const char* prefix, int row, const char* suffix) {
  return QStringLiteral("%1%2%3").arg(QLatin1String(prefix)).arg(row + 1).arg(QLatin1String(suffix));
}

// The material a row shows for cable and overhead kinds: the one it starts with.
QString DefaultMaterial(int row) { return QUtf8(DefaultSchemeInput().lines[static_cast<std::size_t>(row)].stuff); }

}  // namespace

MainForm::MainForm(SchemeState& scheme, MessageSink& messages, ResultForm& results, QWidget* parent)
    : QMainWindow(parent), scheme_(scheme), messages_(messages), results_(results) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(kTitle);
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(style::BaseFont());
  SetHelpContext(this, HelpTopic::kContents);

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("MainPanel"));
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 6, 8, 6);
  layout->setSpacing(6);

  // Any height beyond what the controls need goes between the blocks.
  layout->addWidget(buildTopStrip());
  layout->addStretch(1);

  auto* middle = new QGridLayout;
  middle->setHorizontalSpacing(6);
  middle->setVerticalSpacing(2);
  middle->addWidget(style::Heading(QStringLiteral("Трансформатор")), 0, 0, Qt::AlignHCenter);
  middle->addWidget(style::Heading(QStringLiteral("Схема электроснабжения")), 0, 1, Qt::AlignHCenter);
  middle->addWidget(buildTransformerFrame(), 1, 0);
  middle->addWidget(buildSchemeFrame(), 1, 1);
  middle->setColumnStretch(1, 1);
  layout->addLayout(middle);
  layout->addStretch(1);
  layout->addWidget(buildDeviceGroup());
  layout->addStretch(1);
  layout->addWidget(buildResultPanel());
  layout->addStretch(1);
  layout->addLayout(buildButtonRow());
  // The controls keep their layout on a screen too small for the window:
  // the window then shrinks to the screen and they scroll.
  auto* scroller = new QScrollArea(this);
  scroller->setObjectName(QStringLiteral("MainScrollArea"));
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setFocusPolicy(Qt::NoFocus);  // Tab walks the controls only
  scroller->setWidget(central);
  setCentralWidget(scroller);

  buildMenu();

  auto* bar = new QStatusBar(this);
  bar->setObjectName(QStringLiteral("StatusBar1"));
  bar->setSizeGripEnabled(false);
  bar->setStatusTip(hint::kStatusBar);
  setStatusBar(bar);

  setTabOrderChain();
  connectHandlers();

  // Fixed frame: as large as the layout needs, and no smaller than the
  // window's designed client area.
  // A scroll area asks for less than its contents need; while the full size
  // is taken it asks for all of it.
  scroller->setMinimumSize(central->sizeHint());
  fullSize_ = sizeHint().expandedTo(QSize(752, 529));
  scroller->setMinimumSize(0, 0);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    fitInto(screen->availableGeometry());
  } else {
    setFixedSize(fullSize_);
  }
  windKind_->setFocus();
  EnterClicksFocusedButtons(this);
  KeepCentredOnScreen(this);
}

void MainForm::fitInto(const QRect& area) {
  // Room for the window frame and title bar, which the desktop draws
  // outside the window's own area.
  const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8;
  const QSize room(area.width() - frame, area.height() - frame - style()->pixelMetric(QStyle::PM_TitleBarHeight));
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  QSize size = fullSize_;
  const bool vertical = size.height() > room.height();
  if (vertical) {
    size.setHeight(room.height());
    size.rwidth() += bar;  // the vertical scroll bar stands beside the controls
  }
  if (size.width() > room.width()) {
    size.setWidth(room.width());
    if (!vertical) {
      size.setHeight(std::min(size.height() + bar, room.height()));
    }
  }
  setFixedSize(size.expandedTo(QSize(200, 150)));
}

QWidget* MainForm::buildTopStrip() {
  auto* strip = new QWidget;
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(0, 0, 0, 0);
  row->addStretch(1);
  QFrame* box = style::Box();
  box->setObjectName(QStringLiteral("VoltageBox"));
  auto* inner = new QHBoxLayout(box);
  inner->setContentsMargins(8, 3, 8, 3);
  inner->addWidget(style::FieldCaption(QStringLiteral("Номинальное напряжение питающей сети:")));
  QLabel* voltage = style::FieldCaption(QStringLiteral("~380/220 В"));
  QFont bold = voltage->font();
  bold.setBold(true);
  voltage->setFont(bold);
  inner->addWidget(voltage);
  row->addWidget(box);
  return strip;
}

QWidget* MainForm::buildTransformerFrame() {
  QFrame* box = style::Box();
  box->setObjectName(QStringLiteral("TransBox"));
  auto* column = new QVBoxLayout(box);
  column->setContentsMargins(6, 6, 6, 6);
  column->setSpacing(3);

  const SchemeInput defaults = DefaultSchemeInput();
  column->addWidget(style::FieldCaption(QStringLiteral("Схема соединения\nобмоток")));
  windKind_ =
      MainList(QStringLiteral("WindKindComboBox"), ListOf(kWindKinds), QUtf8(defaults.windKind), hint::kWindKind, box);
  SetHelpContext(windKind_, HelpTopic::kTransformer);
  column->addWidget(windKind_);
  column->addSpacing(10);

  column->addWidget(style::FieldCaption(QStringLiteral("Номинальная\nмощность, кВ*А")));
  const Result<TransPowerList> start = TransPowerListFor(defaults.windKind);
  transPower_ = MainList(QStringLiteral("TransPowerComboBox"), ListOf(start->items), QUtf8(defaults.transPower),
                         hint::kTransPower, box);
  SetHelpContext(transPower_, HelpTopic::kTransformer);
  column->addWidget(transPower_);
  column->addSpacing(10);

  column->addWidget(style::FieldCaption(QStringLiteral("Напряжение\nнизкой стороны\n~ 400/230 В")));
  column->addStretch(1);
  return box;
}

QWidget* MainForm::buildSchemeFrame() {
  QFrame* box = style::Box();
  box->setObjectName(QStringLiteral("SchemeBox"));
  auto* outer = new QVBoxLayout(box);
  outer->setContentsMargins(6, 6, 6, 6);
  outer->setSpacing(6);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(4);
  grid->setVerticalSpacing(3);
  const auto header = [&](const QString& text, int row, int col, int rowSpan = 1, int colSpan = 1) {
    QLabel* label = style::FieldCaption(text, box);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(label, row, col, rowSpan, colSpan);
  };
  header(QStringLiteral("Тип линии"), 0, 1, 2);
  header(QStringLiteral("Материал жилы\nили марка\nшинопровода"), 0, 2, 2);
  header(QStringLiteral("Длина\nлинии,\nм"), 0, 3, 2);
  header(QStringLiteral("Количество\nпараллельных\nпроводов, шт."), 0, 4, 2);
  header(QStringLiteral("Сечение жилы:"), 0, 5, 1, 2);
  header(QStringLiteral("фаза\nкв.мм."), 1, 5);
  header(QStringLiteral("ноль\nкв.мм."), 1, 6);

  const SchemeInput defaults = DefaultSchemeInput();
  const QStringList kinds = ListOf(kCableKinds) + ListOf(kTireFamilies);
  const QStringList materials = ListOf(kMaterials);
  const QStringList sections = ListOf(kSections);
  const int stuffWidth = WidestStuffText(box->fontMetrics());
  for (int r = 0; r < kLineCount; ++r) {
    const int gridRow = r + 2;
    QLabel* title =
        style::Caption(QStringLiteral("Линия %1").arg(r + 1), QStringLiteral("Comic Sans MS"), Qt::black, box);
    title->setObjectName(RowName("TitleLine", r, "Label"));
    QFont font = title->font();
    font.setUnderline(true);
    title->setFont(font);
    grid->addWidget(title, gridRow, 0);

    LineRow& row = rows_[LineIndex(r)];
    const LineInput& start = defaults.lines[LineIndex(r)];
    row.kind = MainList(RowName("KindPerformLine", r, "ComboBox"), kinds, QUtf8(start.kind), hint::kKind, box);
    row.stuff = MainList(RowName("StuffLine", r, "ComboBox"), materials, QUtf8(start.stuff), hint::kStuff, box);
    row.stuff->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    row.stuff->setMinimumWidth(row.stuff->minimumSizeHint().width() + stuffWidth);
    row.length = new QLineEdit(QUtf8(start.length), box);
    row.length->setObjectName(RowName("LengthLine", r, "Edit"));
    row.length->setStatusTip(hint::kLength);
    row.length->setFixedWidth(row.length->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 12);
    row.quanPar =
        MainList(RowName("QuanParLine", r, "ComboBox"), kQuanParItems, QUtf8(start.quanPar), hint::kQuanPar, box);
    row.ff = MainList(RowName("FfLine", r, "ComboBox"), sections, QUtf8(start.ff), hint::kFf, box);
    row.fn = MainList(RowName("FnLine", r, "ComboBox"), sections, QUtf8(start.fn), hint::kFn, box);
    const std::array<QWidget*, 6> controls = {row.kind, row.stuff, row.length, row.quanPar, row.ff, row.fn};
    for (int c = 0; c < 6; ++c) {
      SetHelpContext(controls[static_cast<std::size_t>(c)], HelpTopic::kLines);
      grid->addWidget(controls[static_cast<std::size_t>(c)], gridRow, c + 1);
    }
  }
  grid->setColumnStretch(1, 3);
  grid->setColumnStretch(2, 2);
  outer->addLayout(grid);

  QFrame* arcBox = style::Box(box);
  arcBox->setObjectName(QStringLiteral("ArcBox"));
  arcBox->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  auto* arcRow = new QHBoxLayout(arcBox);
  arcRow->setContentsMargins(6, 3, 6, 3);
  arcRow->addWidget(style::FieldCaption(
      QStringLiteral("Переходное сопротивление контактов + сопротивление электрической дуги, мОм:"), arcBox));
  rArc_ = new QLineEdit(QUtf8(defaults.rArc), arcBox);
  rArc_->setObjectName(QStringLiteral("RArcEdit"));
  rArc_->setStatusTip(hint::kRArc);
  rArc_->setFixedWidth(rArc_->fontMetrics().horizontalAdvance(QStringLiteral("00000.0")) + 12);
  SetHelpContext(rArc_, HelpTopic::kArc);
  arcRow->addWidget(rArc_);
  arcRow->addStretch(1);
  outer->addWidget(arcBox);
  return box;
}

QWidget* MainForm::buildDeviceGroup() {
  auto* group = new QGroupBox(QStringLiteral("Аппарат защиты"));
  group->setObjectName(QStringLiteral("GroupBox1"));
  auto* row = new QHBoxLayout(group);
  row->setContentsMargins(8, 4, 8, 4);
  statusDD_ = new QLabel(QUtf8(kStatusNotDefined), group);
  statusDD_->setObjectName(QStringLiteral("StatusDDLabel"));
  statusDD_->setStatusTip(hint::kStatusDD);
  statusDD_->setWordWrap(true);
  statusDD_->setMinimumHeight(statusDD_->fontMetrics().lineSpacing() * 2);
  row->addWidget(statusDD_, 1);
  ddButton_ = new QPushButton(QStringLiteral("Параметры аппарата защиты"), group);
  ddButton_->setObjectName(QStringLiteral("DDButton"));
  ddButton_->setStatusTip(hint::kDD);
  ddButton_->setAutoDefault(false);
  row->addWidget(ddButton_);
  return group;
}

QWidget* MainForm::buildResultPanel() {
  auto* panel = new QFrame;
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  style::MakeWhite(panel);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(8, 4, 8, 4);
  iokz_ = new QLabel(QUtf8(calc_messages::kEnterData), panel);
  iokz_->setObjectName(QStringLiteral("IokzLabel"));
  iokz_->setStatusTip(hint::kIokz);
  QFont font(QStringLiteral("Comic Sans MS"));
  font.setPointSize(12);
  iokz_->setFont(font);
  iokz_->setAlignment(Qt::AlignCenter);
  currentResultPalette_ = iokz_->palette();
  row->addWidget(iokz_);
  return panel;
}

QLayout* MainForm::buildButtonRow() {
  auto* row = new QHBoxLayout;
  addToReport_ = new QPushButton(QStringLiteral("Добавить в отчет..."));
  addToReport_->setObjectName(QStringLiteral("AddToReportButton"));
  addToReport_->setStatusTip(hint::kAddToReport);
  addToReport_->setEnabled(false);
  addToReport_->setAutoDefault(false);
  start_ = new QPushButton(QStringLiteral("Расчет"));
  start_->setObjectName(QStringLiteral("StartButton"));
  start_->setStatusTip(hint::kStart);
  QFont bold = start_->font();
  bold.setBold(true);
  start_->setFont(bold);
  start_->setMinimumWidth(start_->fontMetrics().horizontalAdvance(start_->text()) * 4);
  start_->setAutoDefault(false);
  start_->setShortcut(QKeySequence(Qt::Key_F9));
  exit_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton), QStringLiteral("Выход"));
  exit_->setObjectName(QStringLiteral("BitBtn1"));
  exit_->setStatusTip(hint::kExit);
  exit_->setAutoDefault(false);
  const int side = std::max(addToReport_->sizeHint().width(), exit_->sizeHint().width());
  addToReport_->setMinimumWidth(side);
  exit_->setMinimumWidth(side);
  row->addWidget(addToReport_);
  row->addStretch(1);
  row->addWidget(start_);
  row->addStretch(1);
  row->addWidget(exit_);
  return row;
}

void MainForm::buildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName(QStringLiteral("MainMenu"));
  const auto item = [bar](const char* name, const QString& caption) {
    QAction* action = bar->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
  };
  buildFileMenu();
  buildEditMenu();
  // Alt with the underlined letter opens each; F10 opens the first.
  resultMenu_ = item("ResultMenu", QStringLiteral("&Результаты"));
  resultMenu_->setEnabled(false);
  reportMenu_ = item("ReportMenu", QStringLiteral("&Отчет"));
  // The protection check belongs to the last successful calculation, as the
  // results do: it is available exactly when "Результаты" is.
  checkMenu_ = item("CheckMenu", QStringLiteral("Про&верка"));
  checkMenu_->setEnabled(resultMenu_->isEnabled());
  connect(resultMenu_, &QAction::enabledChanged, checkMenu_, &QAction::setEnabled);
  helpMenu_ = item("HelpMenu", QStringLiteral("&Помощь"));
  aboutMenu_ = item("AboutMenu", QStringLiteral("О про&грамме"));
  F10OpensMenuBar(bar);
}

void MainForm::buildFileMenu() {
  fileMenu_ = menuBar()->addMenu(QStringLiteral("&Файл"));
  fileMenu_->setObjectName(QStringLiteral("FileMenu"));
  const auto item = [this](const char* name, const QString& caption) {
    QAction* action = fileMenu_->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
  };
  openScheme_ = item("OpenSchemeMenu", QStringLiteral("&Открыть схему..."));
  openScheme_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  saveScheme_ = item("SaveSchemeMenu", QStringLiteral("&Сохранить схему"));
  saveScheme_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  saveSchemeAs_ = item("SaveSchemeAsMenu", QStringLiteral("Сохранить схему &как..."));
  fileMenu_->addSeparator();
  notePdf_ = item("NotePdfMenu", QStringLiteral("&Расчет в PDF..."));
  notePrint_ = item("NotePrintMenu", QStringLiteral("&Печать расчета..."));
  notePdf_->setEnabled(false);
  notePrint_->setEnabled(false);
  fileMenu_->addSeparator();
  journal_ = item("JournalMenu", QStringLiteral("&Журнал линий..."));
  journal_->setStatusTip(QStringLiteral("Журнал линий: весь щит с проверкой каждой линии"));
}

void MainForm::buildEditMenu() {
  const EditMenu items = AddEditMenu(menuBar(), QString());
  undo_ = items.undo;
  redo_ = items.redo;
}

void MainForm::setSchemeInput(const SchemeInput& input) {
  const auto type = [](QComboBox* box, const std::string& text) { box->setEditText(QUtf8(text)); };
  type(windKind_, input.windKind);
  type(transPower_, input.transPower);
  for (int r = 0; r < kLineCount; ++r) {
    const LineRow& row = rows_[LineIndex(r)];
    const LineInput& line = input.lines[LineIndex(r)];
    type(row.kind, line.kind);
    type(row.stuff, line.stuff);
    row.length->setText(QUtf8(line.length));
    type(row.quanPar, line.quanPar);
    type(row.ff, line.ff);
    type(row.fn, line.fn);
  }
  rArc_->setText(QUtf8(input.rArc));
}

void MainForm::setTabOrderChain() {
  std::vector<QWidget*> chain = {windKind_, transPower_};
  for (const LineRow& row : rows_) {
    chain.insert(chain.end(), {row.kind, row.stuff, row.length, row.quanPar, row.ff, row.fn});
  }
  chain.insert(chain.end(), {rArc_, ddButton_, start_, addToReport_, exit_});
  for (size_t i = 1; i < chain.size(); ++i) {
    setTabOrder(chain[i - 1], chain[i]);
  }
}

void MainForm::connectHandlers() {
  connect(start_, &QPushButton::clicked, this, &MainForm::StartButtonClick);
  connect(ddButton_, &QPushButton::clicked, this, &MainForm::DDButtonClick);
  connect(addToReport_, &QPushButton::clicked, this, &MainForm::AddToReportButtonClick);
  connect(exit_, &QPushButton::clicked, this, &QWidget::close);
  connect(resultMenu_, &QAction::triggered, this, &MainForm::ResultMenuClick);
  connect(reportMenu_, &QAction::triggered, this, &MainForm::ReportMenuClick);
  connect(checkMenu_, &QAction::triggered, this, &MainForm::CheckMenuClick);
  connect(helpMenu_, &QAction::triggered, this, &MainForm::HelpMenuClick);
  connect(aboutMenu_, &QAction::triggered, this, &MainForm::AboutMenuClick);
  // The note describes the last calculation, so it is offered while that
  // calculation's results are.
  connect(resultMenu_, &QAction::enabledChanged, this, &MainForm::updateResultActions);
  // The inputs in the order of the tab chain.
  std::vector<QWidget*> inputs = {windKind_, transPower_};
  for (const LineRow& row : rows_) {
    inputs.insert(inputs.end(), {row.kind, row.stuff, row.length, row.quanPar, row.ff, row.fn});
  }
  inputs.push_back(rArc_);
  // A change is under way from before its handlers run...
  const auto onChange = [this](QWidget* input, auto&& slot) {
    if (auto* list = qobject_cast<QComboBox*>(input)) {
      connect(list, &QComboBox::editTextChanged, this, slot);
    } else {
      connect(static_cast<QLineEdit*>(input), &QLineEdit::textChanged, this, slot);
    }
  };
  for (QWidget* input : inputs) {
    onChange(input, [this] { ++changesUnderway_; });
  }
  // Every change of an editable list's text, chosen or typed, passes through
  // its line edit.
  connect(windKind_, &QComboBox::editTextChanged, this, &MainForm::WindKindComboBoxChange);
  for (int r = 0; r < kLineCount; ++r) {
    connect(rows_[LineIndex(r)].kind, &QComboBox::editTextChanged, this,
            [this, r] { KindPerformLineComboBoxChange(r); });
  }
  // Any change of an input, typed or chosen or made by a refill, leaves the
  // result line describing the inputs of the last calculation.
  std::vector<QComboBox*> lists = {windKind_, transPower_};
  std::vector<QLineEdit*> edits = {rArc_};
  for (const LineRow& row : rows_) {
    lists.insert(lists.end(), {row.kind, row.stuff, row.quanPar, row.ff, row.fn});
    edits.push_back(row.length);
  }
  for (QComboBox* list : lists) {
    connect(list, &QComboBox::editTextChanged, this, &MainForm::markResultStale);
  }
  for (QLineEdit* edit : edits) {
    connect(edit, &QLineEdit::textChanged, this, &MainForm::markResultStale);
  }
  // ...until after them; the outermost change is the edit.
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    onChange(inputs[i], [this, i] {
      if (--changesUnderway_ == 0) emit inputEdited(static_cast<int>(i));
    });
  }
  // The window's undo undoes the feeder's edits: the fields leave Ctrl+Z and
  // the redo keys to it instead of undoing their own typing.
  for (QWidget* input : inputs) {
    auto* list = qobject_cast<QComboBox*>(input);
    QWidget* editor = list != nullptr ? list->lineEdit() : input;
    LeaveUndoKeysToTheWindow(editor);
  }
}

void MainForm::markResultStale() {
  if (!resultCurrent_) {
    return;
  }
  resultCurrent_ = false;
  QPalette grey = currentResultPalette_;
  grey.setColor(QPalette::WindowText, Qt::gray);
  iokz_->setPalette(grey);
  iokz_->setStatusTip(hint::kIokzStale);
  updateResultActions();
}

void MainForm::updateResultActions() {
  const bool calculated = resultMenu_->isEnabled();
  const bool usable = calculated && resultCurrent_;
  const bool stale = calculated && !resultCurrent_;
  addToReport_->setEnabled(usable);
  notePdf_->setEnabled(usable);
  notePrint_->setEnabled(usable);
  addToReport_->setStatusTip(stale ? hint::kAddToReportStale : hint::kAddToReport);
  notePdf_->setStatusTip(stale ? hint::kNoteStale : QString());
  notePrint_->setStatusTip(stale ? hint::kNoteStale : QString());
}

void MainForm::setResultLine(const QString& text, bool isResult) {
  iokz_->setText(text);
  iokz_->setPalette(currentResultPalette_);
  iokz_->setStatusTip(hint::kIokz);
  resultCurrent_ = isResult;
  updateResultActions();
}

SchemeInput MainForm::schemeInput() const {
  SchemeInput input;
  input.transPower = S(transPower_->currentText());
  input.windKind = S(windKind_->currentText());
  for (int r = 0; r < kLineCount; ++r) {
    const LineRow& row = rows_[LineIndex(r)];
    LineInput& line = input.lines[LineIndex(r)];
    line.kind = S(row.kind->currentText());
    line.stuff = S(row.stuff->currentText());
    line.ff = S(row.ff->currentText());
    line.fn = S(row.fn->currentText());
    line.length = S(row.length->text());
    line.quanPar = S(row.quanPar->currentText());
  }
  input.rArc = S(rArc_->text());
  return input;
}

void MainForm::showNotEnoughData() {
  setResultLine(QUtf8(calc_messages::kNotEnoughData), false);
  statusDD_->setText(QUtf8(kStatusNoCurrent));
}

void MainForm::StartButtonClick() {
  resultMenu_->setEnabled(false);
  updateResultActions();

  const CalcOutcome outcome = RunLoopCalculation(schemeInput(), scheme_);
  if (!outcome) {
    const CalcFailure& failure = outcome.error();
    if (failure.labels == LabelsReset::BeforeMessage) showNotEnoughData();
    messages_.inform(this, QUtf8(failure.message));
    if (failure.labels == LabelsReset::AfterMessage) showNotEnoughData();
    return;
  }

  setResultLine(QUtf8(*outcome), true);
  emit calculationSucceeded();
  results_.showCalculation(scheme_, transPower_->currentText(), windKind_->currentText(), iokz_->text());
  emit calculationShown(results_.shownTexts());
  resultMenu_->setEnabled(true);
  updateResultActions();
}

void MainForm::closeEvent(QCloseEvent* event) {
  if (mayExit_ && !mayExit_()) {
    event->ignore();
    return;
  }
  QMainWindow::closeEvent(event);
}

void MainForm::openModal(QDialog* const& dialog) {
  if (windowsNeeded_) {
    windowsNeeded_();
  }
  if (dialog != nullptr) {
    dialog->exec();
  }
}

void MainForm::DDButtonClick() { openModal(deviceDialog_); }
void MainForm::AddToReportButtonClick() { openModal(askNumberDialog_); }
void MainForm::ResultMenuClick() { results_.exec(); }
void MainForm::ReportMenuClick() { openModal(reportWindow_); }
void MainForm::CheckMenuClick() { openModal(checkWindow_); }
void MainForm::AboutMenuClick() { openModal(aboutWindow_); }

void MainForm::HelpMenuClick() {
  if (openHelp_) {
    openHelp_(TopicNumber(HelpTopic::kContents));
  }
}

void MainForm::WindKindComboBoxChange() {
  const Result<TransPowerList> list = TransPowerListFor(S(windKind_->currentText()));
  if (!list) {
    messages_.inform(this, QUtf8(list.error()));
    showNotEnoughData();
    return;
  }
  RefillList(transPower_, ListOf(list->items), QUtf8(list->text));
}

void MainForm::KindPerformLineComboBoxChange(int r) {
  LineRow& row = rows_[LineIndex(r)];
  const std::string kind = S(row.kind->currentText());
  switch (ClassifyLineKind(kind)) {
    case LineKindClass::Cable:
      row.ff->setEnabled(true);
      row.fn->setEnabled(true);
      RefillList(row.stuff, ListOf(kMaterials), DefaultMaterial(r));
      break;
    case LineKindClass::Tire: {
      row.ff->setEnabled(false);
      row.fn->setEnabled(false);
      const auto models = TireLineModels(kind);
      RefillList(row.stuff, ListOf(models), models.empty() ? QString() : QUtf8(models.front()));
      break;
    }
    case LineKindClass::Unknown:
      messages_.inform(this, QUtf8(calc_messages::kUnknownLineKind));
      showNotEnoughData();
      break;
  }
}

}  // namespace tesmir
