// Line journal files: every field written and read back, unknown fields kept,
// the refused documents with their reasons; the results JSON.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <set>

#include "../../fuzz/journal_roundtrip.h"
#include "journal/journal_calc.h"
#include "report/journal_direct_read.h"
#include "report/journal_file.h"
#include "report/journal_results.h"

namespace tesmir {
namespace {

JournalDocument FullDocument() {
  JournalDocument doc;
  JournalNetwork& net = doc.network;
  net.name = "Офис \"Север\"";
  net.scheme = "T/Y-0";
  net.power = "630";
  net.skMva = "200";
  net.skMinMva = "150";
  net.load = JournalLoad{"600", "0.9"};
  net.arc = "15";
  net.duLimitTpPct = "5";
  net.duLimitVruPct = "4";
  JournalLine a;
  a.id = "W1";
  a.from = "ТП-1";
  a.to = "ВРУ-1";
  a.mark = "АВБбШв 2х(4х240)";
  a.kind = "Кабель с ПВХ изоляцией";
  a.material = "Алюминий";
  a.ff = "240";
  a.fn = "240";
  a.par = "2";
  a.length = "120";
  a.insulation = "XLPE";
  a.phases = 3;
  a.ip = "560";
  a.cosPhi = "0.93";
  a.arc = "10";
  a.final = false;
  a.tNorm = "5";
  JournalDevice breaker;
  breaker.type = "breaker";
  breaker.in = "630";
  breaker.multiple = "10 (\"C\")";
  breaker.safety = "1.1";
  breaker.icuKa = "50";
  breaker.i2t = "30000";
  breaker.tInst = "0.1";
  a.device = breaker;
  JournalLine b;
  b.id = "B1";
  b.parent = "W1";
  b.kind = "Шинопровод ШМА, ШРА";
  b.model = "ШМА4, 1250A";
  b.length = "30";
  JournalDevice fuse;
  fuse.type = "fuse";
  fuse.fuseType = "ППН";
  fuse.in = "63";
  fuse.time = "Тср < 5 с";
  fuse.releaseCurrent = "4000";
  b.device = fuse;
  net.lines = {a, b};
  doc.otherRoot.insert(QStringLiteral("author"), QStringLiteral("Иванов"));
  doc.otherTransformer.insert(QStringLiteral("maker"), QStringLiteral("ТМГ"));
  doc.otherLoad.insert(QStringLiteral("note"), 1);
  doc.otherLines = {QJsonObject{{QStringLiteral("colour"), QStringLiteral("red")}}, QJsonObject{}};
  doc.otherDevices = {QJsonObject{{QStringLiteral("series"), QStringLiteral("ВА88")}}, QJsonObject{}};
  return doc;
}

TEST(JournalFile, EveryFieldAndEveryUnknownFieldComesBack) {
  const JournalDocument doc = FullDocument();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("board.tsn"));
  ASSERT_EQ(SaveJournalFile(path, doc), QString());
  const LoadedJournal loaded = LoadJournalFile(path);
  ASSERT_TRUE(loaded.document) << loaded.reason.toStdString();
  EXPECT_EQ(*loaded.document, doc);
  EXPECT_TRUE(JournalReadWriteReadAgrees(JournalToJson(doc)));
}

TEST(JournalFile, NumbersAreReadAsTheirShortestText) {
  const JournalParse parsed = ParseJournal(
      R"({"format":"tesmir-network","version":1,"transformer":{"scheme":"T/Y-0","power":630},
          "lines":[{"id":"A","ff":2.5,"length":0.1,"device":{"type":"fuse","in":16}}]})");
  ASSERT_TRUE(parsed.document) << parsed.reason.toStdString();
  const JournalLine& line = parsed.document->network.lines[0];
  EXPECT_EQ(parsed.document->network.power, "630");
  EXPECT_EQ(line.ff, "2.5");
  EXPECT_EQ(line.length, "0.1");
  EXPECT_EQ(line.device->in, "16");
  EXPECT_FALSE(line.parent.has_value());
}

