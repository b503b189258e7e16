// The window's Listen panel offscreen, with a fake edge and a fake sound
// output: the responses of the files opened (a .TIM pair is one), the keys
// 1 to 9 and Space, the dry signal's dialog, drop and recent list, Export,
// and the line in the status bar when there is no sound.
#include "irview/window/listen_panel.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <cmath>
#include <functional>

#include "irview/testing/fake_audio_output.h"
#include "irview/testing/fake_viewer_edge.h"
#include "irview/testing/test_responses.h"
#include "irview/window/viewer_window.h"
#include "irview/testing/wait_for.h"

namespace irview {
namespace {

using testing::waitFor;

class ListenPanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    left = write("left.tim", testing::timFileBytes(testing::decayingNoise(44100, 0.4, 8820, 1), 44100));
    right = write("right.tim", testing::timFileBytes(testing::decayingNoise(44100, 0.3, 8820, 2), 44100));
    hall = write("hall.wav", testing::waveFileBytes({testing::decayingNoise(44100, 0.5, 22050, 3),
                                                     testing::decayingNoise(44100, 0.5, 22050, 4)},
                                                    44100));
    std::vector<float> dryNoise = testing::decayingNoise(44100, 0.5, 88200, 5, 0.0);
    for (std::size_t i = 0; i < dryNoise.size(); ++i)
      dryNoise[i] = static_cast<float>(0.5 * std::sin(0.01 * static_cast<double>(i)));
    dry = write("dry.wav", testing::waveFileBytes({dryNoise}, 44100));
  }
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    EXPECT_TRUE(testing::writeBytes(path, bytes));
    return path;
  }
  void show(ViewerWindow& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QStringList buttonTexts(ViewerWindow& window) {
    QStringList texts;
    for (QRadioButton* button : window.listenPanel()->responseButtons())
      texts.append(button->text());
    return texts;
  }

  QTemporaryDir folder;
  QString left, right, hall, dry;
  testing::FakeViewerEdge edge;
  testing::FakeAudioOutput output;
};

TEST_F(ListenPanelTest, TheKeysPickResponsesAndSpacePlaysAndStops) {
  ViewerWindow window(edge, output);
  show(window);
  EXPECT_EQ(window.audioStatus(), QString());
  window.openFiles({left, right, hall});
  ASSERT_TRUE(waitFor([&] { return window.listenSession().responseCount() == 2; }));
  EXPECT_EQ(buttonTexts(window), QStringList({"1 left.tim + right.tim", "2 hall.wav"}));
  EXPECT_FALSE(window.listenPanel()->playButton()->isEnabled()) << "no dry signal yet";

  edge.dryChoices.push_back(dry);
  window.findChild<QAction*>("openDryAction")->trigger();
  EXPECT_EQ(edge.dryDialogs, 1);
  EXPECT_EQ(window.listenSession().drySignal(), dry);
  EXPECT_EQ(window.findChild<QLabel*>("dryName")->text(), "dry.wav");
  EXPECT_EQ(edge.recentDry, QStringList({QDir::cleanPath(dry)}));
  EXPECT_TRUE(window.findChild<QCheckBox*>("matchLoudness")->isChecked()) << "on by default";

  QTest::keyClick(&window, Qt::Key_2);
  EXPECT_EQ(window.listenSession().chosen(), 1);
  EXPECT_TRUE(window.listenPanel()->responseButtons()[1]->isChecked());
  QTest::keyClick(&window, Qt::Key_9);  // no ninth response
  EXPECT_EQ(window.listenSession().chosen(), 1);

  QTest::keyClick(&window, Qt::Key_Space);
  ASSERT_TRUE(waitFor([&] { return output.running; }));
  EXPECT_EQ(window.listenPanel()->playButton()->text(), "Stop");
  ASSERT_EQ(output.pull(4410), 4410u);
  QTest::keyClick(&window, Qt::Key_1);  // while playing: a crossfade
  EXPECT_EQ(window.listenSession().chosen(), 0);
  ASSERT_EQ(output.pull(4410), 4410u);
  EXPECT_EQ(window.listenSession().mixer().fadeStart(), 4410u);
  QTest::keyClick(&window, Qt::Key_Space);
  EXPECT_FALSE(output.running);
  EXPECT_EQ(window.listenPanel()->playButton()->text(), "Play");

  // Close All takes the responses away.
  window.findChild<QAction*>("closeAllAction")->trigger();
  EXPECT_EQ(window.listenSession().responseCount(), 0);
  EXPECT_TRUE(window.listenPanel()->responseButtons().isEmpty());
}

TEST_F(ListenPanelTest, AFileDroppedOnThePanelIsTheDrySignalAndExportWritesIt) {
  ViewerWindow window(edge, output);
  show(window);
  window.openFiles({hall});
  ASSERT_TRUE(waitFor([&] { return window.listenSession().responseCount() == 1; }));
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(dry)});
  ListenPanel* panel = window.listenPanel();
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(panel, &drop);
  EXPECT_EQ(window.listenSession().drySignal(), dry);
  EXPECT_EQ(window.files().size(), 1u) << "the drop on the panel opens no response";
  EXPECT_EQ(window.recentDrySignals(), QStringList({QDir::cleanPath(dry)}));

  ASSERT_TRUE(waitFor([&] { return window.listenSession().computed(0); }));
  const QString out = folder.filePath("out.wav");
  edge.exportChoices.push_back(out);
  window.findChild<QAction*>("exportAuralisationAction")->trigger();
  ASSERT_EQ(edge.exportDialogs.size(), 1);
  EXPECT_EQ(edge.exportDialogs[0].kind, ExportKind::Audio);
  EXPECT_EQ(edge.exportDialogs[0].suggestedName, "dry-hall.wav");
  EXPECT_TRUE(edge.messages.isEmpty());
  // 2 s + 0.5 s - 1 frame, stereo, 24-bit, after a 44-byte header.
  EXPECT_EQ(QFile(out).size(), 44 + (88200 + 22050 - 1) * 2 * 3);
}

TEST_F(ListenPanelTest, WithoutSoundTheStatusBarSaysSoAndTheViewerWorks) {
  output.unavailableReason = "No audio output: no sound device or sound server was found";
  ViewerWindow window(edge, output);
  show(window);
  EXPECT_EQ(window.audioStatus(), output.unavailableReason + ": Listen cannot play");
  EXPECT_TRUE(window.findChild<QLabel*>("audioStatus")->isVisible());
  window.openFiles({hall});
  ASSERT_TRUE(waitFor([&] { return window.settled(); }));
  window.openDrySignal(dry);
  EXPECT_FALSE(window.listenPanel()->playButton()->isEnabled());
  QTest::keyClick(&window, Qt::Key_Space);
  EXPECT_EQ(output.starts, 0);
  EXPECT_TRUE(edge.messages.isEmpty()) << "no box: the status bar tells";

  // A window given no output has no sound either.
  testing::FakeViewerEdge other;
  ViewerWindow plain(other);
  EXPECT_TRUE(plain.audioStatus().startsWith("No audio output")) << plain.audioStatus().toStdString();
}

}  // namespace
}  // namespace irview
