// Help through the real desktop: the manual in the program's own window,
// with no browser needed, and "Open in browser" through xdg-open, whose
// absence or failure is told.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include "frontend/desktop/messages.h"
#include "frontend/manual/manual_window.h"
#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/scoped_environment.h"
#include "frontend/testing/window_fixture.h"

namespace frontend {
namespace {

class ManualHelpTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(programs.isValid());
    // Help finds the manual beside the program.
    environment.besideDir = QFileInfo(QStringLiteral(SONABRIX_BUILT_MANUAL)).path() + "/..";
    window = std::make_unique<MainWindow>(realDesktop, environment);
  }
  // An xdg-open that ends with `status` on the PATH, or none.
  void installOpener(std::optional<int> status) {
    if (!status) return;
    const QString path = programs.filePath("xdg-open");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("#!/bin/sh\necho \"$1\" > \"%1/opened\"\nexit %2\n")
                   .arg(programs.path())
                   .arg(*status)
                   .toUtf8());
    file.close();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }
  ManualWindow* manual() { return qobject_cast<ManualWindow*>(realDesktop.manualWindow()); }
  void clickHelp() { QTest::mouseClick(button("SSCommand1"), Qt::LeftButton); }

  QTemporaryDir programs;
  // No browser, no xdg-open: only what this test puts there.
  ScopedEnvironment path{"PATH", programs.path().toUtf8()};
  QtDesktop realDesktop;
};

QList<QMessageBox*> visibleBoxes() {
  QList<QMessageBox*> boxes;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) boxes.append(box);
  return boxes;
}

TEST_F(ManualHelpTest, HelpShowsTheManualInItsOwnWindowWithoutABrowser) {
  clickHelp();
  ASSERT_NE(manual(), nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(manual()));
  EXPECT_EQ(manual()->windowTitle(), "Sonabrix 2.5 - User Manual");
  EXPECT_TRUE(manual()->findChild<QTextBrowser*>()->toPlainText().contains("Octave Band Equalizer"));
  EXPECT_EQ(QFileInfo(manual()->archivePath()).canonicalFilePath(),
            QFileInfo(QStringLiteral(SONABRIX_BUILT_MANUAL)).canonicalFilePath());
  EXPECT_TRUE(visibleBoxes().isEmpty());

  // Help again brings the same window back.
  ManualWindow* first = manual();
  manual()->hide();
  clickHelp();
  EXPECT_EQ(manual(), first);
  EXPECT_TRUE(manual()->isVisible());
}

TEST_F(ManualHelpTest, OpenInBrowserSaysSoWhenTheDefaultViewerIsMissingOrFails) {
  const struct {
    std::optional<int> opener;  // xdg-open's exit status; none installed
    bool told;
  } cases[] = {{std::nullopt, true}, {3, true}, {0, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.opener ? c.opener.value() : -1);
    QFile::remove(programs.filePath("xdg-open"));
    QFile::remove(programs.filePath("opened"));
    installOpener(c.opener);
    clickHelp();
    ASSERT_NE(manual(), nullptr);
    manual()->openInBrowser();
    if (c.opener) {
      // The stand-in ran with the manual's path.
      for (int waited = 0; waited < 10000 && !QFile::exists(programs.filePath("opened"));
           waited += 20)
        QTest::qWait(20);
      QFile opened(programs.filePath("opened"));
      ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
      EXPECT_EQ(opened.readAll().trimmed(), manual()->archivePath().toUtf8());
    }
    QList<QMessageBox*> boxes;
    for (int waited = 0; waited < (c.told ? 10000 : 1000) && boxes.isEmpty(); waited += 20) {
      QTest::qWait(20);
      boxes = visibleBoxes();
    }
    if (!c.told) {
      EXPECT_TRUE(boxes.isEmpty());
      continue;
    }
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0]->text(), manualNotOpenedMessage(manual()->archivePath()).text);
    EXPECT_FALSE(boxes[0]->isModal());
    boxes[0]->close();
    QTest::qWait(0);
  }
}

TEST_F(ManualHelpTest, AManualThatCannotBeReadIsNamedWithTheReason) {
  QTemporaryDir folder;
  QFile damaged(folder.filePath("MSonabrix.mht"));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
  damaged.write("Content-Type: multipart/related; boundary=x\n\n--x\nContent-Type: image/png\n\n");
  damaged.close();
  const struct {
    QString path;
    QString reason;
  } cases[] = {{folder.filePath("MSonabrix.mht"), "it holds no HTML page"},
               {folder.filePath("absent.mht"), "it is not there"}};
  for (const auto& c : cases) {
    QString shown;
    QTimer::singleShot(0, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        shown = box->text();
        box->accept();
      }
    });
    realDesktop.openManual(c.path);
    EXPECT_EQ(shown, manualUnreadableMessage(c.path, c.reason).text);
    EXPECT_EQ(manual(), nullptr);
  }
}

}  // namespace
}  // namespace frontend
