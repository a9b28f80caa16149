#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include "../../fuzz/feeder_roundtrip.h"
#include "report/feeder_file.h"

namespace tesmir {
namespace {

FeederData OddFeeder() {
  FeederData data;
  data.scheme = DefaultSchemeInput();
  data.scheme.transPower = "";      // empty
  data.scheme.windKind = "Y/Y-0 ";  // not a list item
  data.scheme.lines[2].kind = "Шинопровод Gersan";
  data.scheme.lines[2].stuff = "GGDA, 160A";
  data.scheme.lines[3].length = "  12.5 ";  // blanks kept
  data.scheme.lines[4].quanPar = "\t";
  data.scheme.lines[5].ff = "\"кв\"\\мм";  // quotes and backslash
  data.scheme.rArc = " ";
  DeviceDialogInput device;
  device.breaker = false;
  device.releaseCurrentGiven = true;
  device.tokNR = "";
  device.typePP = "ПН2";
  device.tokPP = "100";
  device.timePP = "Тср < 0,4 с";
  data.device = device;
  return data;
}

TEST(FeederFile, WritesAndReadsBackEveryTextExactly) {
  FeederData plain;
  plain.scheme = DefaultSchemeInput();
  for (const FeederData& data : {plain, OddFeeder()}) {
    const FeederParse parsed = ParseFeeder(FeederToJson(data));
    ASSERT_TRUE(parsed.data) << parsed.reason.toStdString();
    EXPECT_EQ(*parsed.data, data);
  }
  const QJsonObject root = QJsonDocument::fromJson(FeederToJson(plain)).object();
  EXPECT_EQ(root.value(QStringLiteral("format")).toString(), QStringLiteral("tesmir-feeder"));
  EXPECT_EQ(root.value(QStringLiteral("version")).toInt(), 1);
  EXPECT_TRUE(root.value(QStringLiteral("device")).isNull());
}

TEST(FeederFile, SavesThroughAFileAndLoadsIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("feeder.tsm"));
  ASSERT_TRUE(SaveFeederFile(path, OddFeeder()).ok());
  const LoadedFeeder loaded = LoadFeederFile(path);
  ASSERT_TRUE(loaded.data);
  EXPECT_EQ(*loaded.data, OddFeeder());
  EXPECT_FALSE(LoadFeederFile(dir.filePath(QStringLiteral("missing.tsm"))).error.isEmpty());
  EXPECT_FALSE(SaveFeederFile(dir.filePath(QStringLiteral("no/such/dir.tsm")), OddFeeder()).ok());
}

// The breaking capacity typed for the feeder is kept; a file without it is
// written byte for byte as before the field existed and still opens.
TEST(FeederFile, KeepsTheBreakingCapacityOnlyWhenTyped) {
  FeederData plain;
  plain.scheme = DefaultSchemeInput();
  const QByteArray without = FeederToJson(plain);
  EXPECT_FALSE(without.contains("breakingCapacity"));
  FeederData typed = plain;
  typed.breakingCapacity = " 10.5";
  const QByteArray with = FeederToJson(typed);
  const FeederParse parsed = ParseFeeder(with);
  ASSERT_TRUE(parsed.data) << parsed.reason.toStdString();
  EXPECT_EQ(parsed.data->breakingCapacity, " 10.5");
  EXPECT_EQ(*parsed.data, typed);
  // Without the field there is nothing more than the older layout.
  QJsonObject root = QJsonDocument::fromJson(with).object();
  root.remove(QStringLiteral("breakingCapacity"));
  EXPECT_EQ(QJsonDocument(root).toJson(QJsonDocument::Indented), without);
  const FeederParse older = ParseFeeder(without);
  ASSERT_TRUE(older.data);
  EXPECT_EQ(older.data->breakingCapacity, "");
  root.insert(QStringLiteral("breakingCapacity"), 10);
  const FeederParse number = ParseFeeder(QJsonDocument(root).toJson());
  EXPECT_FALSE(number.data);
  EXPECT_EQ(number.reason, QStringLiteral("поле «breakingCapacity» должно быть строкой"));
}

// Each damaged document and the reason it is refused with.
TEST(FeederFile, RefusesEveryBadDocumentWithItsReason) {
  const QByteArray good = FeederToJson(OddFeeder());
  const auto edited = [&good](const std::function<void(QJsonObject&)>& edit) {
    QJsonObject root = QJsonDocument::fromJson(good).object();
    edit(root);
    return QJsonDocument(root).toJson();
  };
  const auto editLine = [](QJsonObject& root, int index, const char* key, const QJsonValue& value) {
    QJsonArray lines = root.value(QStringLiteral("lines")).toArray();
    QJsonObject line = lines[index].toObject();
    if (value.isUndefined())
      line.remove(QLatin1StringView(key));
    else
      line.insert(QLatin1StringView(key), value);
    lines[index] = line;
    root.insert(QStringLiteral("lines"), lines);
  };
  const struct {
    const char* name;
    QByteArray bytes;
    const char* reason;
  } cases[] = {
      {"empty file", QByteArray(), "не является документом JSON"},
      {"csv text", QByteArray("№;Rт/3;\r\n"), "не является документом JSON"},
      {"cut short", good.left(good.size() / 2), "не является документом JSON"},
      {"json list", QByteArray("[1,2]"), "не является объектом"},
      {"no format", edited([](QJsonObject& r) { r.remove(QStringLiteral("format")); }), "нет поля «format»"},
      {"wrong format",
       edited([](QJsonObject& r) { r.insert(QStringLiteral("format"), QStringLiteral("tesmir-report")); }),
       "неизвестное имя формата"},
      {"newer version", edited([](QJsonObject& r) { r.insert(QStringLiteral("version"), 2); }),
       "версия формата 2 новее"},
      {"fractional version", edited([](QJsonObject& r) { r.insert(QStringLiteral("version"), 1.5); }),
       "«version» должно быть целым"},
      {"version as text", edited([](QJsonObject& r) { r.insert(QStringLiteral("version"), QStringLiteral("1")); }),
       "«version» должно быть целым"},
      {"no transformer", edited([](QJsonObject& r) { r.remove(QStringLiteral("transformer")); }),
       "нет поля «transformer»"},
      {"no power", edited([](QJsonObject& r) {
         r.insert(QStringLiteral("transformer"), QJsonObject{{QStringLiteral("windKind"), QStringLiteral("Y/Y-0")}});
       }),
       "нет поля «transformer.transPower»"},
      {"five lines", edited([](QJsonObject& r) {
         QJsonArray l = r.value(QStringLiteral("lines")).toArray();
         l.removeLast();
         r.insert(QStringLiteral("lines"), l);
       }),
       "должно быть 6 линий, а не 5"},
      {"lines not a list", edited([](QJsonObject& r) { r.insert(QStringLiteral("lines"), QStringLiteral("six")); }),
       "«lines» должно быть списком"},
      {"missing length", edited([&](QJsonObject& r) { editLine(r, 3, "length", QJsonValue::Undefined); }),
       "нет поля «lines[4].length»"},
      {"length as number", edited([&](QJsonObject& r) { editLine(r, 0, "length", 12); }),
       "поле «lines[1].length» должно быть строкой"},
      {"no arc", edited([](QJsonObject& r) { r.remove(QStringLiteral("rArc")); }), "нет поля «rArc»"},
      {"no device", edited([](QJsonObject& r) { r.remove(QStringLiteral("device")); }), "нет поля «device»"},
      {"device as text", edited([](QJsonObject& r) { r.insert(QStringLiteral("device"), QStringLiteral("ППН")); }),
       "«device» должно быть объектом"},
      {"breaker as text", edited([](QJsonObject& r) {
         QJsonObject d = r.value(QStringLiteral("device")).toObject();
         d.insert(QStringLiteral("breaker"), QStringLiteral("да"));
         r.insert(QStringLiteral("device"), d);
       }),
       "«device.breaker» должно быть true или false"},
      {"too large", QByteArray(kFeederMaxBytes + 1, ' '), "слишком велик"},
  };
  for (const auto& c : cases) {
    const FeederParse parsed = ParseFeeder(c.bytes);
    EXPECT_FALSE(parsed.data) << c.name;
    EXPECT_TRUE(parsed.reason.contains(QString::fromUtf8(c.reason))) << c.name << ": " << parsed.reason.toStdString();
  }
}

// Every seed and every input the fuzzer ever tripped over stays a test case.
TEST(FeederCorpus, EveryFileIsReadOrRefusedConsistently) {
  const QDir corpus(QStringLiteral(TESMIR_SOURCE_DIR "/fuzz/feeder_corpus"));
  const QStringList names = corpus.entryList(QDir::Files);
  ASSERT_GE(names.size(), 8);
  QStringList accepted;
  for (const QString& name : names) {
    QFile file(corpus.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(FeederReadWriteReadAgrees(bytes)) << name.toStdString();
    if (ParseFeeder(bytes).data) accepted << name;
  }
  for (const char* seed : {"default.tsm", "busbar_breaker.tsm", "odd_texts.tsm"}) {
    EXPECT_TRUE(accepted.contains(QLatin1String(seed))) << seed;
  }
  for (const char* seed : {"missing_field.tsm", "newer_version.tsm", "not_json.tsm", "truncated.tsm",
                           "wrong_format.tsm", "wrong_type.tsm"}) {
    EXPECT_FALSE(accepted.contains(QLatin1String(seed))) << seed;
  }
}

}  // namespace
}  // namespace tesmir

