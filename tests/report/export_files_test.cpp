#include "report/export_files.h"

#include <gtest/gtest.h>

#include <set>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace tesmir {
namespace {

void Touch(const QString& path, const QDateTime& modified) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

TEST(ExportFiles, DefaultFolderIsTheProgramsOwnUnderTheTemporaryLocation) {
  const QFileInfo folder(DefaultExportFolder());
  EXPECT_EQ(QDir(folder.absolutePath()).canonicalPath(), QDir(QDir::tempPath()).canonicalPath());
  EXPECT_TRUE(folder.fileName().startsWith(QStringLiteral("tesmir-export")));
}

TEST(ExportFiles, EveryExportGetsANewFile) {
  QTemporaryDir dir;
  const QString folder = dir.filePath(QStringLiteral("exports/nested"));  // made on demand
  std::set<QString> paths;
  for (int i = 0; i < 20; ++i) {
    const NewExportFile file = CreateExportFile(folder);
    ASSERT_TRUE(file.error.isEmpty()) << file.error.toStdString();
    EXPECT_TRUE(QFile::exists(file.path));
    EXPECT_EQ(QFileInfo(file.path).absolutePath(), QDir(folder).absolutePath());
    EXPECT_TRUE(file.path.endsWith(QStringLiteral(".xlsx")));
    // The file stays after its creator is gone, so it can be written later.
    QFile f(file.path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    paths.insert(file.path);
  }
  EXPECT_EQ(paths.size(), 20u);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 20);
}

TEST(ExportFiles, FolderThatCannotBeMadeGivesAReason) {
  QTemporaryDir dir;
  const QString blocker = dir.filePath(QStringLiteral("file"));
  Touch(blocker, QDateTime::currentDateTime());
  const NewExportFile file = CreateExportFile(blocker + QStringLiteral("/exports"));
  EXPECT_TRUE(file.path.isEmpty());
  EXPECT_FALSE(file.error.isEmpty());
}

TEST(ExportFiles, ExportsOlderThanADayAreRemoved) {
  QTemporaryDir dir;
  const QDateTime now = QDateTime::currentDateTime();
  const NewExportFile old = CreateExportFile(dir.path());
  const NewExportFile recent = CreateExportFile(dir.path());
  ASSERT_TRUE(old.error.isEmpty() && recent.error.isEmpty());
  Touch(old.path, now.addSecs(-25 * 3600));
  Touch(recent.path, now.addSecs(-23 * 3600));
  // The user's own files in the same folder are never touched, however old.
  const QString foreignXlsx = dir.filePath(QStringLiteral("мой отчет.xlsx"));
  const QString foreignOther = dir.filePath(QStringLiteral("notes.txt"));
  Touch(foreignXlsx, now.addDays(-30));
  Touch(foreignOther, now.addDays(-30));

  EXPECT_EQ(RemoveOldExports(dir.path(), now), 1);
  EXPECT_FALSE(QFile::exists(old.path));
  EXPECT_TRUE(QFile::exists(recent.path));
  EXPECT_TRUE(QFile::exists(foreignXlsx));
  EXPECT_TRUE(QFile::exists(foreignOther));

  EXPECT_EQ(RemoveOldExports(dir.path(), now.addDays(1)), 1);
  EXPECT_FALSE(QFile::exists(recent.path));
  EXPECT_EQ(RemoveOldExports(dir.filePath(QStringLiteral("missing")), now), 0);
}

}  // namespace
}  // namespace tesmir
