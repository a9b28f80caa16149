#include "report/feeder_file.h"
#include "report/utf8_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tesmir {
namespace {

// Keys of one line row, in the order of the window's tab chain.
constexpr const char* kLineKeys[] = {"kind", "stuff", "length", "quanPar", "ff", "fn"};

std::string* LineField(LineInput& line, int index) {
  std::string* fields[] = {&line.kind, &line.stuff, &line.length, &line.quanPar, &line.ff, &line.fn};
  return fields[index];
}

const std::string& LineField(const LineInput& line, int index) {
  return *LineField(const_cast<LineInput&>(line), index);
}

struct DeviceTextKey {
  const char* key;
  std::string DeviceDialogInput::*field;
};
constexpr DeviceTextKey kDeviceTexts[] = {
    {"tokAVnom", &DeviceDialogInput::tokAVnom}, {"tokNR", &DeviceDialogInput::tokNR},
    {"kzAV", &DeviceDialogInput::kzAV},         {"typePP", &DeviceDialogInput::typePP},
    {"tokPP", &DeviceDialogInput::tokPP},       {"kzPP", &DeviceDialogInput::kzPP},
    {"timePP", &DeviceDialogInput::timePP},
};

constexpr const char* kBreakingCapacityKey = "breakingCapacity";

QString Quoted(const QString& path) { return QStringLiteral("«%1»").arg(path); }

// Reads the fields of a checked document; every failure names the field.
class Reader {
 public:
  QString reason;

  bool text(const QJsonObject& object, const QString& path, const char* key, std::string& out) {
    const QJsonValue value = object.value(QLatin1String(key));
    const QString where = path + QLatin1String(key);
    if (value.isUndefined()) return fail(QStringLiteral("нет поля %1").arg(Quoted(where)));
    if (!value.isString()) return fail(QStringLiteral("поле %1 должно быть строкой").arg(Quoted(where)));
    const QString text = value.toString();
    if (text.size() > kFeederMaxTextLength) {
      return fail(QStringLiteral("текст поля %1 длиннее %2 символов").arg(Quoted(where)).arg(kFeederMaxTextLength));
    }
    out = text.toStdString();
    return true;
  }

  bool flag(const QJsonObject& object, const QString& path, const char* key, bool& out) {
    const QJsonValue value = object.value(QLatin1String(key));
    const QString where = path + QLatin1String(key);
    if (value.isUndefined()) return fail(QStringLiteral("нет поля %1").arg(Quoted(where)));
    if (!value.isBool()) return fail(QStringLiteral("поле %1 должно быть true или false").arg(Quoted(where)));
    out = value.toBool();
    return true;
  }

  bool object(const QJsonObject& parent, const char* key, QJsonObject& out, bool nullable, bool& isNull) {
    const QJsonValue value = parent.value(QLatin1String(key));
    isNull = false;
    if (value.isUndefined()) return fail(QStringLiteral("нет поля %1").arg(Quoted(QLatin1String(key))));
    if (nullable && value.isNull()) {
      isNull = true;
      return true;
    }
    if (!value.isObject()) return fail(QStringLiteral("поле %1 должно быть объектом").arg(Quoted(QLatin1String(key))));
    out = value.toObject();
    return true;
  }

  bool fail(const QString& text) {
    reason = text;
    return false;
  }
};

}  // namespace