TEST(JournalFile, RefusedDocumentsAndWhy) {
  const char* const head = R"({"format":"tesmir-network","version":1,"transformer":{"scheme":"T/Y-0","power":"630"},)";
  struct Row {
    std::string bytes;
    const char* reason;
  };
  const Row rows[] = {
      {"not json", "текст не является документом JSON (ошибка в позиции 1)"},
      {"[1]", "документ JSON не является объектом"},
      {R"({"format":"tesmir-feeder","version":1})", "неизвестное имя формата"},
      {R"({"version":1})", "нет поля «format»"},
      {R"({"format":"tesmir-network","version":2})", "версия формата 2 новее поддерживаемой программой (1)"},
      {R"({"format":"tesmir-network","version":1.5})", "поле «version» должно быть целым положительным числом"},
      {R"({"format":"tesmir-network","version":1,"lines":[]})", "нет поля «transformer»"},
      {R"({"format":"tesmir-network","version":1,"transformer":{"power":"630"},"lines":[]})",
       "нет поля «transformer.scheme»"},
      {std::string(head) + R"("arc":true,"lines":[]})", "поле «arc» должно быть числом или строкой"},
      {std::string(head) + "\"lines\":{}}", "поле «lines» должно быть списком"},
      {std::string(head) + "\"lines\":[1]}", "поле «lines[1]» должно быть объектом"},
      {std::string(head) + "\"lines\":[{}]}", "нет поля «lines[1].id»"},
      {std::string(head) + R"("lines":[{"id":7}]})", "поле «lines[1].id» должно быть строкой"},
      {std::string(head) + R"("lines":[{"id":"A","parent":3}]})",
       "поле «lines[1].parent» должно быть строкой или null"},
      {std::string(head) + R"("lines":[{"id":"A","kind":3}]})", "поле «lines[1].kind» должно быть строкой"},
      {std::string(head) + R"("lines":[{"id":"A","phases":2}]})", "поле «lines[1].phases» должно быть 1 или 3"},
      {std::string(head) + R"("lines":[{"id":"A","final":1}]})", "поле «lines[1].final» должно быть true или false"},
      {std::string(head) + R"("lines":[{"id":"A","insulation":"rubber"}]})",
       "поле «lines[1].insulation» должно быть PVC, XLPE или paper"},
      {std::string(head) + R"("lines":[{"id":"A","device":"C16"}]})", "поле «lines[1].device» должно быть объектом"},
      {std::string(head) + R"("lines":[{"id":"A","device":{"in":[16]}}]})",
       "поле «lines[1].device.in» должно быть числом или строкой"},
  };
  for (const Row& row : rows) {
    const JournalParse parsed =
        ParseJournal(QByteArrayView(row.bytes.data(), static_cast<qsizetype>(row.bytes.size())));
    EXPECT_FALSE(parsed.document) << row.bytes;
    EXPECT_EQ(parsed.reason.toStdString(), row.reason) << row.bytes;
  }
}

// The direct reader either gives the document the JSON tree gives, or gives
// up and leaves the document to the tree reader.
TEST(JournalFile, ReadDirectlyAsTheTreeReadsOrLeftToIt) {
  const std::string head = R"({"format":"tesmir-network","version":1,"transformer":{"scheme":"T/Y-0","power":"630"},)";
  const QByteArray full = JournalToJson(FullDocument());
  struct Row {
    std::string bytes;
    bool direct;  // read directly
  };
  const Row rows[] = {
      {full.toStdString(), true},
      {QJsonDocument::fromJson(full).toJson(QJsonDocument::Compact).toStdString(), true},
      {" \r\n\t" + head + "\"lines\":[] } \n", true},
      // Escapes, a pair of surrogates and a Cyrillic text written raw.
      {head + R"("lines":[{"id":"\u0041\n\"\\\/\t","from":"\ud83d\ude00","to":"ЩР-1 \u0416"}]})", true},
      // Numbers in number fields: shortest texts, exponents, large integers.
      {head + R"("lines":[{"id":"A","ff":2.50,"fn":1e1,"length":-0.5,"ip":12345678901234567890,"par":0}]})", true},
      {head + R"("lines":[{"id":"A","phases":3,"final":false,"parent":null,"device":null}]})", true},
      // Unknown fields of any shape, nested, kept as they are.
      {head + R"("x":{"a":[1,{"b":null}],"c":"д"},"lines":[{"id":"A","y":[true,false],"device":{"z":-1.5e-3}}]})",
       true},
      {R"({"format":"tesmir-network","version":1.0,"transformer":{"scheme":"T/Y-0","power":630,"load":null},"lines":[]})",
       true},
      // An empty power is a power given: it must be written back.
      {R"({"format":"tesmir-network","version":1,"transformer":{"scheme":"","power":""},"lines":[{"id":""}]})", true},
      // Left to the tree reader.
      {head + R"("lines":[{"id":"A","id":"B"}]})", false},
      {head + R"("lines":[{"id":"A","x":1,"x":2}]})", false},
      {head + R"("lines":[{"id":"\ud800"}]})", false},
      {head + R"("lines":[{"id":"A","par":-0}]})", false},
      {head + R"("lines":[{"id":"A","ip":1e400}]})", false},
      {"\xEF\xBB\xBF" + head + "\"lines\":[]}", false},
      {head + "\"lines\":[{\"id\":\"A\xC0\xAF\"}]}", false},
      {head + "\"lines\":[{\"id\":\"A\tB\"}]}", false},
      {head + R"("lines":[{"id":"A"}]} x)", false},
      {head + R"("lines":[{"id":"A",}]})", false},
      {head + R"("lines":[{"id":"A","parent":7}]})", false},
      {head + R"("lines":[{"id":"A","phases":2}]})", false},
      {head + R"("lines":[{"id":"A","insulation":"rubber"}]})", false},
      {head + R"("lines":[{"kind":"Кабель"}]})", false},
      {R"({"format":"tesmir-network","version":2,"transformer":{"scheme":"T/Y-0","power":"630"},"lines":[]})", false},
      {R"({"format":"tesmir-network","version":1,"transformer":{"scheme":"T/Y-0"},"lines":[]})", false},
      {R"({"format":"tesmir-network","version":1,"transformer":{"scheme":"T/Y-0","power":"630"}})", false},
  };
  for (const Row& row : rows) {
    const QByteArrayView bytes(row.bytes.data(), static_cast<qsizetype>(row.bytes.size()));
    const std::optional<JournalDocument> direct = ReadJournalDirectly(bytes);
    EXPECT_EQ(direct.has_value(), row.direct) << row.bytes;
    const JournalParse tree = ParseJournalTree(bytes);
    if (direct) {
      ASSERT_TRUE(tree.document) << row.bytes;
      EXPECT_TRUE(*direct == *tree.document) << row.bytes;
    }
    EXPECT_TRUE(JournalReadWriteReadAgrees(bytes)) << row.bytes;
  }
}

