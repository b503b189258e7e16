// Converters run without a terminal: how each ended reaches the user, a
// failure in a message box that blocks nothing, a success in a desktop
// notification on the session bus, here a private one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "frontend/desktop/messages.h"
#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/scoped_environment.h"

namespace frontend {
namespace {

// Writes an executable shell script `name` into `folder` and returns its path.
QString writeScript(const QTemporaryDir& folder, const QString& name, const QByteArray& body) {
  const QString path = folder.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write("#!/bin/sh\n" + body) < 0) return {};
  file.close();
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  return path;
}

// The message boxes shown, waited for until there are `count` of them (up
// to twenty seconds).
QList<QMessageBox*> waitForBoxes(int count) {
  QList<QMessageBox*> boxes;
  for (int waited = 0; waited < 20000; waited += 20) {
    boxes.clear();
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
        boxes.append(box);
    if (boxes.size() >= count) break;
    QTest::qWait(20);
  }
  return boxes;
}

TEST(OutcomeTest, FailuresShowStatusAndLastLinesInBoxesThatBlockNothing) {
  QTemporaryDir folder;
  const QString failing = writeScript(
      folder, "failing",
      "i=1; while [ $i -le 15 ]; do echo \"line $i\"; i=$((i+1)); done\n"
      "echo 'run-time error: cannot open x.WAV' >&2\nexit 3\n");
  const QString killed = writeScript(folder, "killed", "kill -9 $$\n");
  const QString silent = writeScript(folder, "silent", "exit 2\n");
  QtDesktop desktop;  // no display: the output is captured
  for (const QString& program : {failing, killed, silent})
    ASSERT_TRUE(desktop.startProgram(program, {}, folder.path()));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  QList<QMessageBox*> boxes = waitForBoxes(3);
  ASSERT_EQ(boxes.size(), 3);
  std::sort(boxes.begin(), boxes.end(),
            [](QMessageBox* a, QMessageBox* b) { return a->text() < b->text(); });
  QStringList lastLines;
  for (int i = 5; i <= 15; ++i) lastLines << QStringLiteral("line %1").arg(i);
  lastLines << "run-time error: cannot open x.WAV";
  const UserMessage expected = conversionFailedMessage(failing, 3, lastLines);
  EXPECT_EQ(boxes[0]->windowTitle(), expected.title);
  EXPECT_EQ(boxes[0]->text().toStdString(), expected.text.toStdString());
  EXPECT_TRUE(boxes[0]->text().startsWith("failing ended with exit status 3.")) << boxes[0]->text().toStdString();
  EXPECT_EQ(boxes[0]->icon(), QMessageBox::Critical);
  EXPECT_FALSE(boxes[0]->isModal());
  // The shell says "Killed".
  EXPECT_TRUE(boxes[1]->text().startsWith("killed was ended by signal 9 (exit status 137)."))
      << boxes[1]->text().toStdString();
  EXPECT_EQ(boxes[2]->text().toStdString(), "silent ended with exit status 2. It printed nothing.");
  for (QMessageBox* box : boxes) box->close();
}

TEST(OutcomeTest, AProgramThatIsNotThereDoesNotStart) {
  QTemporaryDir folder;
  QtDesktop desktop;
  EXPECT_FALSE(desktop.startProgram(folder.filePath("absent"), {}, folder.path()));
  const QString script = writeScript(folder, "present", "exit 0\n");
  EXPECT_FALSE(desktop.startProgram(script, {}, folder.filePath("no such folder")));
}

TEST(OutcomeTest, AConverterOutlivesTheFrontEndAndNothingIsLeftBehind) {
  QTemporaryDir folder, temporary;
  const ScopedEnvironment tmpdir("TMPDIR", temporary.path().toUtf8());
  const QString slow = writeScript(folder, "slow", "sleep 1\necho written > out.txt\necho done\n");
  {
    QtDesktop desktop;
    ASSERT_TRUE(desktop.startProgram(slow, {}, folder.path()));
    EXPECT_EQ(QDir(temporary.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
  }  // the front end ends while the converter runs
  for (int waited = 0; waited < 20000 && !QFile::exists(folder.filePath("out.txt")); waited += 50)
    QTest::qWait(50);
  EXPECT_TRUE(QFile::exists(folder.filePath("out.txt"))) << "the converter did not run to its end";
  QTest::qWait(200);  // its script has given up the status by now
  EXPECT_TRUE(QDir(temporary.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

// A stand-in notification service: records the notices it gets.
class NotificationService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

 public:
  QStringList notices;  // "summary | body | timeout"

 public slots:
  uint Notify(const QString&, uint, const QString&, const QString& summary, const QString& body,
              const QStringList&, const QVariantMap&, int timeout) {
    notices.append(QStringLiteral("%1 | %2 | %3").arg(summary, body).arg(timeout));
    return uint(notices.size());
  }
};

// A private session bus for the test.
class PrivateBus {
 public:
  ~PrivateBus() {
    daemon_.kill();
    daemon_.waitForFinished(5000);
  }
  // The bus address; empty when dbus-daemon is missing or did not start.
  QString start() {
    const QString program = QStandardPaths::findExecutable("dbus-daemon");
    if (program.isEmpty()) return {};
    daemon_.start(program, {"--session", "--nofork", "--print-address=1"});
    if (!daemon_.waitForStarted(5000)) return {};
    for (int waited = 0; waited < 10000 && !daemon_.canReadLine(); waited += 50)
      daemon_.waitForReadyRead(50);
    return QString::fromUtf8(daemon_.readLine().trimmed());
  }

 private:
  QProcess daemon_;
};

TEST(OutcomeTest, ASuccessIsADesktopNotificationAndNothingWithoutAService) {
  PrivateBus bus;
  const QString address = bus.start();
  if (address.isEmpty()) GTEST_SKIP() << "needs dbus-daemon (scripts/install-deps.sh installs it)";
  QDBusConnection service = QDBusConnection::connectToBus(address, "notification-service");
  QDBusConnection client = QDBusConnection::connectToBus(address, "sonabrix-client");
  ASSERT_TRUE(service.isConnected() && client.isConnected());

  QTemporaryDir folder;
  const QString converter = writeScript(folder, "irgen", "echo converted\n");
  QtDesktop desktop;
  desktop.notifier().useBus(client);

  // No service on the bus yet: nothing is shown, nothing is started.
  ASSERT_TRUE(desktop.startProgram(converter, {}, folder.path()));
  QTest::qWait(1000);
  EXPECT_TRUE(waitForBoxes(0).isEmpty());

  NotificationService notifications;
  ASSERT_TRUE(service.registerObject("/org/freedesktop/Notifications", &notifications,
                                     QDBusConnection::ExportAllSlots));
  ASSERT_TRUE(service.registerService("org.freedesktop.Notifications"));
  ASSERT_TRUE(desktop.startProgram(converter, {"a"}, folder.path()));
  for (int waited = 0; waited < 20000 && notifications.notices.isEmpty(); waited += 20)
    QTest::qWait(20);
  const DesktopNotice notice = conversionFinishedNotice(converter, folder.path());
  EXPECT_EQ(notifications.notices,
            QStringList{QStringLiteral("%1 | %2 | %3")
                            .arg(notice.summary, notice.body)
                            .arg(DesktopNotifier::kShownMilliseconds)});
  EXPECT_EQ(notice.summary, "irgen ended successfully");
  EXPECT_TRUE(waitForBoxes(0).isEmpty());
  QDBusConnection::disconnectFromBus("notification-service");
  QDBusConnection::disconnectFromBus("sonabrix-client");
}

}  // namespace
}  // namespace frontend

#include "outcome_test.moc"
