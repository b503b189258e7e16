#include "frontend/filter_editor/filter_editor.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "frontend/filter_editor/editor_numbers.h"
#include "frontend/filter_editor/response_graph.h"
#include "frontend/qt_desktop/qt_desktop.h"
#include "frontend/testing/recorded_start.h"
#include "frontend/testing/window_fixture.h"
#include "frontend/widgets/twips.h"

namespace frontend {
namespace {

const QByteArray kSampleFile =
    " 31.5  3 \r\n 63 -6.5 \r\n 125  0 \r\n 250  0 \r\n 500  0 \r\n"
    " 1000  0 \r\n 2000  0 \r\n 4000  0 \r\n 8000  0 \r\n 16000  12.25 \r\n";

// The editor on the fake desktop beside the main window of WindowTest.
class FilterEditorTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    desktop.filterEditor = [this](QString& name) { runFilterEditor(desktop, name, window.get()); };
  }

  QString writeFilterFile(const QString& name, const QByteArray& bytes) {
    const QString path = workDir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  std::unique_ptr<FilterEditor> open() {
    return std::make_unique<FilterEditor>(desktop, fileName, window.get());
  }
  template <typename W>
  static W* in(QWidget* editor, const QString& name) {
    W* widget = editor->findChild<W*>(name);
    EXPECT_NE(widget, nullptr) << "no control named " << name.toStdString();
    return widget;
  }
  static QLineEdit* band(QWidget* editor, int k) { return in<QLineEdit>(editor, QString("Text1_%1").arg(k)); }
  static QScrollBar* slider(QWidget* editor, int k) {
    return in<QScrollBar>(editor, QString("VScroll1_%1").arg(k));
  }
  static QLineEdit* limit(QWidget* editor, const char* name) { return in<QLineEdit>(editor, name); }
  static void type(QLineEdit* field, const QString& text, bool enter) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    if (enter) QTest::keyClick(field, Qt::Key_Return);
  }

  // Opens the real editor from the main window's "Octave Filter" box, runs
  // `act` on it inside its modal loop, and returns when it has closed.
  void openFromMainWindow(const std::function<void(FilterEditor*)>& act) {
    QTimer::singleShot(0, window.get(), [this, act] {
      auto* editor = window->findChild<FilterEditor*>("equal");
      ASSERT_NE(editor, nullptr);
      act(editor);
      if (window->findChild<FilterEditor*>("equal") == editor && editor->isVisible()) {
        ADD_FAILURE() << "the editor is still open";
        editor->close();
      }
    });
    QTest::mouseClick(label("Label1"), Qt::LeftButton);
  }

  QString fileName;
};

TEST_F(FilterEditorTest, OpensWithTheStandardBandsOrTheFileNamed) {
  {
    auto editor = open();
    EXPECT_EQ(editor->windowTitle(), "Octave Band Equalizer");
    for (int k = 0; k < kBandCount; ++k) {
      EXPECT_EQ(band(editor.get(), k)->text(), " 0.0");
      EXPECT_EQ(slider(editor.get(), k)->value(), 0);
    }
    EXPECT_EQ(limit(editor.get(), "Topp")->text(), "+50.0");
    EXPECT_EQ(limit(editor.get(), "Bottom")->text(), "-50.0");
    EXPECT_EQ(in<QLabel>(editor.get(), "Label1_9")->text(), "16000");
  }
  fileName = writeFilterFile("eq.DAT", kSampleFile);
  auto editor = open();
  EXPECT_EQ(band(editor.get(), 0)->text(), "+3.");
  EXPECT_EQ(band(editor.get(), 1)->text(), "-6.5");
  EXPECT_EQ(band(editor.get(), 9)->text(), "+12.3");
  EXPECT_EQ(slider(editor.get(), 0)->value(), -positionOf(3, -50, 50));
  EXPECT_EQ(slider(editor.get(), 1)->value(), 1300);
  EXPECT_EQ(in<QLineEdit>(editor.get(), "Textfiltname")->text(), fileName);
  EXPECT_EQ(limit(editor.get(), "Topp")->text(), "+50.0");
  EXPECT_TRUE(desktop.messages.isEmpty());

  // A file that cannot be read: a message, and the standard bands.
  fileName = writeFilterFile("bad.DAT", "31.5 0 63 oops");
  auto bad = open();
  ASSERT_EQ(desktop.messages.size(), 1);
  EXPECT_TRUE(desktop.messages[0].text.contains(fileName));
  EXPECT_EQ(band(bad.get(), 0)->text(), " 0.0");
  EXPECT_EQ(bad->model().bands().frequency, kStandardCentres);
  EXPECT_EQ(fileName, workDir.filePath("bad.DAT"));
}