TEST(JournalResultsJson, KeysAsListedAndNumbersReadBackExactly) {
  JournalDocument doc = FullDocument();
  doc.network.lines[1].device->releaseCurrent.clear();
  doc.network.lines.push_back(doc.network.lines[1]);
  doc.network.lines[2].id = "X";
  doc.network.lines[2].parent = "nowhere";
  const JournalResult result = ComputeJournal(doc.network);
  const QJsonObject root = QJsonDocument::fromJson(JournalResultsJson(doc.network, result)).object();
  EXPECT_EQ(root.value(QStringLiteral("format")).toString(), QStringLiteral("tesmir-journal-results"));
  EXPECT_EQ(root.value(QStringLiteral("version")).toInt(), 1);
  EXPECT_EQ(root.value(QStringLiteral("transformer_drop_pct")).toDouble(), *result.transformerDrop);
  const std::set<QString> allowed{
      QStringLiteral("id"),           QStringLiteral("error"),      QStringLiteral("device_error"),
      QStringLiteral("warnings"),     QStringLiteral("ik1"),        QStringLiteral("ik1_min"),
      QStringLiteral("ik3_start"),    QStringLiteral("ik3_end"),    QStringLiteral("ik1_max_start"),
      QStringLiteral("trip_current"), QStringLiteral("t_norm"),     QStringLiteral("verdict"),
      QStringLiteral("verdict_min"),  QStringLiteral("breaking"),   QStringLiteral("lmax_hot"),
      QStringLiteral("smin_hot"),     QStringLiteral("du_line"),    QStringLiteral("du_tp"),
      QStringLiteral("du_vru"),       QStringLiteral("du125_line"), QStringLiteral("du125_tp"),
      QStringLiteral("du125_vru"),    QStringLiteral("du_ok_tp"),   QStringLiteral("du_ok_vru"),
      QStringLiteral("thermal")};
  const QJsonArray lines = root.value(QStringLiteral("lines")).toArray();
  ASSERT_EQ(lines.size(), 3);
  for (const QJsonValue& line : lines) {
    for (const QString& key : line.toObject().keys()) EXPECT_TRUE(allowed.count(key)) << key.toStdString();
  }
  const QJsonObject w1 = lines[0].toObject();
  EXPECT_EQ(w1.value(QStringLiteral("ik1")).toDouble(), *result.lines[0].get(Fig::Ik1));
  EXPECT_EQ(w1.value(QStringLiteral("ik1_min")).toDouble(), *result.lines[0].get(Fig::Ik1Min));
  EXPECT_EQ(w1.value(QStringLiteral("du_tp")).toDouble(), *result.lines[0].get(Fig::DuTp));
  const QJsonObject thermal = w1.value(QStringLiteral("thermal")).toObject();
  // W1's 630-A breaker does not trip instantaneously at its smallest current:
  // that case's time is unknown, so it is shown without an energy.
  EXPECT_EQ(thermal.value(QStringLiteral("verdict")).toString(), QStringLiteral("—"));
  EXPECT_EQ(thermal.keys(), (QStringList{QStringLiteral("case"), QStringLiteral("current"), QStringLiteral("k"),
                                         QStringLiteral("verdict"), QStringLiteral("withstand")}));
  EXPECT_EQ(lines[1].toObject().value(QStringLiteral("thermal")).toObject().value(QStringLiteral("case")).toString(),
            QStringLiteral("шинопровод: проверяется по Icw изготовителя"));
  EXPECT_EQ(lines[2].toObject().keys(), (QStringList{QStringLiteral("error"), QStringLiteral("id")}));
  EXPECT_EQ(lines[2].toObject().value(QStringLiteral("error")).toString(),
            QStringLiteral("родительская линия nowhere не найдена"));
}

}  // namespace
}  // namespace tesmir
