#include "report/export_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <set>

namespace tesmir {
namespace {

mode_t Mode(const QString& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(QFile::encodeName(path).constData(), &info), 0) << path.toStdString();
  return info.st_mode;
}

void Write(const QString& path, const QByteArray& bytes = "x") {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
  file.write(bytes);
}

void SetModified(const QString& path, const QDateTime& when) {
  const timespec times[2] = {{when.toSecsSinceEpoch(), 0}, {when.toSecsSinceEpoch(), 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, AT_SYMLINK_NOFOLLOW), 0);
}

QString WriteX(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  file.write("workbook");
  return {};
}

TEST(ExportFiles, DefaultFolderIsExportInTheUsersCacheAndNeverRelative) {
  EXPECT_EQ(DefaultExportFolder(),
            QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/export"));
  // With relative locations in the environment the folder would land in the
  // current folder: it is then an absolute one or none at all.
  const QByteArray home = qgetenv("HOME"), cache = qgetenv("XDG_CACHE_HOME"), tmp = qgetenv("TMPDIR");
  qputenv("HOME", "relative-home");
  qputenv("XDG_CACHE_HOME", "relative-cache");
  qputenv("TMPDIR", "relative-tmp");
  const QString folder = DefaultExportFolder();
  qputenv("HOME", home);
  cache.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", cache);
  tmp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmp);
  EXPECT_TRUE(folder.isEmpty() || QDir::isAbsolutePath(folder)) << folder.toStdString();
  const NewExportFile none = WriteExportFile(QStringLiteral("relative"), WriteX);
  EXPECT_TRUE(none.error.startsWith(QStringLiteral("Не найдена папка для экспорта"))) << none.error.toStdString();
  EXPECT_FALSE(QFileInfo::exists(QStringLiteral("relative")));
}

TEST(ExportFiles, EveryExportIsANewReadOnlyFileInAPrivateFolder) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("cache/tesmir/export"));  // made on demand
  std::set<QString> paths;
  for (int i = 0; i < 5; ++i) {
    const NewExportFile file = WriteExportFile(folder, WriteX);
    ASSERT_TRUE(file.error.isEmpty()) << file.error.toStdString();
    EXPECT_EQ(QFileInfo(file.path).absolutePath(), QDir(folder).absolutePath());
    EXPECT_TRUE(QFileInfo(file.path).fileName().contains(
        QRegularExpression(QStringLiteral("^Расчет ОКЗ \\d{4}-\\d\\d-\\d\\d \\d\\d-\\d\\d-\\d\\d \\w{6}\\.xlsx$"))))
        << file.path.toStdString();
    EXPECT_TRUE(S_ISREG(Mode(file.path)));
    EXPECT_EQ(Mode(file.path) & 07777, 0444u);
    QFile written(file.path);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "workbook");
    paths.insert(file.path);
  }
  EXPECT_EQ(paths.size(), 5u);
  EXPECT_EQ(Mode(folder) & 07777, 0700u);
  // Nothing else is left in the folder.
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 5);
}

