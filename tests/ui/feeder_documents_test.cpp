// The menu "Файл" of the main window and the report's "Печать..." and
// "Сохранить в PDF...": feeder files saved and reopened, bad feeder files,
// the calculation note and the report as PDF text.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>

#include "app/app.h"
#include "device/device_check.h"
#include "document/report_places.h"
#include "paper/feeder_picture.h"
#include "report/feeder_file.h"
#include "support/recording_message_sink.h"
#include "support/scripted_file_chooser.h"
#include "support/ui_test_app.h"
#include "widgets/document_dialogs.h"
#include "widgets/feeder_documents.h"
#include "widgets/feeder_picture_widget.h"
#include "widgets/report_form.h"

namespace tesmir {
namespace {

// Point names in turn (an exhausted script cancels); the printer prints to a
// PDF file instead of a device.
class ScriptedDialogs final : public DocumentDialogs {
 public:
  std::optional<QString> askPointName(QWidget*, const QString&) override {
    if (pointNames.empty()) return std::nullopt;
    const QString name = pointNames.front();
    pointNames.pop_front();
    return name;
  }
  bool choosePrinter(QWidget*, QPrinter& printer) override {
    if (printTo.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printTo);
    return true;
  }
  std::deque<QString> pointNames;
  QString printTo;
};

// The text of a PDF with every run of blanks (no-break spaces too) made one space.
QString PdfText(const QString& path) {
  QProcess process;
  process.start(QStringLiteral("pdftotext"),
                {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
  EXPECT_TRUE(process.waitForFinished(20000));
  EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
  return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

QString Flat(QString text) { return text.replace(QChar(0x00a0), QLatin1Char(' ')).simplified(); }

class FeederDocumentsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApp(); }
  static void EnsureApp() { tesmir_test::EnsureApplication(); }

  FeederDocumentsTest() : app_(messages_, files_, dialogs_) {
    // A Russian desktop: decimal comma, no-break space between thousands.
    app_.resultForm().setSeparators(NumberSeparators{",", "\u00a0"});
    app_.showMainWindow();
  }

  template <class T>
  T* main(const char* name) {
    T* w = app_.mainForm().findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QAction* action(const char* name) { return main<QAction>(name); }

  void type(const char* name, const QString& text) {
    QWidget* w = main<QWidget>(name);
    QLineEdit* edit = qobject_cast<QLineEdit*>(w);
    if (auto* combo = qobject_cast<QComboBox*>(w)) edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {  // any character, Cyrillic too
      QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }

  // A 630 kVA feeder: 120 m of copper cable in two parallel runs, 35 m of
  // Gersan busbar, and a 160 A breaker.
  void describeFeeder() {
    main<QComboBox>("WindKindComboBox")->setEditText(QStringLiteral("T/Y-0"));
    type("TransPowerComboBox", QStringLiteral("630"));
    type("StuffLine1ComboBox", QStringLiteral("Медь"));
    type("FfLine1ComboBox", QStringLiteral("95.0"));  // not a list item, read as 95
    type("FnLine1ComboBox", QStringLiteral("50"));
    type("LengthLine1Edit", QStringLiteral(" 120"));  // leading blank
    type("QuanParLine1ComboBox", QStringLiteral("2"));
    main<QComboBox>("KindPerformLine2ComboBox")->setEditText(QStringLiteral("Шинопровод Gersan"));
    type("LengthLine2Edit", QStringLiteral("35"));
    QWidget& device = app_.deviceForm();
    device.findChild<QRadioButton*>(QStringLiteral("AVRadioButton"))->setChecked(true);
    device.findChild<QComboBox*>(QStringLiteral("TokAVnomComboBox"))->setEditText(QStringLiteral("160"));
    QTest::mouseClick(device.findChild<QPushButton*>(QStringLiteral("OKDDBitBtn")), Qt::LeftButton);
  }

  void calculate() { QTest::mouseClick(main<QPushButton>("StartButton"), Qt::LeftButton); }

  // Everything a bad file must leave alone.
  struct Snapshot {
    SchemeInput input;
    std::optional<DeviceDialogInput> device;
    QString status, result, fileName;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot snapshot() {
    return {app_.mainForm().schemeInput(), app_.deviceForm().acceptedInput(), app_.mainForm().statusDDLabel()->text(),
            main<QLabel>("IokzLabel")->text(), app_.feederDocuments().feederFileName()};
  }

  QTemporaryDir dir_;
  tesmir_test::RecordingMessageSink messages_;
  tesmir_test::ScriptedFileChooser files_;
  ScriptedDialogs dialogs_;
  App app_;
};

TEST_F(FeederDocumentsTest, FileMenuComesFirstAndOffersTheNoteOnlyWithResults) {
  const QList<QAction*> bar = app_.mainForm().menuBar()->actions();
  ASSERT_FALSE(bar.isEmpty());
  auto* menu = app_.mainForm().findChild<QMenu*>(QStringLiteral("FileMenu"));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(bar.first(), menu->menuAction());
  EXPECT_EQ(menu->title().remove(QLatin1Char('&')), QStringLiteral("Файл"));  // "&" only underlines
  QStringList captions;
  for (QAction* a : menu->actions()) {
    if (!a->isSeparator()) captions << a->text().remove(QLatin1Char('&'));
  }
  EXPECT_EQ(captions, (QStringList{QStringLiteral("Открыть схему..."), QStringLiteral("Сохранить схему"),
                                   QStringLiteral("Сохранить схему как..."), QStringLiteral("Расчет в PDF..."),
                                   QStringLiteral("Печать расчета..."), QStringLiteral("Журнал линий...")}));
  EXPECT_EQ(action("OpenSchemeMenu")->shortcut(), QKeySequence(QStringLiteral("Ctrl+O")));
  EXPECT_EQ(action("SaveSchemeMenu")->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));

  EXPECT_FALSE(action("NotePdfMenu")->isEnabled());
  EXPECT_FALSE(action("NotePrintMenu")->isEnabled());
  calculate();
  EXPECT_TRUE(action("NotePdfMenu")->isEnabled());
  EXPECT_TRUE(action("NotePrintMenu")->isEnabled());
  type("RArcEdit", QStringLiteral("x"));
  calculate();
  EXPECT_FALSE(action("NotePdfMenu")->isEnabled());
  EXPECT_FALSE(action("NotePrintMenu")->isEnabled());

  // The results window shows the picture on a fourth page.
  auto* pages = app_.resultForm().findChild<QTabWidget*>(QStringLiteral("ResultPageControl"));
  ASSERT_EQ(pages->count(), 4);
  EXPECT_EQ(pages->tabText(3), QStringLiteral("Схема"));
  EXPECT_EQ(pages->widget(3), app_.resultForm().pictureWidget());
}

TEST_F(FeederDocumentsTest, SavedFeederReopensWithTheSameTextsDeviceAndResult) {
  describeFeeder();
  calculate();
  ASSERT_TRUE(action("ResultMenu")->isEnabled()) << messages_.informed().join(QStringLiteral("|")).toStdString();
  const Snapshot saved = snapshot();
  const ResultTexts results = app_.resultForm().shownTexts();
  const QString path = dir_.filePath(QStringLiteral("feeder.tsm"));
  files_.names = {path};
  action("SaveSchemeMenu")->trigger();  // no name yet: asks for one
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(app_.feederDocuments().feederFileName(), path);

  tesmir_test::RecordingMessageSink otherMessages;
  tesmir_test::ScriptedFileChooser otherFiles;
  ScriptedDialogs otherDialogs;
  App other(otherMessages, otherFiles, otherDialogs);
  other.resultForm().setSeparators(NumberSeparators{",", "\u00a0"});
  otherFiles.names = {path};
  other.mainForm().findChild<QAction*>(QStringLiteral("OpenSchemeMenu"))->trigger();
  EXPECT_TRUE(otherMessages.informed().isEmpty()) << otherMessages.informed().join(QStringLiteral("|")).toStdString();
  EXPECT_EQ(other.mainForm().schemeInput(), saved.input);
  EXPECT_EQ(other.deviceForm().acceptedInput(), saved.device);
  // The result is left to "Расчет".
  EXPECT_EQ(other.mainForm().findChild<QLabel*>(QStringLiteral("IokzLabel"))->text(),
            QStringLiteral("Введите исходные данные для расчета"));
  QTest::mouseClick(other.mainForm().findChild<QPushButton*>(QStringLiteral("StartButton")), Qt::LeftButton);
  EXPECT_EQ(other.mainForm().findChild<QLabel*>(QStringLiteral("IokzLabel"))->text(), saved.result);
  EXPECT_EQ(other.mainForm().statusDDLabel()->text(), saved.status);
  const ResultTexts reopened = other.resultForm().shownTexts();
  EXPECT_EQ(reopened.rsum, results.rsum);
  EXPECT_EQ(reopened.zsum, results.zsum);
  EXPECT_EQ(reopened.rLine, results.rLine);
}

// Opening a feeder greys the result even when every text is the same (the
// device may differ), so no report row or note mixes two feeders; the
// breaking capacity typed for a feeder travels with its file.
TEST_F(FeederDocumentsTest, OpenedFeederGreysTheResultAndBringsItsBreakingCapacity) {
  describeFeeder();
  calculate();
  auto* capacity = app_.checkForm().findChild<QLineEdit*>(QStringLiteral("BreakingCapacityEdit"));
  ASSERT_NE(capacity, nullptr);
  capacity->setText(QStringLiteral("10"));
  const QString typed = dir_.filePath(QStringLiteral("typed.tsm"));
  files_.names = {typed};
  action("SaveSchemeAsMenu")->trigger();
  capacity->clear();
  const QString none = dir_.filePath(QStringLiteral("none.tsm"));
  files_.names = {none};
  action("SaveSchemeAsMenu")->trigger();
  EXPECT_EQ(LoadFeederFile(typed).data->breakingCapacity, "10");
  EXPECT_EQ(LoadFeederFile(none).data->breakingCapacity, "");

  struct Case {
    const QString* file;
    const char* capacity;  // in the window once the file is open
  };
  for (const Case& c : {Case{&typed, "10"}, Case{&none, ""}, Case{&typed, "10"}}) {
    SCOPED_TRACE(c.file->toStdString());
    calculate();
    capacity->setText(QStringLiteral("25"));  // typed for another feeder
    ASSERT_TRUE(main<QPushButton>("AddToReportButton")->isEnabled());
    files_.names = {*c.file};
    action("OpenSchemeMenu")->trigger();
    EXPECT_EQ(capacity->text(), QString::fromUtf8(c.capacity));
    EXPECT_FALSE(main<QPushButton>("AddToReportButton")->isEnabled());
    EXPECT_FALSE(action("NotePdfMenu")->isEnabled());
    EXPECT_FALSE(action("NotePrintMenu")->isEnabled());
    EXPECT_TRUE(action("ResultMenu")->isEnabled());
  }
  calculate();
  EXPECT_TRUE(main<QPushButton>("AddToReportButton")->isEnabled());
  EXPECT_TRUE(action("NotePdfMenu")->isEnabled());
}

// The feeder, note and report PDF dialogs start where the report's do and
// propose a name: the current file's folder, else the folder used last.
TEST_F(FeederDocumentsTest, FileDialogsStartWhereTheReportsDoAndProposeNames) {
  ReportPlaces& places = app_.reportForm().places();
  places.useFolder(dir_.path());
  QDir().mkpath(dir_.filePath(QStringLiteral("a")));
  const QString feeder = dir_.filePath(QStringLiteral("a/f.tsm"));
  calculate();
  dialogs_.pointNames = {QStringLiteral("К-2"), QString()};
  files_.names = {QString(), QString(), QString(), feeder};  // three dialogs cancelled
  action("SaveSchemeAsMenu")->trigger();
  action("OpenSchemeMenu")->trigger();
  action("NotePdfMenu")->trigger();
  action("SaveSchemeAsMenu")->trigger();
  action("OpenSchemeMenu")->trigger();  // cancelled: the script is over
  calculate();
  action("NotePdfMenu")->trigger();
  app_.reportForm().pdfAction()->trigger();
  const QString folder = dir_.path() + QLatin1Char('/');
  EXPECT_EQ(files_.starts, (QStringList{
                               QStringLiteral("save:") + folder + QStringLiteral("Схема.tsm"),
                               QStringLiteral("open:") + dir_.path(),
                               QStringLiteral("save:") + folder + QStringLiteral("Расчет К-2.pdf"),
                               QStringLiteral("save:") + folder + QStringLiteral("Схема.tsm"),
                               QStringLiteral("open:") + feeder,
                               QStringLiteral("save:") + folder + QStringLiteral("a/Расчет.pdf"),
                               QStringLiteral("save:") + folder + QStringLiteral("a/Отчет.pdf"),
                           }));
}

TEST_F(FeederDocumentsTest, HiddenEdgeTextsSurviveTheRoundTrip) {
  type("TransPowerComboBox", QStringLiteral(""));
  type("WindKindComboBox", QStringLiteral("Y/Y-0 "));  // not a list item: the handler says so
  type("LengthLine3Edit", QStringLiteral("   "));
  type("QuanParLine4ComboBox", QStringLiteral("нет "));
  type("FfLine5ComboBox", QStringLiteral("1,5"));
  type("RArcEdit", QStringLiteral(""));
  const Snapshot before = snapshot();
  const QString path = dir_.filePath(QStringLiteral("odd.tsm"));
  files_.names = {path};
  action("SaveSchemeAsMenu")->trigger();

  // Changed in between, then reopened.
  type("LengthLine3Edit", QStringLiteral("10"));
  main<QComboBox>("WindKindComboBox")->setEditText(QStringLiteral("Y/Y-0"));
  main<QComboBox>("KindPerformLine6ComboBox")->setEditText(QStringLiteral("Шинопровод LS Cable"));
  messages_.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
  files_.names = {path};
  action("OpenSchemeMenu")->trigger();
  EXPECT_EQ(snapshot().input, before.input);
  // Typing the scheme runs its handler, which names the unknown scheme again.
  EXPECT_EQ(messages_.informed().size(), 1) << messages_.informed().join(QStringLiteral("|")).toStdString();
}

TEST_F(FeederDocumentsTest, BadFeederFileGivesOneMessageAndChangesNothing) {
  describeFeeder();
  calculate();
  FeederData good;
  good.scheme = DefaultSchemeInput();
  const QByteArray json = FeederToJson(good);
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"not json", QByteArray("Rт/3;Xт/3;\r\n")},
      {"wrong format name", QByteArray(json).replace("tesmir-feeder", "tesmir-report")},
      {"newer version", QByteArray(json).replace("\"version\": 1", "\"version\": 7")},
      {"missing field", QByteArray(json).replace("\"rArc\"", "\"rarc\"")},
      {"wrong type", QByteArray(json).replace("\"rArc\": \"40\"", "\"rArc\": 40")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.bytes, json);
    const QString path = dir_.filePath(QString::fromLatin1(c.name) + QStringLiteral(".tsm"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.bytes);
    file.close();
    messages_.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
    const Snapshot before = snapshot();
    files_.names = {path};
    action("OpenSchemeMenu")->trigger();
    ASSERT_EQ(messages_.informed().size(), 1);
    EXPECT_TRUE(
        messages_.informed()[0].startsWith(QStringLiteral("Файл не является файлом схемы Тесмир или поврежден: ")))
        << messages_.informed()[0].toStdString();
    EXPECT_GT(messages_.informed()[0].size(), 60);  // a reason follows
    EXPECT_TRUE(snapshot() == before);
    EXPECT_TRUE(action("ResultMenu")->isEnabled());
  }
}

TEST_F(FeederDocumentsTest, RejectedDeviceInAFileLeavesTheDeviceUndefined) {
  describeFeeder();
  FeederData data = app_.feederDocuments().currentFeeder();
  ASSERT_TRUE(data.device);
  data.device->tokAVnom = "сто";
  const QString path = dir_.filePath(QStringLiteral("device.tsm"));
  ASSERT_TRUE(SaveFeederFile(path, data).ok());
  messages_.clear(tesmir_test::RecordingMessageSink::Kind::Inform);
  files_.names = {path};
  action("OpenSchemeMenu")->trigger();
  EXPECT_EQ(messages_.informed(), QStringList{QString::fromUtf8(kMsgBadBreakerRatedCurrent)});
  EXPECT_FALSE(app_.deviceForm().acceptedInput());
  EXPECT_LE(app_.deviceSettings().TokSR, 0);
  EXPECT_EQ(app_.mainForm().statusDDLabel()->text(), QStringLiteral("В расчете не определен"));
}

TEST_F(FeederDocumentsTest, NoteHoldsEveryNumberOfTheResultsWindow) {
  describeFeeder();
  calculate();
  const ResultTexts& t = app_.resultForm().shownTexts();
  const DeviceTexts d = app_.resultForm().deviceTexts();
  QStringList expected{t.st,       t.windKind, t.rt,    t.xt,     t.zt,    t.rLineSum, t.xLineSum,
                       t.zLineSum, t.rother,   t.rsum,  t.xsum,   t.zsum,  t.iokzrez,  d.type,
                       d.toknom,   d.kz,       d.tokSR, d.timeSR, d.status};
  for (std::size_t i = 0; i < t.rLine.size(); ++i) expected << t.rLine[i] << t.xLine[i] << t.zLine[i];
  ASSERT_TRUE(t.zsum.contains(QChar(0x00a0)) || t.rLine[0].contains(QChar(0x00a0)) ||
              t.xLine[1].contains(QLatin1Char(',')));

  // A name of nine characters is refused as for the report; then "К-1".
  dialogs_.pointNames = {QStringLiteral("123456789"), QStringLiteral("К-1")};
  const QString pdf = dir_.filePath(QStringLiteral("note.pdf"));
  files_.names = {pdf};
  action("NotePdfMenu")->trigger();
  EXPECT_EQ(messages_.informed().last(), QStringLiteral("Количество символов в названии не должно превышать 8."));
  const QString text = PdfText(pdf);
  for (const QString& e : expected) {
    EXPECT_TRUE(text.contains(Flat(e))) << e.toStdString();
  }
  EXPECT_TRUE(text.contains(QStringLiteral("Точка короткого замыкания: К-1")));
  EXPECT_TRUE(text.contains(QStringLiteral("Iокз = 231000 / Zф-н")));

  // Printing lays out the same note; here the printer writes a PDF.
  dialogs_.pointNames = {QStringLiteral("")};
  dialogs_.printTo = dir_.filePath(QStringLiteral("printed.pdf"));
  action("NotePrintMenu")->trigger();
  const QString printed = PdfText(dialogs_.printTo);
  for (const QString& e : expected) {
    EXPECT_TRUE(printed.contains(Flat(e))) << e.toStdString();
  }
}

// The note lists only the sections with a length, says once which are not
// given, repeats no text, numbers its pages "N из M" and names its sources.
TEST_F(FeederDocumentsTest, NoteShowsOnlyTheGivenSectionsAndNamesItsSources) {
  describeFeeder();  // sections 1 and 2
  calculate();
  dialogs_.pointNames = {QStringLiteral("К-1")};
  const QString pdf = dir_.filePath(QStringLiteral("note.pdf"));
  files_.names = {pdf};
  action("NotePdfMenu")->trigger();
  const QString text = PdfText(pdf);
  EXPECT_EQ(text.count(QStringLiteral("Линии 3–6 не заданы.")), 1) << text.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Линия 3"))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Линия 2")));
  EXPECT_FALSE(text.contains(QStringLiteral("(Rпр")));
  for (const char* source :
       {"ГОСТ 28249-93", "ПУЭ, изд. 7, п. 1.7.79", "IEC 60909-0", "231000 — фазное напряжение 231 В"}) {
    EXPECT_TRUE(text.contains(QString::fromUtf8(source))) << source << ": " << text.toStdString();
  }
  const QRegularExpression page(QStringLiteral("Страница (\\d+) из (\\d+)"));
  QStringList numbers;
  QString total;
  for (const QRegularExpressionMatch& m : page.globalMatch(text)) {
    numbers << m.captured(1);
    if (total.isEmpty()) total = m.captured(2);
    EXPECT_EQ(m.captured(2), total);
  }
  ASSERT_FALSE(numbers.isEmpty());
  EXPECT_EQ(numbers.size(), total.toInt());
  EXPECT_EQ(numbers.last(), total);
  EXPECT_FALSE(text.contains(QRegularExpression(QStringLiteral("Страница \\d+ (?!из)"))));
}

// Six sections of the longest kinds: the note's picture wraps or shrinks its
// labels, never cuts one.
TEST_F(FeederDocumentsTest, NotePictureNeverShortensALabel) {
  SchemeInput in = DefaultSchemeInput();
  const char* kinds[] = {"Кабель с бумажной изоляцией", "Кабель с ПВХ изоляцией", "Воздушная",
                         "Кабель с бумажной изоляцией", "Кабель с ПВХ изоляцией", "Кабель с бумажной изоляцией"};
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    in.lines[i] = {kinds[i], "Алюминий", "240", "120", "15", "2"};
  }
  app_.mainForm().setSchemeInput(in);
  calculate();
  ASSERT_TRUE(messages_.informed().isEmpty()) << messages_.informed().join(QStringLiteral("|")).toStdString();
  dialogs_.pointNames = {QString()};
  const QString pdf = dir_.filePath(QStringLiteral("six.pdf"));
  files_.names = {pdf};
  action("NotePdfMenu")->trigger();
  const QString text = PdfText(pdf);
  EXPECT_FALSE(text.contains(QChar(0x2026))) << text.toStdString();
  EXPECT_TRUE(text.contains(QStringLiteral("Линия 6")));
  EXPECT_TRUE(text.contains(QStringLiteral("2 параллельно")));
}

