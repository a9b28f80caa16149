// The one save helper and the one reader every file of the program goes
// through: a failed last write never slips past, the old file stays, new
// files get the permissions asked for, and readers never block or flood.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <QTemporaryDir>

#include "report/feeder_file.h"
#include "report/file_io.h"

namespace tesmir {
namespace {

// A device that takes `capacity` bytes and refuses the write that would go
// past them, as a disk does when it is full; the error is seen only when the
// failing write is checked.
class FillingDevice final : public QIODevice {
 public:
  explicit FillingDevice(qint64 capacity) : capacity_(capacity) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  QByteArray taken;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    // Accepts at most 7 bytes a call, so the helper has to keep writing.
    const qint64 part = std::min<qint64>(size, 7);
    if (taken.size() + part > capacity_) {
      setErrorString(QStringLiteral("No space left on device"));
      return -1;
    }
    taken.append(data, part);
    return part;
  }

 private:
  qint64 capacity_;
};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

TEST(FileIo, EveryWriteIsCheckedTheLastOneToo) {
  const QByteArray bytes(100, 'x');
  FillingDevice roomy(100);
  EXPECT_TRUE(WriteAllBytes(roomy, bytes, QStringLiteral("/d/a.tsm")).ok());
  EXPECT_EQ(roomy.taken, bytes) << "written in parts, every part kept";
  FillingDevice full(99);  // the last part does not fit
  const Result<FileSaved, FileError> written = WriteAllBytes(full, bytes, QStringLiteral("/d/a.tsm"));
  ASSERT_FALSE(written.ok());
  EXPECT_EQ(written.error().kind, FileErrorKind::Write);
  EXPECT_EQ(written.error().message, QStringLiteral("Не удалось сохранить файл /d/a.tsm.\nNo space left on device"));
}

// A disk a few hundred bytes short: the real thing where the machine lets
// the test mount a small tmpfs, else the test is skipped (the file size limit
// test below stands in).
TEST(FileIo, FullDiskLeavesTheOldFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QByteArray mountPoint = QFile::encodeName(dir.path());
  if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0) {
    GTEST_SKIP() << "cannot mount a tmpfs here";
  }
  const QString path = dir.filePath(QStringLiteral("схема.tsm"));
  const QByteArray old(1000, 'o');
  EXPECT_TRUE(SaveFileBytes(path, old).ok());
  const Result<FileSaved, FileError> saved = SaveFileBytes(path, QByteArray(70 * 1024, 'n'));
  const QByteArray after = ReadAll(path);
  const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
  ::umount(mountPoint.constData());
  ASSERT_FALSE(saved.ok());
  EXPECT_TRUE(saved.error().message.startsWith(QStringLiteral("Не удалось сохранить файл %1.\n").arg(path)))
      << saved.error().message.toStdString();
  EXPECT_EQ(after, old);
  EXPECT_EQ(left, QStringList{QStringLiteral("схема.tsm")}) << "no temporary file is left";
}

// A file size limit makes the disk "full" after 1 KiB, even for root.
template <class Save>
auto WithFileSizeLimit(rlim_t bytes, Save&& save) {
  rlimit old{};
  EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = bytes;
  EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto result = save();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  return result;
}

TEST(FileIo, FeederSaveOnAFullDiskKeepsTheOldFileAndSaysSo) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("a.tsm"));
  FeederData small;
  small.scheme = DefaultSchemeInput();
  ASSERT_TRUE(SaveFeederFile(path, small).ok());
  const QByteArray old = ReadAll(path);
  FeederData big = small;
  big.scheme.lines[0].kind = std::string(3000, 'k');
  const Result<FileSaved, FileError> saved =
      WithFileSizeLimit(static_cast<rlim_t>(old.size() + 100), [&] { return SaveFeederFile(path, big); });
  ASSERT_FALSE(saved.ok());
  EXPECT_TRUE(saved.error().message.startsWith(QStringLiteral("Не удалось сохранить файл %1.\n").arg(path)))
      << saved.error().message.toStdString();
  EXPECT_EQ(ReadAll(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.tsm")});
}

TEST(FileIo, NewFilesGetThePermissionsAskedForOldOnesKeepTheirs) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const mode_t oldMask = ::umask(022);
  const QString kept = dir.filePath(QStringLiteral("kept.conf"));
  const QString plain = dir.filePath(QStringLiteral("plain.csv"));
  SaveOptions privateFile;
  privateFile.newFilePermissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
  EXPECT_TRUE(SaveFileBytes(kept, "a", privateFile).ok());
  EXPECT_TRUE(SaveFileBytes(plain, "a").ok());
  const auto mode = [](const QString& path) {
    struct stat info {};
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    return info.st_mode & 0777;
  };
  EXPECT_EQ(mode(kept), 0600u);
  EXPECT_EQ(mode(plain), 0644u) << "documents follow the umask";
  ASSERT_EQ(::chmod(QFile::encodeName(plain).constData(), 0640), 0);
  EXPECT_TRUE(SaveFileBytes(plain, "b", privateFile).ok());
  EXPECT_EQ(mode(plain), 0640u) << "an existing file keeps its mode";
  ::umask(oldMask);
}

TEST(FileIo, ReaderTakesOnlyBoundedRegularFilesWithoutBlocking) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString fifo = dir.filePath(QStringLiteral("pipe.tsm"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString file = dir.filePath(QStringLiteral("f.tsm"));
  ASSERT_TRUE(SaveFileBytes(file, "12345").ok());
  struct Case {
    QString path;
    qint64 limit;
    FileErrorKind kind;
    QString text;
  };
  const Case cases[] = {
      {fifo, 10, FileErrorKind::NotRegular, QStringLiteral("Не удалось открыть файл %1.\nЭто не обычный файл")},
      {dir.path(), 10, FileErrorKind::NotRegular, QStringLiteral("Не удалось открыть файл %1.")},
      {QStringLiteral("/dev/zero"), 10, FileErrorKind::NotRegular, QStringLiteral("Не удалось открыть файл %1.")},
      {file, 4, FileErrorKind::TooLarge, QStringLiteral("Не удалось открыть файл %1.\nФайл больше 4 байт")},
      {dir.filePath(QStringLiteral("missing")), 10, FileErrorKind::Open,
       QStringLiteral("Не удалось открыть файл %1.\n")},
  };
  for (const Case& c : cases) {
    const Result<QByteArray, FileError> read = ReadRegularFile(c.path, ReadLimits{c.limit, {}, {}});
    ASSERT_FALSE(read.ok()) << c.path.toStdString();
    EXPECT_EQ(read.error().kind, c.kind) << c.path.toStdString();
    EXPECT_TRUE(read.error().message.startsWith(c.text.arg(c.path))) << read.error().message.toStdString();
  }
  const Result<QByteArray, FileError> read = ReadRegularFile(file, ReadLimits{5, {}, {}});
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(*read, "12345");
  EXPECT_TRUE(IsReadableRegularFile(file));
  EXPECT_FALSE(IsReadableRegularFile(fifo));
  EXPECT_FALSE(IsReadableRegularFile(dir.path()));
}

}  // namespace
}  // namespace tesmir