namespace tesmir {
namespace {

// Never written what the reader refuses: a text the inputs cannot hold whole
// is refused on saving and on reading with its field's name, and the longest
// texts the inputs hold, in every field, make a file the reader takes.
TEST(FeederFile, WritesOnlyWhatItReadsBackWhole) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("long.tsm"));
  FeederData longest;
  longest.scheme = DefaultSchemeInput();
  longest.device = DeviceDialogInput{};
  // Control characters are written as six-byte escapes: the largest file.
  const std::string full(static_cast<std::size_t>(kFeederMaxTextLength), '\x01');
  longest.scheme.windKind = longest.scheme.transPower = longest.scheme.rArc = full;
  for (LineInput& line : longest.scheme.lines) {
    line.kind = line.stuff = line.ff = line.fn = line.length = line.quanPar = full;
  }
  DeviceDialogInput& device = *longest.device;
  device.tokAVnom = device.tokNR = device.kzAV = device.typePP = device.tokPP = device.kzPP = device.timePP = full;
  ASSERT_TRUE(SaveFeederFile(path, longest).ok());
  const LoadedFeeder loaded = LoadFeederFile(path);
  ASSERT_TRUE(loaded.data) << loaded.error.toStdString() << loaded.reason.toStdString();
  EXPECT_EQ(*loaded.data, longest);

  FeederData tooLong = longest;
  tooLong.scheme.lines[2].length += "1";
  const Result<FileSaved, FileError> saved = SaveFeederFile(path, tooLong);
  ASSERT_FALSE(saved.ok());
  EXPECT_EQ(saved.error().message, QStringLiteral("Не удалось сохранить файл %1.\nТекст поля «lines[3].length» длиннее "
                                                  "32767 символов и не может быть сохранен целиком.")
                                       .arg(path));
  EXPECT_EQ(LoadFeederFile(path).data, longest) << "the old file stays";
  tooLong = longest;
  tooLong.device->kzPP += "1";
  EXPECT_TRUE(SaveFeederFile(path, tooLong).error().message.contains(QStringLiteral("«device.kzPP»")));

  const FeederParse parsed = ParseFeeder(FeederToJson(tooLong));
  EXPECT_FALSE(parsed.data);
  EXPECT_EQ(parsed.reason, QStringLiteral("текст поля «device.kzPP» длиннее 32767 символов"));
}

}  // namespace
}  // namespace tesmir