// The figures of "Проверка защиты" follow the device, as the window shows
// them; the breaking capacity only once one is typed.
TEST_F(FeederDocumentsTest, NoteHoldsTheProtectionCheckFigures) {
  describeFeeder();
  calculate();
  ProtectionCheckForm& check = app_.checkForm();
  check.setSeparators(NumberSeparators{",", "\u00a0"});
  check.refresh();
  const auto shown = [&check](const char* name) {
    auto* label = check.findChild<QLabel*>(QString::fromLatin1(name));
    EXPECT_NE(label, nullptr) << name;
    return label != nullptr ? label->text() : QString();
  };
  const QStringList figures{shown("TripCurrentLabel"), shown("IokzMinLabel"),      shown("IokzMinStatusLabel"),
                            shown("LengthMaxLabel"),   shown("LengthMaxHotLabel"), shown("Ik3DeviceLabel"),
                            shown("Ik3PointLabel")};
  ASSERT_TRUE(figures[5].endsWith(QStringLiteral(" кА")) && figures[5].contains(QLatin1Char(',')))
      << figures[5].toStdString();
  // The last section is the busbar: no cross-section, and the reason is printed.
  ASSERT_EQ(shown("SectionMinLabel"), QStringLiteral("—"));
  const QString busbarReason = check.findChild<QLabel*>(QStringLiteral("SectionMinLabel"))->statusTip();

  const QString plain = dir_.filePath(QStringLiteral("plain.pdf"));
  dialogs_.pointNames = {QStringLiteral("К-2")};
  files_.names = {plain};
  action("NotePdfMenu")->trigger();
  const QString text = PdfText(plain);
  EXPECT_TRUE(text.contains(QStringLiteral("6. Проверка защиты"))) << text.toStdString();
  for (const QString& f : figures) {
    EXPECT_TRUE(text.contains(Flat(f))) << f.toStdString();
  }
  EXPECT_TRUE(text.contains(Flat(QStringLiteral("— (") + busbarReason + QStringLiteral(")"))))
      << busbarReason.toStdString();
  EXPECT_FALSE(text.contains(QStringLiteral("Отключающая способность")));

  auto* capacity = check.findChild<QLineEdit*>(QStringLiteral("BreakingCapacityEdit"));
  ASSERT_NE(capacity, nullptr);
  QTest::keyClicks(capacity, QStringLiteral("25.5"));
  const QString verdict = shown("BreakingStatusLabel");
  ASSERT_FALSE(verdict.isEmpty());
  const QString judged = dir_.filePath(QStringLiteral("judged.pdf"));
  dialogs_.pointNames = {QStringLiteral("К-2")};
  files_.names = {judged};
  action("NotePdfMenu")->trigger();
  const QString withCapacity = PdfText(judged);
  EXPECT_TRUE(withCapacity.contains(QStringLiteral("25,5 кА"))) << withCapacity.toStdString();
  EXPECT_TRUE(withCapacity.contains(verdict)) << verdict.toStdString();
  EXPECT_TRUE(withCapacity.contains(Flat(figures[5])));
}

