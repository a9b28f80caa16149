// The calculation note's content as data: its blocks for the README's feeder
// (unequal phase and neutral sections, a busbar run, a fuse) compared with a
// golden file, so a slip in any formula line or figure fails.
#include "paper/calc_note.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTextStream>

#include "device/device_check.h"
#include "paper/feeder_picture.h"
#include "support/ui_test_app.h"
#include "texts/result_texts.h"

namespace tesmir {
namespace {

// T/Y-0 630, 85 m of paper-insulated aluminium 240/120, 40 m Gersan GSC
// 2500A, arc 15; a fuse ППН 250.
CalcNote ReadmeNote() {
  SchemeInput in = DefaultSchemeInput();
  in.windKind = "T/Y-0";
  in.transPower = "630";
  in.rArc = "15";
  for (LineInput& line : in.lines) line.length = "0";
  in.lines[0] = {"Кабель с бумажной изоляцией", "Алюминий", "240", "120", "85", "нет"};
  in.lines[1] = {"Шинопровод Gersan", "GSC, 2500A", "0", "0", "40", "нет"};
  CalcNote note;
  note.date = QDate(2026, 12, 8);
  note.pointName = QStringLiteral("К-1");
  note.seps = NumberSeparators{",", " "};
  const CalcOutcome line = RunLoopCalculation(in, note.scheme);
  EXPECT_TRUE(line.ok());
  note.texts = MakeResultTexts(note.scheme, QStringLiteral("630"), QStringLiteral("T/Y-0"),
                               QString::fromStdString(line.ok() ? *line : std::string()), note.seps);
  DeviceSettings settings;
  DeviceDialogInput fuse;
  fuse.breaker = false;
  fuse.typePP = "ППН";
  fuse.tokPP = "250";
  fuse.kzPP = "1.1";
  fuse.timePP = std::string(kTime5s);
  fuse.tokAVnom = "16";
  fuse.tokNR = "10";
  fuse.kzAV = "1.1";
  const AcceptOutcome accepted = AcceptDevice(fuse, settings, note.seps);
  EXPECT_TRUE(accepted.ok()) << (accepted.ok() ? std::string() : accepted.error());
  note.device = MakeDeviceTexts(settings, accepted.ok() ? std::optional<DeviceLabels>(*accepted) : std::nullopt,
                                note.scheme.Iokz);
  return note;
}

QString BlockText(const NoteBlock& b) {
  static const char* const kKinds[] = {"title", "heading", "subheading", "paragraph",
                                       "bold",  "pairs",   "table",      "picture"};
  QString out = QString::fromLatin1(kKinds[static_cast<int>(b.kind)]) + QStringLiteral(": ") + b.text + u'\n';
  for (const auto& [label, value] : b.pairs)
    out += QStringLiteral("  ") + label + QStringLiteral(" | ") + value + u'\n';
  for (const QStringList& row : b.rows) out += QStringLiteral("  ") + row.join(QStringLiteral(" | ")) + u'\n';
  return out;
}

TEST(CalcNote, BlocksOfTheReadmeFeederMatchTheGoldenFile) {
  QString actual;
  for (const NoteBlock& b : MakeNoteBlocks(ReadmeNote())) actual += BlockText(b);
  const QString path = QStringLiteral(TESMIR_SOURCE_DIR "/tests/data/calc_note_readme.txt");
  if (qEnvironmentVariableIsSet("TESMIR_UPDATE_GOLDEN")) {
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(actual.toUtf8());
  }
  QFile golden(path);
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << path.toStdString();
  const QStringList expected = QString::fromUtf8(golden.readAll()).split(u'\n');
  const QStringList lines = actual.split(u'\n');
  for (qsizetype i = 0; i < std::max(expected.size(), lines.size()); ++i) {
    EXPECT_EQ(lines.value(i).toStdString(), expected.value(i).toStdString()) << "line " << i + 1;
  }
}

// The device symbol follows the device kind the model carries, not the words
// of its type text.
TEST(FeederPictureDevice, FuseAndBreakerAreDrawnAsTheirKind) {
  tesmir_test::EnsureApplication();
  const CalcNote note = ReadmeNote();
  FeederPictureModel fuse = MakePictureModel(note.scheme, note.texts, note.device, note.seps);
  ASSERT_EQ(fuse.deviceKind, DeviceKind::Fuse);
  FeederPictureModel breaker = fuse;
  breaker.deviceKind = DeviceKind::Breaker;
  FeederPictureModel none = fuse;
  none.deviceType.clear();
  none.deviceKind = DeviceKind::None;
  // A fuse whose type text does not say so is still a fuse.
  FeederPictureModel plainFuse = fuse;
  plainFuse.deviceType = QStringLiteral("ППН");

  const auto paint = [](const FeederPictureModel& m, DeviceKind* symbol) {
    QImage image(900, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    PictureFit fit;
    PaintFeederPicture(p, QRectF(0, 0, 900, 300), m, {}, &fit);
    *symbol = fit.deviceSymbol;
    return image;
  };
  DeviceKind drawn = DeviceKind::None;
  const QImage fuseImage = paint(fuse, &drawn);
  EXPECT_EQ(drawn, DeviceKind::Fuse);
  const QImage breakerImage = paint(breaker, &drawn);
  EXPECT_EQ(drawn, DeviceKind::Breaker);
  paint(none, &drawn);
  EXPECT_EQ(drawn, DeviceKind::None);
  EXPECT_EQ(paint(plainFuse, &drawn).isNull(), false);
  EXPECT_EQ(drawn, DeviceKind::Fuse);
  EXPECT_NE(fuseImage, breakerImage);
}

}  // namespace
}  // namespace tesmir