TEST_F(FilterEditorTest, BandFieldsApplyOnEnterOnly) {
  auto editor = open();
  editor->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
  struct Case {
    const char* typed;
    const char* shown;
    int position;
  };
  const Case cases[] = {{"+80", "+50.0", 10000}, {"-7.33", "-7.3", -1466}, {"abc", "+0.0", 0},
                        {"1 e1", "+10.0", 2000}};
  for (const Case& c : cases) {
    type(band(editor.get(), 2), c.typed, true);
    EXPECT_EQ(band(editor.get(), 2)->text(), c.shown) << c.typed;
    EXPECT_EQ(slider(editor.get(), 2)->value(), -c.position) << c.typed;
  }
  EXPECT_NEAR(editor->model().gain(2), 10, 1e-12);

  // Typed, then left by Tab: nothing applied, the text stays.
  type(band(editor.get(), 3), "12", false);
  QTest::keyClick(band(editor.get(), 3), Qt::Key_Tab);
  EXPECT_FALSE(band(editor.get(), 3)->hasFocus());
  EXPECT_EQ(band(editor.get(), 3)->text(), "12");
  EXPECT_EQ(editor->model().gain(3), 0);
  EXPECT_EQ(slider(editor.get(), 3)->value(), 0);

  // A slider moved by the user re-derives its band: one arrow step is 50.
  slider(editor.get(), 4)->setFocus();
  QTest::keyClick(slider(editor.get(), 4), Qt::Key_Up);
  EXPECT_EQ(band(editor.get(), 4)->text(), "+0.3");
  EXPECT_DOUBLE_EQ(editor->model().gain(4), 0.25);
}

TEST_F(FilterEditorTest, LimitsApplyOnEnterAndOnLeavingAndRefuseToMeet) {
  auto editor = open();
  editor->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(editor.get()));
  type(band(editor.get(), 0), "10", true);

  type(limit(editor.get(), "Topp"), "150", true);
  EXPECT_EQ(limit(editor.get(), "Topp")->text(), "+100.0");
  type(limit(editor.get(), "Topp"), "-20", false);
  band(editor.get(), 5)->setFocus();  // leaving applies it
  EXPECT_EQ(limit(editor.get(), "Topp")->text(), "+10.0");
  EXPECT_EQ(slider(editor.get(), 0)->value(), -kTopPosition);
  type(limit(editor.get(), "Bottom"), "-130", true);
  EXPECT_EQ(limit(editor.get(), "Bottom")->text(), "-100.0");
  EXPECT_EQ(band(editor.get(), 1)->text(), "+0.0");  // moved: rewritten
  EXPECT_EQ(slider(editor.get(), 1)->value(), -positionOf(editor->model().gain(1), -100, 10));
  EXPECT_EQ(desktop.beeps, 1);  // the opening's

  // With every band at the upper limit, a lower limit is lowered to meet it:
  // refused.
  for (int k = 0; k < kBandCount; ++k) type(band(editor.get(), k), "10", true);
  type(limit(editor.get(), "Bottom"), "20", true);
  EXPECT_EQ(desktop.beeps, 2);
  EXPECT_EQ(limit(editor.get(), "Bottom")->text(), "-100.0");
  EXPECT_EQ(editor->model().bottomLimit(), -100);
}

TEST_F(FilterEditorTest, DocksToTheMainWindowAndBeepsOnce) {
  window->show();
  auto editor = open();
  editor->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
  const QRect main = window->frameGeometry();
  EXPECT_EQ(editor->frameGeometry().topLeft(), QPoint(main.left() + main.width(), main.top()));
  EXPECT_EQ(editor->size(), twipsRect(0, 0, 4485, 5685, editor->logicalDpiY()).size());
  editor->hide();
  editor->show();
  EXPECT_EQ(desktop.beeps, 1);
}

TEST_F(FilterEditorTest, TabOrderAndMinimisingFollowTheDesign) {
  auto editor = open();
  QStringList expected = {"VScroll1_0", "VScroll1_1", "Text1_0",    "Text1_1",
                          "Textfiltname", "Commbrowse", "Topp",     "Bottom",
                          "Command3D2", "Command3D1"};
  for (int k = 2; k < kBandCount; ++k) expected.append(QString("VScroll1_%1").arg(k));
  for (int k = 2; k < kBandCount; ++k) expected.append(QString("Text1_%1").arg(k));
  QStringList order;
  QWidget* widget = slider(editor.get(), 0);
  for (int i = 0; i < expected.size(); ++i, widget = widget->nextInFocusChain()) {
    while (widget->focusPolicy() == Qt::NoFocus || !widget->isEnabled())
      widget = widget->nextInFocusChain();
    order.append(widget->objectName());
  }
  EXPECT_EQ(order, expected);

  window->show();
  editor->show();
  editor->showMinimized();
  EXPECT_TRUE(window->isMinimized());
  editor->showNormal();
  EXPECT_FALSE(window->isMinimized());
}