TEST_F(FeederDocumentsTest, SchemePageDrawsTheLastCalculation) {
  describeFeeder();
  calculate();
  FeederPictureWidget* page = app_.resultForm().pictureWidget();
  page->resize(900, 300);
  page->grab();
  QStringList drawn;
  for (const PaintedText& p : page->paintedTexts()) drawn << p.text;
  const QString current = QStringLiteral("Iокз=") + QString::number(qRound(app_.scheme().Iokz)) + QStringLiteral(" А");
  EXPECT_TRUE(drawn.contains(current)) << drawn.join(QStringLiteral("|")).toStdString();
  EXPECT_TRUE(drawn.contains(QStringLiteral("Линия 2")));
  EXPECT_FALSE(drawn.contains(QStringLiteral("Линия 3")));  // no length, not drawn
  EXPECT_TRUE(drawn.contains(QStringLiteral("Iср=1760 А"))) << drawn.join(QStringLiteral("|")).toStdString();
}

TEST_F(FeederDocumentsTest, ReportPdfRepeatsTheHeadingOnEveryPage) {
  calculate();
  ReportTable& report = app_.report();
  for (int i = 1; i <= 40; ++i) {
    const std::string name = "Т" + std::to_string(i);
    ASSERT_EQ(report.addPoint(name, MakeReportRow(name, app_.scheme(), app_.deviceSettings(), "---", {})), "");
  }
  const QString pdf = dir_.filePath(QStringLiteral("report.pdf"));
  files_.names = {pdf};
  app_.reportForm().findChild<QAction*>(QStringLiteral("PdfReportMenu"))->trigger();
  const QString text = PdfText(pdf);
  EXPECT_TRUE(text.contains(QStringLiteral("Страница 1 из 2")));
  EXPECT_TRUE(text.contains(QStringLiteral("Страница 2 из 2")));
  EXPECT_EQ(text.count(QStringLiteral("Rт/3")), 2);
  EXPECT_EQ(text.count(QStringLiteral("Iокз")), 2);
  EXPECT_TRUE(text.contains(QStringLiteral("Файл отчета: не сохранен")));
  for (int i = 1; i <= 40; ++i) {
    EXPECT_TRUE(text.contains(QStringLiteral(" Т%1 ").arg(i))) << i;
  }
  EXPECT_EQ(app_.reportForm().findChild<QAction*>(QStringLiteral("PrintReportMenu"))->text().remove(QLatin1Char('&')),
            QStringLiteral("Печать..."));  // "&" only underlines
}

