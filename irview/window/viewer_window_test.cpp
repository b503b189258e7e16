// The viewer's window offscreen with a fake edge: opening from the command
// line, the dialog, the recent list and drops; overlaying; exports; files
// that cannot be read; stopping an analysis.
#include "irview/window/viewer_window.h"

#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QLegendMarker>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <functional>

#include "irview/plots/decay_plot.h"
#include "irview/plots/spectrum_plot.h"
#include "irview/plots/waveform_plot.h"
#include "irview/testing/fake_viewer_edge.h"
#include "irview/testing/test_responses.h"
#include "irview/window/parameters_page.h"
#include "irview/testing/wait_for.h"

namespace irview {
namespace {

using testing::waitFor;

// The legend as a user sees it: on its page, once laid out.
QStringList legend(ViewerWindow& window, ViewerWindow::Page page) {
  window.showPage(page);
  QTest::qWait(50);
  const TracePlot* plot =
      page == ViewerWindow::Page::Waveform ? static_cast<TracePlot*>(window.waveformPlot())
      : page == ViewerWindow::Page::Decay  ? static_cast<TracePlot*>(window.decayPlot())
                                           : static_cast<TracePlot*>(window.spectrumPlot());
  QStringList names;
  for (QLegendMarker* marker : plot->chart()->legend()->markers())
    if (marker->isVisible()) names.append(marker->label());
  return names;
}

class ViewerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    left = write("left.tim",
                 testing::timFileBytes(testing::decayingNoise(48000, 0.4, 24000, 1), 48000));
    right = write("right.tim",
                  testing::timFileBytes(testing::decayingNoise(48000, 0.3, 24000, 2), 48000));
    hall = write("hall.wav", testing::waveFileBytes({testing::decayingNoise(44100, 0.5, 22050, 3),
                                                     testing::decayingNoise(44100, 0.5, 22050, 4)},
                                                    44100));
    damaged = write("damaged.wav", QByteArray("RIFF\x10\0\0\0WAVEfmt ", 16));
    window = std::make_unique<ViewerWindow>(edge);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = folder.filePath(name);
    EXPECT_TRUE(testing::writeBytes(path, bytes));
    return path;
  }
  bool analysed() {
    return waitFor([this] { return window->settled(); });
  }
  QAction* action(const char* name) {
    return window->findChild<QAction*>(QString::fromLatin1(name));
  }

  QTemporaryDir folder;
  QString left, right, hall, damaged;
  testing::FakeViewerEdge edge;
  std::unique_ptr<ViewerWindow> window;
};

TEST_F(ViewerWindowTest, FilesAreOverlaidWaveformFirstAndTheirAnalysisWhenItArrives) {
  window->openFiles({left, right, hall});
  ASSERT_TRUE(waitFor([this] { return !window->reading(); }));
  EXPECT_EQ(legend(*window, ViewerWindow::Page::Waveform),
            QStringList({"left.tim", "right.tim", "hall.wav L", "hall.wav R"}));
  EXPECT_EQ(window->windowTitle(), "irview - left.tim, right.tim, hall.wav");

  ASSERT_TRUE(analysed());
  EXPECT_TRUE(edge.messages.isEmpty());
  EXPECT_EQ(legend(*window, ViewerWindow::Page::Decay),
            legend(*window, ViewerWindow::Page::Waveform));
  EXPECT_EQ(legend(*window, ViewerWindow::Page::Spectrum),
            legend(*window, ViewerWindow::Page::Waveform));
  QTableWidget* table = window->parametersPage()->table();
  EXPECT_EQ(table->rowCount(), 4 * 8);
  EXPECT_EQ(table->item(0, 0)->text(), "left.tim");
  EXPECT_EQ(table->item(8, 0)->text(), "right.tim");
  EXPECT_EQ(table->rowSpan(8, 0), 8);
  EXPECT_EQ(table->item(2, 1)->text(), "T30 (s)");
  EXPECT_EQ(table->horizontalHeaderItem(table->columnCount() - 2)->text(), "22-11k");
  EXPECT_EQ(table->horizontalHeaderItem(table->columnCount() - 1)->text(), "mid");
  EXPECT_TRUE(
      window->parametersPage()->details()->toPlainText().contains("WAVE (16-bit PCM), 2 channels"));
  EXPECT_FALSE(window->findChild<QProgressBar*>("progress")->isVisible());

  // The band and smoothing choices reach the plots.
  auto* bands = window->findChild<QComboBox*>("bandChoice");
  ASSERT_TRUE(bands->isEnabled());
  EXPECT_EQ(bands->currentText(), "1 kHz");
  bands->setCurrentIndex(bands->count() - 1);
  emit bands->activated(bands->count() - 1);
  EXPECT_EQ(window->decayPlot()->band(), std::nullopt);
  auto* smoothing = window->findChild<QComboBox*>("smoothingChoice");
  emit smoothing->activated(2);
  EXPECT_EQ(window->spectrumPlot()->smoothing(), 2u);

  // Below the table each channel's speech index with its matrix, and the
  // binaural pairs once the files are taken as such: the two mono files in
  // a row, and the stereo file.
  const QString details = window->parametersPage()->details()->toPlainText();
  EXPECT_TRUE(details.contains("  STI ")) << details.toStdString();
  EXPECT_TRUE(details.contains("  m(F) "));
  EXPECT_FALSE(details.contains("binaural pair"));
  window->findChild<QCheckBox*>("binauralChoice")->click();
  const QString pairs = window->parametersPage()->details()->toPlainText();
  EXPECT_TRUE(pairs.contains("binaural pair: left left.tim, right right.tim"))
      << pairs.toStdString();
  EXPECT_TRUE(pairs.contains("binaural pair: left hall.wav channel 1, right channel 2"));
}