TEST(ExportFiles, AFailedWriteLeavesNothing) {
  QTemporaryDir dir;
  const NewExportFile file =
      WriteExportFile(dir.path() + QStringLiteral("/e"), [](const QString&) { return QStringLiteral("no space"); });
  EXPECT_EQ(file.error, QStringLiteral("no space"));
  EXPECT_TRUE(file.path.isEmpty());
  EXPECT_TRUE(QDir(dir.path() + QStringLiteral("/e")).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// Folders another user could reach or swap are refused before anything is
// written, and the clean-up leaves them alone.
TEST(ExportFiles, FoldersThatAreNotPrivateAreRefused) {
  QTemporaryDir dir;
  const QString elsewhere = dir.filePath(QStringLiteral("Documents"));
  ASSERT_TRUE(QDir().mkpath(elsewhere));
  ASSERT_EQ(::chmod(QFile::encodeName(elsewhere).constData(), 0700), 0);
  const QString old = elsewhere + QStringLiteral("/Расчет ОКЗ 2020-01-01 10-00-00 abcdef.xlsx");
  Write(old);
  ::chmod(QFile::encodeName(old).constData(), 0444);
  SetModified(old, QDateTime::currentDateTime().addDays(-30));

  struct Case {
    const char* name;
    std::function<void(const QString&)> make;
    const char* reason;
  };
  const Case cases[] = {
      {"open to all",
       [](const QString& f) {
         QDir().mkpath(f);
         ::chmod(QFile::encodeName(f).constData(), 0777);
       },
       "папка доступна другим пользователям (права 777)"},
      {"group readable",
       [](const QString& f) {
         QDir().mkpath(f);
         ::chmod(QFile::encodeName(f).constData(), 0750);
       },
       "(права 750)"},
      {"a link to a private folder", [&](const QString& f) { QFile::link(elsewhere, f); }, "это ссылка, а не папка"},
      {"a file", [](const QString& f) { Write(f); }, "это не папка"},
      {"another user's",
       [](const QString& f) {
         QDir().mkpath(f);
         ::chmod(QFile::encodeName(f).constData(), 0700);
         if (::chown(QFile::encodeName(f).constData(), ::geteuid() + 1, static_cast<gid_t>(-1)) != 0)
           ::chmod(QFile::encodeName(f).constData(), 0705);  // cannot give it away: fail the same check anyhow
       },
       "папк"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString folder = dir.filePath(QString::fromUtf8(c.name));
    c.make(folder);
    bool called = false;
    const NewExportFile file = WriteExportFile(folder, [&](const QString& path) {
      called = true;
      return WriteX(path);
    });
    EXPECT_FALSE(called);
    EXPECT_TRUE(file.path.isEmpty());
    EXPECT_TRUE(file.error.contains(QString::fromUtf8(c.reason))) << file.error.toStdString();
    EXPECT_TRUE(file.error.contains(QDir::toNativeSeparators(folder))) << file.error.toStdString();
    EXPECT_EQ(RemoveOldExports(folder, QDateTime::currentDateTime()), 0);
  }
  EXPECT_TRUE(QFileInfo::exists(old)) << "the clean-up never follows a link";
  EXPECT_EQ(QDir(elsewhere).entryList(QDir::Files).size(), 1);
}

TEST(ExportFiles, CleanUpRemovesOnlyItsOwnDayOldReadOnlyFiles) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("export"));
  const QDateTime now = QDateTime::currentDateTime();
  const NewExportFile recent = WriteExportFile(folder, WriteX);
  const NewExportFile old = WriteExportFile(folder, WriteX);
  ASSERT_TRUE(recent.error.isEmpty() && old.error.isEmpty());
  SetModified(recent.path, now.addSecs(-23 * 3600));
  SetModified(old.path, now.addSecs(-25 * 3600));

  const QString outside = dir.filePath(QStringLiteral("precious.txt"));
  Write(outside);
  SetModified(outside, now.addDays(-30));
  struct Entry {
    const char* name;
    bool removed;
  };
  const Entry entries[] = {
      {".tesmir-Ab3dE6.part", true},                              // left half written
      {"Расчет ОКЗ 2020-01-01 10-00-00 abcdef.xlsx.bak", false},  // not the whole name
      {"расчет окз 2020-01-01 10-00-00 abcdef.xlsx", false},      // other case
      {"Расчет ОКЗ 2020-01-01 10-00-00 abcdef.XLSX", false},
      {"мой отчет.xlsx", false},
      {"notes.txt", false},
      {"Расчет ОКЗ 2020-01-01 10-00-01 abcdef.xlsx", false},  // made writable: the user's now
      {"Расчет ОКЗ 2020-01-01 10-00-02 abcdef.xlsx", false},  // a link (to precious.txt)
      {"Расчет ОКЗ 2020-01-01 10-00-03 abcdef.xlsx", false},  // a folder
  };
  for (const Entry& e : entries) {
    const QString path = QDir(folder).filePath(QString::fromUtf8(e.name));
    if (QString::fromUtf8(e.name).endsWith(QStringLiteral("02 abcdef.xlsx"))) {
      ASSERT_TRUE(QFile::link(outside, path));
    } else if (QString::fromUtf8(e.name).endsWith(QStringLiteral("03 abcdef.xlsx"))) {
      ASSERT_TRUE(QDir().mkdir(path));
    } else {
      Write(path);
      ::chmod(QFile::encodeName(path).constData(),
              QString::fromUtf8(e.name).contains(QStringLiteral("01 ab")) ? 0644 : 0444);
    }
    SetModified(path, now.addDays(-2));
  }

  EXPECT_EQ(RemoveOldExports(folder, now), 2);
  EXPECT_FALSE(QFileInfo::exists(old.path));
  EXPECT_TRUE(QFileInfo::exists(recent.path));
  for (const Entry& e : entries) {
    EXPECT_EQ(QFileInfo(QDir(folder).filePath(QString::fromUtf8(e.name))).isSymLink() ||
                  QFileInfo::exists(QDir(folder).filePath(QString::fromUtf8(e.name))),
              !e.removed)
        << e.name;
  }
  EXPECT_TRUE(QFileInfo::exists(outside));
  EXPECT_EQ(RemoveOldExports(folder, now.addDays(1)), 1);
  EXPECT_FALSE(QFileInfo::exists(recent.path));
  EXPECT_EQ(RemoveOldExports(dir.filePath(QStringLiteral("missing")), now), 0);
}

}  // namespace
}  // namespace tesmir