// Every document that cannot be written says so in the report's form, and
// leaves the old file, or none, under the chosen name: feeder files, the note
// and the report as PDF, and printing to a PDF file. Opening a FIFO as a
// feeder file does not wait for a writer.
TEST_F(FeederDocumentsTest, DocumentsThatCannotBeWrittenAreReportedAndLeaveNoFile) {
  calculate();
  const QString blocker = dir_.filePath(QStringLiteral("plain-file"));
  {
    QFile plain(blocker);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  }
  const auto in = [&blocker](const char* name) { return blocker + QLatin1Char('/') + QString::fromUtf8(name); };
  const auto lastError = [this] { return messages_.errors().isEmpty() ? QString() : messages_.errors().last(); };
  const auto saveFailure = [](const QString& path) {
    return QStringLiteral("Не удалось сохранить файл %1.\n").arg(path);
  };

  files_.names = {in("a.tsm")};
  action("SaveSchemeAsMenu")->trigger();
  EXPECT_TRUE(lastError().startsWith(saveFailure(in("a.tsm")))) << lastError().toStdString();

  dialogs_.pointNames = {QStringLiteral("К-1")};
  files_.names = {in("note.pdf")};
  action("NotePdfMenu")->trigger();
  EXPECT_TRUE(lastError().startsWith(saveFailure(in("note.pdf")))) << lastError().toStdString();

  dialogs_.pointNames = {QStringLiteral("К-1")};
  dialogs_.printTo = in("printed.pdf");
  action("NotePrintMenu")->trigger();
  EXPECT_TRUE(lastError().startsWith(saveFailure(in("printed.pdf")))) << lastError().toStdString();

  // A full disk: the file size limit stops the write after 1 KiB.
  const QString old = dir_.filePath(QStringLiteral("old.pdf"));
  {
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("old");
  }
  dialogs_.printTo = old;
  rlimit limit{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit saved = limit;
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  app_.reportForm().findChild<QAction*>(QStringLiteral("PrintReportMenu"))->trigger();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(lastError().startsWith(saveFailure(old))) << lastError().toStdString();
  QFile file(old);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "old");
  EXPECT_EQ(messages_.errors().size(), 4);

  const QString fifo = dir_.filePath(QStringLiteral("pipe.tsm"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  files_.names = {fifo};
  action("OpenSchemeMenu")->trigger();  // returns at once
  EXPECT_TRUE(lastError().startsWith(QStringLiteral("Не удалось открыть файл %1.\n").arg(fifo)))
      << lastError().toStdString();
}

}  // namespace
}  // namespace tesmir
