// File names that are not UTF-8 keep their bytes through the program's text,
// so a file named in Windows-1251 on another machine is found, read and
// saved under its own name, and shown readable.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "report/file_io.h"
#include "report/file_names.h"

namespace tesmir {
namespace {

// "Отчет" in Windows-1251.
const std::string kOtchetCp1251 = "\xCE\xF2\xF7\xE5\xF2";

TEST(FileNames, BytesComeBackAndValidTextIsQtsOwn) {
  struct Case {
    const char* what;
    std::string bytes;
    bool raw;
    const char* shown;  // UTF-8
  };
  const std::vector<Case> cases = {
      {"ascii", "/tmp/r.csv", false, "/tmp/r.csv"},
      {"utf-8 cyrillic", "/tmp/Отчет.csv", false, "/tmp/Отчет.csv"},
      {"utf-8 outside the BMP", "/tmp/\xF0\x9F\x93\x88.csv", false, "/tmp/\xF0\x9F\x93\x88.csv"},
      {"windows-1251", "/tmp/" + kOtchetCp1251 + ".csv", true, "/tmp/Отчет.csv"},
      {"mixed with valid utf-8", "/д/" + kOtchetCp1251 + "-я.csv", true, "/д/Отчет-я.csv"},
      {"overlong slash", "/tmp/\xC0\xAF", true, "/tmp/АЇ"},
      {"truncated sequence at the end", "/tmp/a\xD0", true, "/tmp/aР"},
      {"encoded surrogate", "/tmp/\xED\xB2\x80", true, "/tmp/нІЂ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString name = DecodeFileName(c.bytes);
    EXPECT_EQ(HasRawBytes(name), c.raw);
    EXPECT_EQ(EncodeFileName(name).toStdString(), c.bytes);
    EXPECT_EQ(ShownFileName(name), QString::fromUtf8(c.shown));
    if (!c.raw) {
      EXPECT_EQ(name, QFile::decodeName(QByteArray::fromStdString(c.bytes)));
    }
  }
}

std::vector<std::string> FolderEntries(const QString& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(QFile::encodeName(folder).constData());
  for (dirent* entry = dir ? ::readdir(dir) : nullptr; entry != nullptr; entry = ::readdir(dir)) {
    const std::string n = entry->d_name;
    if (n != "." && n != "..") names.push_back(n);
  }
  if (dir) ::closedir(dir);
  return names;
}

TEST(FileNames, AFileNamedInWindows1251IsReadAndReplacedUnderItsOwnName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string bytes = QFile::encodeName(dir.path()).toStdString() + "/" + kOtchetCp1251 + ".csv";
  const int fd = ::open(bytes.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0640);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::write(fd, "old", 3), 3);
  ::close(fd);
  ::chmod(bytes.c_str(), 0640);

  const QString name = DecodeFileName(bytes);
  ReadLimits limits;
  limits.maxBytes = 100;
  const Result<QByteArray, FileError> read = ReadRegularFile(name, limits);
  ASSERT_TRUE(read.ok()) << read.error().message.toStdString();
  EXPECT_EQ(read.value(), QByteArray("old"));
  EXPECT_TRUE(IsReadableRegularFile(name));

  ASSERT_TRUE(SaveFileBytes(name, QByteArrayView("new bytes")).ok());
  EXPECT_EQ(FolderEntries(dir.path()), std::vector<std::string>{kOtchetCp1251 + ".csv"})
      << "the same file replaced, no second name, no temporary file left";
  const Result<QByteArray, FileError> again = ReadRegularFile(name, limits);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again.value(), QByteArray("new bytes"));
  struct stat info {};
  ASSERT_EQ(::stat(bytes.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u) << "the old file's mode stays";

  // A new file under such a name; a failure names the file readably.
  const QString fresh = DecodeFileName(QFile::encodeName(dir.path()).toStdString() + "/" + kOtchetCp1251 + "2.csv");
  ASSERT_TRUE(SaveFileBytes(fresh, QByteArrayView("x")).ok());
  EXPECT_EQ(FolderEntries(dir.path()).size(), 2u);
  const QString missing = DecodeFileName("/nonexistent-folder/" + kOtchetCp1251 + ".csv");
  const Result<FileSaved, FileError> refused = SaveFileBytes(missing, QByteArrayView("x"));
  ASSERT_FALSE(refused.ok());
  EXPECT_TRUE(
      refused.error().message.startsWith(QStringLiteral("Не удалось сохранить файл /nonexistent-folder/Отчет.csv.\n")))
      << refused.error().message.toStdString();
  // Qt cannot name these files to remove them with the folder.
  for (const std::string& entry : FolderEntries(dir.path())) {
    ::unlink((QFile::encodeName(dir.path()).toStdString() + "/" + entry).c_str());
  }
}

}  // namespace
}  // namespace tesmir