// Third octaves on asking: the files are analysed again in thirds, the
// band shown stays at its mid-band frequency, and back.
TEST_F(ViewerWindowTest, ThirdOctavesAnalyseTheFilesAgain) {
  window->openFiles({left, hall});
  ASSERT_TRUE(analysed());
  auto* kinds = window->findChild<QComboBox*>("bandKindChoice");
  auto* bands = window->findChild<QComboBox*>("bandChoice");
  ASSERT_EQ(bands->currentText(), "1 kHz");
  kinds->setCurrentIndex(1);
  emit kinds->activated(1);
  ASSERT_TRUE(analysed());
  ASSERT_EQ(window->files().size(), 2u);
  QTableWidget* table = window->parametersPage()->table();
  QStringList headings;
  for (int c = 0; c < table->columnCount(); ++c)
    headings.append(table->horizontalHeaderItem(c)->text());
  EXPECT_TRUE(headings.contains("1.25k")) << headings.join(' ').toStdString();
  EXPECT_EQ(bands->currentText(), "1 kHz");
  EXPECT_TRUE(window->decayPlot()->chart()->title().startsWith("1 kHz third-octave band"));
  EXPECT_GE(bands->findText("1.25 kHz"), 0);
  kinds->setCurrentIndex(0);
  emit kinds->activated(0);
  ASSERT_TRUE(analysed());
  EXPECT_EQ(bands->currentText(), "1 kHz");
  EXPECT_EQ(bands->findText("1.25 kHz"), -1);
}

TEST_F(ViewerWindowTest, TheOpenDialogTheRecentListAndDropsOpenFiles) {
  edge.recent = {"/gone/old.tim"};
  window = std::make_unique<ViewerWindow>(edge);
  edge.openChoices = {{left}};
  action("openAction")->trigger();
  ASSERT_TRUE(analysed());
  EXPECT_EQ(edge.openDialogs, 1);
  EXPECT_EQ(edge.recent, QStringList({QDir::cleanPath(left), "/gone/old.tim"}));

  // The recent list's first entry opens the file again, as another trace.
  auto* recent = window->findChild<QMenu*>("recentMenu");
  ASSERT_GE(recent->actions().size(), 2);
  EXPECT_TRUE(recent->actions()[0]->text().endsWith("left.tim"));
  recent->actions()[0]->trigger();
  ASSERT_TRUE(analysed());
  EXPECT_EQ(window->waveformPlot()->traces().size(), 2u);

  // A recent file that is gone leaves the list when it fails to open.
  recent->actions()[1]->trigger();
  ASSERT_TRUE(analysed());
  EXPECT_EQ(edge.recent, QStringList({QDir::cleanPath(left)}));
  ASSERT_EQ(edge.messages.size(), 1);
  EXPECT_TRUE(edge.messages[0].text.contains("/gone/old.tim"));

  // Dropped files open like chosen ones.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(right), QUrl::fromLocalFile(hall)});
  QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window.get(), &drop);
  ASSERT_TRUE(analysed());
  EXPECT_EQ(legend(*window, ViewerWindow::Page::Waveform),
            QStringList({"left.tim", "left.tim", "right.tim", "hall.wav L", "hall.wav R"}));
  // The two were read in either order, each after the files before them.
  EXPECT_EQ(QStringList(edge.recent.mid(0, 2)).count(QDir::cleanPath(hall)), 1);
  EXPECT_EQ(QStringList(edge.recent.mid(0, 2)).count(QDir::cleanPath(right)), 1);
}