QByteArray FeederToJson(const FeederData& data) {
  QJsonObject root;
  root.insert(QStringLiteral("format"), QLatin1String(kFeederFormatName));
  root.insert(QStringLiteral("version"), kFeederFormatVersion);
  QJsonObject trans;
  trans.insert(QStringLiteral("windKind"), QUtf8(data.scheme.windKind));
  trans.insert(QStringLiteral("transPower"), QUtf8(data.scheme.transPower));
  root.insert(QStringLiteral("transformer"), trans);
  QJsonArray lines;
  for (const LineInput& line : data.scheme.lines) {
    QJsonObject row;
    for (int i = 0; i < 6; ++i) {
      row.insert(QLatin1String(kLineKeys[i]), QUtf8(LineField(line, i)));
    }
    lines.append(row);
  }
  root.insert(QStringLiteral("lines"), lines);
  root.insert(QStringLiteral("rArc"), QUtf8(data.scheme.rArc));
  if (data.device) {
    QJsonObject device;
    device.insert(QStringLiteral("breaker"), data.device->breaker);
    device.insert(QStringLiteral("releaseCurrentGiven"), data.device->releaseCurrentGiven);
    for (const DeviceTextKey& k : kDeviceTexts) {
      device.insert(QLatin1String(k.key), QUtf8(*data.device.*k.field));
    }
    root.insert(QStringLiteral("device"), device);
  } else {
    root.insert(QStringLiteral("device"), QJsonValue::Null);
  }
  if (!data.breakingCapacity.empty()) {
    root.insert(QLatin1String(kBreakingCapacityKey), QUtf8(data.breakingCapacity));
  }
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

FeederParse ParseFeeder(QByteArrayView bytes) {
  FeederParse out;
  Reader r;
  const auto failed = [&out](const QString& reason) {
    out.reason = reason;
    return out;
  };
  if (bytes.size() > kFeederMaxBytes) return failed(QStringLiteral("файл слишком велик"));
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(bytes.toByteArray(), &error);
  if (error.error != QJsonParseError::NoError) {
    return failed(QStringLiteral("текст не является документом JSON (ошибка в позиции %1)").arg(error.offset));
  }
  if (!doc.isObject()) return failed(QStringLiteral("документ JSON не является объектом"));
  const QJsonObject root = doc.object();

  const QJsonValue format = root.value(QStringLiteral("format"));
  if (format.isUndefined()) return failed(QStringLiteral("нет поля «format»"));
  if (format.toString() != QLatin1String(kFeederFormatName)) {
    return failed(QStringLiteral("неизвестное имя формата"));
  }
  const QJsonValue version = root.value(QStringLiteral("version"));
  if (version.isUndefined()) return failed(QStringLiteral("нет поля «version»"));
  if (!version.isDouble() || version.toDouble() != static_cast<double>(version.toInt()) || version.toInt() < 1) {
    return failed(QStringLiteral("поле «version» должно быть целым положительным числом"));
  }
  if (version.toInt() > kFeederFormatVersion) {
    return failed(QStringLiteral("версия формата %1 новее поддерживаемой программой (%2)")
                      .arg(version.toInt())
                      .arg(kFeederFormatVersion));
  }

  FeederData data;
  QJsonObject trans;
  bool isNull = false;
  if (!r.object(root, "transformer", trans, false, isNull)) return failed(r.reason);
  if (!r.text(trans, QStringLiteral("transformer."), "windKind", data.scheme.windKind)) return failed(r.reason);
  if (!r.text(trans, QStringLiteral("transformer."), "transPower", data.scheme.transPower)) return failed(r.reason);

  const QJsonValue lines = root.value(QStringLiteral("lines"));
  if (lines.isUndefined()) return failed(QStringLiteral("нет поля «lines»"));
  if (!lines.isArray()) return failed(QStringLiteral("поле «lines» должно быть списком"));
  const QJsonArray rows = lines.toArray();
  if (rows.size() != kLineCount) {
    return failed(QStringLiteral("в поле «lines» должно быть %1 линий, а не %2").arg(kLineCount).arg(rows.size()));
  }
  for (int i = 0; i < kLineCount; ++i) {
    const QString path = QStringLiteral("lines[%1].").arg(i + 1);
    if (!rows[i].isObject()) return failed(QStringLiteral("поле %1 должно быть объектом").arg(Quoted(path.chopped(1))));
    const QJsonObject row = rows[i].toObject();
    for (int f = 0; f < 6; ++f) {
      if (!r.text(row, path, kLineKeys[f], *LineField(data.scheme.lines[static_cast<std::size_t>(i)], f))) {
        return failed(r.reason);
      }
    }
  }
  if (!r.text(root, QString(), "rArc", data.scheme.rArc)) return failed(r.reason);

  QJsonObject device;
  if (!r.object(root, "device", device, true, isNull)) return failed(r.reason);
  if (!isNull) {
    DeviceDialogInput in;
    const QString path = QStringLiteral("device.");
    if (!r.flag(device, path, "breaker", in.breaker)) return failed(r.reason);
    if (!r.flag(device, path, "releaseCurrentGiven", in.releaseCurrentGiven)) return failed(r.reason);
    for (const DeviceTextKey& k : kDeviceTexts) {
      if (!r.text(device, path, k.key, in.*k.field)) return failed(r.reason);
    }
    data.device = std::move(in);
  }
  // Optional: files written before the field existed do not have it.
  if (root.contains(QLatin1String(kBreakingCapacityKey)) &&
      !r.text(root, QString(), kBreakingCapacityKey, data.breakingCapacity)) {
    return failed(r.reason);
  }
  out.data = std::move(data);
  return out;
}

QString FeederSaveRejection(const FeederData& data) {
  const auto tooLong = [](const std::string& text) { return QUtf8(text).size() > kFeederMaxTextLength; };
  const auto rejection = [](const QString& field) {
    return QStringLiteral("Текст поля %1 длиннее %2 символов и не может быть сохранен целиком.")
        .arg(Quoted(field))
        .arg(kFeederMaxTextLength);
  };
  if (tooLong(data.scheme.windKind)) return rejection(QStringLiteral("transformer.windKind"));
  if (tooLong(data.scheme.transPower)) return rejection(QStringLiteral("transformer.transPower"));
  for (int i = 0; i < kLineCount; ++i) {
    for (int f = 0; f < 6; ++f) {
      if (tooLong(LineField(data.scheme.lines[static_cast<std::size_t>(i)], f))) {
        return rejection(QStringLiteral("lines[%1].%2").arg(i + 1).arg(QLatin1String(kLineKeys[f])));
      }
    }
  }
  if (tooLong(data.scheme.rArc)) return rejection(QStringLiteral("rArc"));
  if (data.device) {
    for (const DeviceTextKey& k : kDeviceTexts) {
      if (tooLong(*data.device.*k.field)) return rejection(QStringLiteral("device.") + QLatin1String(k.key));
    }
  }
  return {};
}

Result<FileSaved, FileError> SaveFeederFile(const QString& path, const FeederData& data) {
  // Only what the reader takes back whole is written.
  const QString rejection = FeederSaveRejection(data);
  if (!rejection.isEmpty()) return FailWith(FileError{FileErrorKind::TooLarge, SaveFailureText(path, rejection)});
  const QByteArray bytes = FeederToJson(data);
  if (bytes.size() > kFeederMaxBytes) {
    return FailWith(FileError{
        FileErrorKind::TooLarge,
        SaveFailureText(path, QStringLiteral("Файл схемы может занимать не более %1 байт.").arg(kFeederMaxBytes))});
  }
  return SaveFileBytes(path, bytes);
}

LoadedFeeder LoadFeederFile(const QString& path) {
  LoadedFeeder out;
  Result<QByteArray, FileError> bytes = ReadRegularFile(path, ReadLimits{kFeederMaxBytes, {}, {}});
  if (!bytes && bytes.error().kind == FileErrorKind::TooLarge) {
    out.reason = QStringLiteral("файл слишком велик");
    return out;
  }
  if (!bytes) {
    out.error = bytes.error().message;
    return out;
  }
  FeederParse parsed = ParseFeeder(*bytes);
  out.data = std::move(parsed.data);
  out.reason = std::move(parsed.reason);
  return out;
}

}  // namespace tesmir
