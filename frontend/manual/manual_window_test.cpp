#include "frontend/manual/manual_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextTable>
#include <QToolBar>

namespace frontend {
namespace {

WebArchive archiveOf(const QByteArray& bytes) {
  auto read = readWebArchive(bytes);
  EXPECT_TRUE(std::holds_alternative<WebArchive>(read));
  return std::holds_alternative<WebArchive>(read) ? std::get<WebArchive>(read) : WebArchive{};
}

QByteArray pngOf(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::red);
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return buffer.data();
}

// The images the page shows, by the name the page gives them, as loaded.
QList<QImage> imagesShown(QTextDocument* document) {
  QList<QImage> images;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    for (auto fragment = block.begin(); !fragment.atEnd(); ++fragment) {
      const QTextCharFormat format = fragment.fragment().charFormat();
      if (format.isImageFormat())
        images.append(document->resource(QTextDocument::ImageResource,
                                         QUrl(format.toImageFormat().name()))
                          .value<QImage>());
    }
  return images;
}

class ManualWindowTest : public ::testing::Test {
 protected:
  ManualWindow window{[this](const QUrl& target) { opened.append(target); }};
  QList<QUrl> opened;

  QTextBrowser* browser() { return window.findChild<QTextBrowser*>("manualBrowser"); }
  QLineEdit* findField() { return window.findChild<QLineEdit*>("findField"); }
  QString findStatus() { return window.findChild<QLabel*>("findStatus")->text(); }
  QString selected() { return browser()->textCursor().selectedText(); }
};

TEST_F(ManualWindowTest, ShowsTheManualWithItsTitleHeadingsTablesAndPlacesLinkedTo) {
  QFile file(QStringLiteral(SONABRIX_MANUAL));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  window.showArchive(archiveOf(file.readAll()), "/usr/lib/sonabrix/Manual/MSonabrix.mht");
  window.resize(600, 400);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), "Sonabrix 2.5 - User Manual");

  QTextDocument* document = browser()->document();
  int headings = 0;
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    if (block.blockFormat().headingLevel() > 0) ++headings;
  EXPECT_GE(headings, 10);  // the title and the sections
  int tables = 0;
  for (QTextFrame* frame : document->rootFrame()->childFrames())
    if (qobject_cast<QTextTable*>(frame)) ++tables;
  EXPECT_EQ(tables, 2);

  // The contents link to the sections by their ids.
  EXPECT_EQ(browser()->verticalScrollBar()->value(), 0);
  window.followLink(QUrl("#filter"));
  EXPECT_GT(browser()->verticalScrollBar()->value(), 0);
  const QTextCursor atTop = browser()->cursorForPosition(QPoint(5, 5));
  EXPECT_TRUE(atTop.block().text().contains("filter editor")) << atTop.block().text().toStdString();
  EXPECT_TRUE(opened.isEmpty());
}

TEST_F(ManualWindowTest, ImagesAndPagesComeOutOfTheArchiveAndOtherLinksOpenOutside) {
  const QByteArray archive =
      "Content-Type: multipart/related; boundary=\"b\"\r\n\r\n"
      "--b\r\nContent-Type: text/html\r\nContent-Location: file:///m/index.htm\r\n\r\n"
      "<html><head><title>Index</title></head><body>"
      "<img src=\"cid:dot@m\"><img src=\"pics/wide.png\">"
      "<a href=\"second.htm\">next</a> <a href=\"https://example.org/x\">web</a></body></html>\r\n"
      "--b\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n"
      "Content-ID: <dot@m>\r\n\r\n" + pngOf(3, 2).toBase64() + "\r\n"
      "--b\r\nContent-Type: image/png\r\nContent-Transfer-Encoding: base64\r\n"
      "Content-Location: file:///m/pics/wide.png\r\n\r\n" + pngOf(40, 1).toBase64() + "\r\n"
      "--b\r\nContent-Type: text/html\r\nContent-Location: file:///m/second.htm\r\n\r\n"
      "<p>The second page</p>\r\n"
      "--b--\r\n";
  window.showArchive(archiveOf(archive), "/tmp/m.mht");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.windowTitle(), "Index");
  const QList<QImage> images = imagesShown(browser()->document());
  ASSERT_EQ(images.size(), 2);
  EXPECT_EQ(images[0].size(), QSize(3, 2));
  EXPECT_EQ(images[1].size(), QSize(40, 1));

  window.followLink(QUrl("second.htm"));
  EXPECT_EQ(browser()->toPlainText(), "The second page");
  browser()->backward();
  EXPECT_TRUE(browser()->toPlainText().contains("next"));
  window.followLink(QUrl("https://example.org/x"));
  EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.org/x")});
  window.followLink(QUrl("missing.htm"));  // neither in the archive nor outside
  EXPECT_EQ(opened.size(), 1);
  EXPECT_TRUE(browser()->toPlainText().contains("next"));
}

TEST_F(ManualWindowTest, FindStartsWithCtrlFWrapsRoundAndSaysWhenNothingMatches) {
  window.showArchive(archiveOf("Content-Type: text/html\n\n<p>one apple</p><p>two apples</p>\n"),
                     "/tmp/a.mht");
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  EXPECT_FALSE(window.findChild<QToolBar*>("findBar")->isVisible());
  QTest::keyClick(browser(), Qt::Key_F, Qt::ControlModifier);
  ASSERT_TRUE(findField()->isVisible());
  EXPECT_TRUE(findField()->hasFocus());

  QTest::keyClicks(findField(), "appl");  // found as it is typed
  EXPECT_EQ(selected(), "appl");
  EXPECT_EQ(browser()->textCursor().selectionStart(), 4);
  QTest::keyClick(findField(), Qt::Key_Return);
  EXPECT_EQ(browser()->textCursor().selectionStart(), 14);
  QTest::keyClick(findField(), Qt::Key_Return);  // round the end
  EXPECT_EQ(browser()->textCursor().selectionStart(), 4);
  QTest::keyClick(findField(), Qt::Key_Return, Qt::ShiftModifier);  // back round the start
  EXPECT_EQ(browser()->textCursor().selectionStart(), 14);
  EXPECT_TRUE(findStatus().isEmpty());

  findField()->setText("pear");
  window.findNext();
  EXPECT_TRUE(findStatus().contains("Not found"));
  EXPECT_EQ(selected(), "appl");  // the last match stays selected

  QTest::keyClick(findField(), Qt::Key_Escape);
  EXPECT_FALSE(findField()->isVisible());
}

TEST_F(ManualWindowTest, OpenInBrowserHandsTheArchiveFileOn) {
  window.showArchive(archiveOf("<p>plain page</p>"), "/usr/lib/sonabrix/Manual/MSonabrix.mht");
  window.findChild<QAction*>("openInBrowser")->trigger();
  EXPECT_EQ(opened,
            QList<QUrl>{QUrl::fromLocalFile("/usr/lib/sonabrix/Manual/MSonabrix.mht")});
  EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
}

}  // namespace
}  // namespace frontend