TEST_F(ViewerWindowTest, AFileThatCannotBeReadIsNamedWithTheReasonAndTheWindowGoesOn) {
  const QString missing = folder.filePath("missing.tim");
  window->openFiles({damaged, left, missing});
  ASSERT_TRUE(analysed());
  ASSERT_EQ(edge.messages.size(), 2);
  EXPECT_TRUE(edge.messages[0].text.contains(damaged)) << edge.messages[0].text.toStdString();
  EXPECT_TRUE(edge.messages[1].text.contains(missing)) << edge.messages[1].text.toStdString();
  EXPECT_GT(edge.messages[1].text.size(), missing.size() + 5);  // a reason follows the name
  EXPECT_EQ(legend(*window, ViewerWindow::Page::Waveform), QStringList({"left.tim"}));
  EXPECT_EQ(window->windowTitle(), "irview - left.tim");
  window->openFiles({right});
  ASSERT_TRUE(analysed());
  EXPECT_EQ(window->waveformPlot()->traces().size(), 2u);
}

TEST_F(ViewerWindowTest, PlotsExportAsPngAndSvgAndTheTableAsCsv) {
  action("exportCsvAction")->trigger();  // nothing analysed yet
  ASSERT_EQ(edge.messages.size(), 1);
  EXPECT_TRUE(edge.exportDialogs.isEmpty());

  window->openFiles({left, hall});
  ASSERT_TRUE(analysed());
  window->showPage(ViewerWindow::Page::Decay);
  edge.exportChoices = {"/out/decay.png", "/out/decay.svg", "/out/table.csv", ""};
  action("exportPngAction")->trigger();
  action("exportSvgAction")->trigger();
  action("exportCsvAction")->trigger();
  action("exportCsvAction")->trigger();  // cancelled: nothing written
  ASSERT_EQ(edge.exportDialogs.size(), 4);
  EXPECT_EQ(edge.exportDialogs[0].suggestedName, "left-decay.png");
  EXPECT_EQ(edge.exportDialogs[1].kind, ExportKind::Svg);
  EXPECT_EQ(edge.exportDialogs[2].suggestedName, "left-parameters.csv");
  EXPECT_EQ(edge.written.size(), 3);
  const QImage png = QImage::fromData(edge.written["/out/decay.png"], "PNG");
  EXPECT_FALSE(png.isNull());
  EXPECT_GE(png.width(), window->decayPlot()->view()->width());
  EXPECT_TRUE(edge.written["/out/decay.svg"].contains("<svg"));
  const QList<QByteArray> csv = edge.written["/out/table.csv"].split('\n');
  EXPECT_EQ(csv[0],
            "file,channel,band_hz,edt_s,t20_s,t30_s,c50_db,c80_db,d50,ts_ms,pnr_db,missing,band,"
            "span_low_hz,span_high_hz,pair,iacc_e,iacc_l,iacc_a,one_minus_iacc_e3,mti,sti,"
            "sti_category,sti_conditions");
  EXPECT_TRUE(csv[1].startsWith(left.toUtf8() + ",1,"));
  // The broadband response of the right channel: no band_hz, its span.
  EXPECT_TRUE(std::any_of(csv.begin(), csv.end(), [this](const QByteArray& line) {
    return line.startsWith(hall.toUtf8() + ",2,,") &&
           line.contains(",broadband,22.3872,11220.2,");
  }));

  // Plots export from the plot pages only.
  window->showPage(ViewerWindow::Page::Parameters);
  EXPECT_FALSE(action("exportPngAction")->isEnabled());
  window->showPage(ViewerWindow::Page::Spectrum);
  EXPECT_TRUE(action("exportSvgAction")->isEnabled());

  // A write that fails is told, naming the file and the reason.
  edge.writeProblem = "No space left on device";
  edge.exportChoices = {"/out/full.png"};
  action("exportPngAction")->trigger();
  ASSERT_EQ(edge.messages.size(), 2);
  EXPECT_EQ(edge.messages[1].text, "/out/full.png: cannot write the file: No space left on device");
}

TEST_F(ViewerWindowTest, StoppingKeepsTheWaveformsAndSaysSo) {
  const QString longer = write(
      "long.tim", testing::timFileBytes(testing::decayingNoise(96000, 2.0, 960000, 5), 96000));
  window->openFiles({longer});
  action("stopAction")->trigger();  // the job reads the file, then stops at its first band
  ASSERT_TRUE(analysed());
  ASSERT_EQ(window->files().size(), 1u);
  EXPECT_EQ(window->files()[0].stage, ViewedFile::Stage::Stopped);
  EXPECT_EQ(window->waveformPlot()->traces().size(), 1u);
  EXPECT_TRUE(window->parametersPage()->details()->toPlainText().contains("analysis stopped"));

  action("closeAllAction")->trigger();
  EXPECT_TRUE(window->files().empty());
  EXPECT_EQ(window->windowTitle(), "irview");
}

}  // namespace
}  // namespace irview
