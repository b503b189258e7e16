#include "frontend/filter_editor/filter_file_io.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace frontend {
namespace {

QByteArray contents(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(FilterFileIo, SaveReplacesTheWholeFileAndLeavesNothingBeside) {
  QTemporaryDir dir;
  const QString path = dir.filePath("hall");  // no extension: saved as named
  writeBytes(path, QByteArray(5000, 'x'));
  FilterBands bands{{31.5, 63, 125, 250, 500, 1000, 2000, 4000, 8000, 16000}, {}};
  bands.gain[1] = -3.5;
  ASSERT_EQ(saveFilterFile(path, bands), std::nullopt);
  EXPECT_EQ(contents(path), QByteArray::fromStdString(*filterFileText(bands)));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"hall"});
  const auto loaded = loadFilterFile(path);
  ASSERT_TRUE(std::holds_alternative<FilterBands>(loaded));
  EXPECT_EQ(std::get<FilterBands>(loaded), bands);
}

TEST(FilterFileIo, FailuresNameTheFileAndWhatIsWrong) {
  const QByteArray kNineteenNumbers =
      "31.5 0 63 0 125 0 250 0 500 0 1000 0 2000 0 4000 0 8000 0 16000";
  QTemporaryDir dir;
  const QString missingFolder = dir.filePath("no such folder/eq.DAT");
  const std::optional<UserMessage> unwritten = saveFilterFile(missingFolder, FilterBands{});
  ASSERT_TRUE(unwritten);
  EXPECT_TRUE(unwritten->text.contains(missingFolder)) << unwritten->text.toStdString();
  EXPECT_TRUE(unwritten->text.contains("cannot be written"));

  struct Case {
    QByteArray bytes;
    const char* expected;
  };
  const Case cases[] = {
      {"31.5 0\r\n63 x1\r\n", "item 2 on line 2 (\"x1\") is not a number."},
      {"31.5 0\r\n", "it holds 2 of the 20 numbers"},
      // Control bytes of a damaged file do not break the message into lines.
      {"31.5 0\r\n63 \x01\x0b\xff\r\n",
       "item 2 on line 2 (\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\") is not a number."},
      // A file of blanks beyond the read limit: only its start is read.
      {QByteArray(kFilterFileReadLimit + 10, ' ') + "1 2 3",
       "its first 65536 bytes hold 0 of the 20 numbers"},
      // The twentieth number cut by the read limit is not taken as read.
      {kNineteenNumbers + QByteArray(kFilterFileReadLimit - 3 - kNineteenNumbers.size(), ' ') +
           "12345 ",
       "its first 65536 bytes hold 19 of the 20 numbers"},
  };
  const QString path = dir.filePath("bad.DAT");
  for (const Case& c : cases) {
    writeBytes(path, c.bytes);
    const auto loaded = loadFilterFile(path);
    ASSERT_TRUE(std::holds_alternative<UserMessage>(loaded)) << c.expected;
    const QString text = std::get<UserMessage>(loaded).text;
    EXPECT_TRUE(text.contains(path) && text.contains(c.expected)) << text.toStdString();
  }
  const auto absent = loadFilterFile(dir.filePath("absent.DAT"));
  ASSERT_TRUE(std::holds_alternative<UserMessage>(absent));
  EXPECT_TRUE(std::get<UserMessage>(absent).text.contains("absent.DAT"));
}

}  // namespace
}  // namespace frontend
