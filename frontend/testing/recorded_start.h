// Reading back what the stand-in converter (argv_recorder) received: tests
// copy it into a folder under the name a command line uses, start it through
// the real desktop, and wait for its records.
#ifndef FRONTEND_TESTING_RECORDED_START_H_
#define FRONTEND_TESTING_RECORDED_START_H_

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextStream>
#include <algorithm>

namespace frontend {

struct RecordedStart {
  QString program;  // the name it was started under
  QString cwd;      // its current folder
  QString input;    // "eof" when standard input was the null device
  QStringList arguments;
};

// Copies the recorder into `folder` as `name`; false when that failed.
inline bool installRecorder(const QString& folder, const QString& name) {
  const QString target = QDir(folder).filePath(name);
  QFile::remove(target);
  return QFile::copy(QStringLiteral(ARGV_RECORDER), target) &&
         QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

inline RecordedStart readRecord(const QString& path) {
  RecordedStart start;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return start;
  const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  for (const QString& line : lines) {
    const qsizetype blank = line.indexOf(u' ');
    const QString key = line.left(blank);
    const QString value = blank < 0 ? QString() : line.mid(blank + 1);
    if (key == u"program")
      start.program = value;
    else if (key == u"cwd")
      start.cwd = value;
    else if (key == u"stdin")
      start.input = value;
    else if (key == u"arg")
      start.arguments.append(value);
  }
  return start;
}

// Waits up to ten seconds for `count` records in `folder` (started processes
// run detached) and returns them; fewer when they did not come.
inline QList<RecordedStart> waitForRecords(const QString& folder, int count) {
  QDir dir(folder);
  QStringList names;
  for (int waited = 0; waited < 10000; waited += 20) {
    names = dir.entryList({QStringLiteral("*.rec")}, QDir::Files, QDir::Name);
    if (names.size() >= count) break;
    QTest::qWait(20);
  }
  QList<RecordedStart> starts;
  for (const QString& name : names) starts.append(readRecord(dir.filePath(name)));
  return starts;
}

// Gives a started process time to write a record that must not come.
inline QStringList recordsAfterAPause(const QString& folder) {
  QTest::qWait(300);
  return QDir(folder).entryList({QStringLiteral("*.rec")}, QDir::Files);
}

}  // namespace frontend

#endif  // FRONTEND_TESTING_RECORDED_START_H_