TEST_F(FilterEditorTest, MainWindowMarksItsBoxAfterEachWayOfClosing) {
  window->selectMode(Mode::veratim);
  const QString path = writeFilterFile("eq.DAT", kSampleFile);

  desktop.fileChoices = {path};
  openFromMainWindow([](FilterEditor* editor) {
    in<QPushButton>(editor, "Commbrowse")->click();
    in<QPushButton>(editor, "Command3D1")->click();  // Cancel, also after Browse
  });
  EXPECT_TRUE(window->filterFileName().isEmpty());
  EXPECT_TRUE(label("Label2")->text().isEmpty());

  openFromMainWindow([&](FilterEditor* editor) {
    in<QLineEdit>(editor, "Textfiltname")->setText(path);
    editor->close();  // the close box keeps the typed name
  });
  EXPECT_EQ(window->filterFileName(), path);
  EXPECT_EQ(label("Label2")->text(), kMarkerOn);

  QTest::mouseClick(label("Label2"), Qt::LeftButton);  // off, the name kept
  const QString saved = workDir.filePath("saved");
  desktop.fileChoices = {workDir.filePath("no such folder/x.DAT"), saved};
  openFromMainWindow([&](FilterEditor* editor) {
    EXPECT_EQ(band(editor, 1)->text(), "-6.5");  // opened with the file
    in<QPushButton>(editor, "Command3D2")->click();  // fails: stays open
    EXPECT_TRUE(editor->isVisible());
    EXPECT_EQ(window->filterFileName(), path);
    ASSERT_EQ(desktop.messages.size(), 1);
    EXPECT_TRUE(desktop.messages[0].text.contains("no such folder"));
    in<QPushButton>(editor, "Command3D2")->click();
  });
  EXPECT_EQ(window->filterFileName(), saved);
  EXPECT_EQ(label("Label2")->text(), kMarkerOn);
  QFile file(saved);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), kSampleFile);  // its gains lie on the slider scale

  const FileDialogRequest expected{FileDialogKind::SaveAs, "Filter File (*.DAT)|*.DAT", path, ""};
  ASSERT_EQ(desktop.fileDialogs.size(), 3);
  EXPECT_EQ(desktop.fileDialogs[0].initialName, "*.DAT");
  EXPECT_EQ(desktop.fileDialogs[1], expected);
}

TEST_F(FilterEditorTest, ClosesWithTheMainWindow) {
  window->show();
  bool closedInside = false;
  QTimer::singleShot(0, window.get(), [&] {
    window->close();
    closedInside = window->findChild<FilterEditor*>("equal") == nullptr ||
                   !window->findChild<FilterEditor*>("equal")->isVisible();
  });
  QTest::mouseClick(label("Label1"), Qt::LeftButton);  // returns once the editor is gone
  EXPECT_TRUE(closedInside);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->findChild<FilterEditor*>("equal"), nullptr);
}

TEST_F(FilterEditorTest, GraphDrawsTheCurveAtTheBandPointsAndTheGrid) {
  ResponseGraph graph;
  const double dpi = graph.logicalDpiY();
  graph.resize(twipsRect(0, 0, 3612, 3612, dpi).size());
  std::array<int, kBandCount> positions{};
  positions[3] = 10000;
  positions[6] = -5000;
  graph.setPositions(positions);
  const QImage image = graph.grab().toImage();
  const auto colour = [&](QPointF twips) { return image.pixelColor(graph.toPixels(twips)); };
  for (int k : {3, 6}) EXPECT_EQ(colour(curvePointTwips(k, positions[k])), kCurveRed) << k;
  EXPECT_EQ(colour(curvePointTwips(3, 10000)), kCurveRed);  // the top end, y = 300
  // Grid lines at an end, the middle and a quarter, away from the curve.
  for (int y : {3240, 1776, 1020}) EXPECT_EQ(colour({3500, double(y)}), QColor(Qt::black)) << y;
  EXPECT_EQ(colour({3500, 1100}), kGraphYellow);
}

TEST_F(FilterEditorTest, SimulationConversionSendsTheSavedFilterLast) {
  QtDesktop realStart;
  desktop.processStarter = &realStart;
  ASSERT_TRUE(installRecorder(workDir.path(), "fenwix"));
  window->selectMode(Mode::veratim);
  const QString saved = workDir.filePath("hall eq.DAT");
  desktop.fileChoices = {saved};
  openFromMainWindow([](FilterEditor* editor) {
    type(band(editor, 0), "-3", true);
    in<QPushButton>(editor, "Command3D2")->click();
  });
  field("Wav")->setText("hall._03");
  field("TimLeft")->setText("out");
  QTest::mouseClick(button("Command3D2"), Qt::LeftButton);
  const QList<RecordedStart> starts = waitForRecords(workDir.path(), 1);
  ASSERT_EQ(starts.size(), 1);
  EXPECT_EQ(starts[0].arguments.last(), saved);
  QDir::setCurrent(QDir::tempPath());
}

}  // namespace
}  // namespace frontend
