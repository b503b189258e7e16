// The three plots over traces of real analyses: their series and legends,
// home ranges, decimation that follows the zoom, the band and smoothing
// choices, and the pictures they export.
#include <gtest/gtest.h>

#include "irview/testing/qt_printers.h"

#include <QChart>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QTest>

#include "irview/plots/decay_plot.h"
#include "irview/plots/plot_export.h"
#include "irview/plots/spectrum_plot.h"
#include "irview/plots/waveform_plot.h"
#include "irview/testing/test_responses.h"

namespace irview {
namespace {

// A stereo file at 48 kHz analysed as the runner does, and a mono one at
// 96 kHz read but not yet analysed.
std::vector<Trace> sampleTraces() {
  auto stereo = std::make_shared<analysis::ResponseFile>();
  stereo->format = "WAVE (16-bit PCM)";
  stereo->sample_rate_hz = 48000.0;
  stereo->channels = {testing::decayingNoise(48000.0, 0.5, 48000, 1),
                      testing::decayingNoise(48000.0, 0.3, 48000, 2)};
  auto spectra = std::make_shared<std::vector<ChannelSpectra>>();
  for (const auto& channel : stereo->channels) {
    ChannelSpectra each;
    each[0] = analysis::magnitude_spectrum(channel, stereo->sample_rate_hz);
    for (std::size_t s = 1; s < kSmoothings.size(); ++s)
      each[s] = analysis::smooth_spectrum(each[0], kSmoothings[s]);
    spectra->push_back(each);
  }
  analysis::AnalysisOptions options;
  options.keep_curves = true;
  auto analysed =
      std::make_shared<FileAnalysis>(FileAnalysis{*analysis::analyse_file(*stereo, options), {}});
  auto mono = std::make_shared<analysis::ResponseFile>();
  mono->sample_rate_hz = 96000.0;
  mono->channels = {testing::decayingNoise(96000.0, 0.2, 19200, 3)};

  std::vector<ViewedFile> files(2);
  files[0].path = "hall.wav";
  files[0].response = stereo;
  files[0].spectra = spectra;
  files[0].analysis = analysed;
  files[1].path = "sim.tim";
  files[1].response = mono;
  return tracesOf(files);
}

QStringList legendNames(QChart* chart) {
  QTest::qWait(50);
  QStringList names;
  for (QLegendMarker* marker : chart->legend()->markers())
    if (marker->isVisible()) names.append(marker->label());
  return names;
}

QList<QLineSeries*> lines(QChart* chart) {
  QList<QLineSeries*> result;
  for (QAbstractSeries* series : chart->series()) result.append(static_cast<QLineSeries*>(series));
  return result;
}

void showAndSettle(TracePlot& plot) {
  plot.view()->resize(800, 500);
  plot.view()->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(plot.view()));
  QTest::qWait(20);
}

TEST(WaveformPlotTest, EveryTraceIsOverlaidAndDecimationFollowsTheZoom) {
  WaveformPlot plot;
  showAndSettle(plot);
  plot.setTraces(sampleTraces());
  EXPECT_EQ(legendNames(plot.chart()), QStringList({"hall.wav L", "hall.wav R", "sim.tim"}));
  EXPECT_DOUBLE_EQ(plot.view()->visibleX().to, 1.0);  // the longest file
  EXPECT_GT(plot.view()->visibleY().to, 0.0);
  EXPECT_DOUBLE_EQ(plot.view()->visibleY().from, -plot.view()->visibleY().to);

  QLineSeries* left = lines(plot.chart())[0];
  const qsizetype whole = left->count();
  EXPECT_LT(whole, 2 * 800 + 4);  // 48000 samples decimated
  // Zoomed into 10 ms: 480 samples, drawn point for point.
  plot.view()->setHome({0.1, 0.11}, {-1.0, 1.0});
  EXPECT_NEAR(left->count(), 482, 2);
  EXPECT_NEAR(left->at(1).x(), 0.1, 1.0 / 48000.0);
  EXPECT_EQ(plot.readout({0.25, -0.5}), "t = 0.25 s, sample -0.5");
}

TEST(DecayPlotTest, LevelDecayAndT30LineOfTheChosenBandForAnalysedTracesOnly) {
  DecayPlot plot;
  showAndSettle(plot);
  plot.setTraces(sampleTraces());
  // Two analysed channels, each with level, decay and fit line; one legend
  // entry each; the unanalysed file has nothing here yet.
  EXPECT_EQ(lines(plot.chart()).size(), 6);
  EXPECT_EQ(legendNames(plot.chart()), QStringList({"hall.wav L", "hall.wav R"}));
  EXPECT_TRUE(plot.chart()->title().startsWith("1 kHz octave band: "));
  EXPECT_DOUBLE_EQ(plot.view()->visibleY().to, 5.0);
  EXPECT_LE(plot.view()->visibleY().from, -65.0);  // the fit line's end is on the plot

  // The fit line falls 60 dB in T30.
  const QLineSeries* fit = lines(plot.chart())[2];
  ASSERT_EQ(fit->count(), 2);
  const QPointF top = fit->at(0);
  const QPointF bottom = fit->at(1);
  const auto& result = *bandResult(*plot.traces()[0].channelAnalysis(), 5);
  const double t30 = *result.parameters[analysis::Parameter::kT30].value;
  EXPECT_NEAR(top.y(), -5.0, 1.0);
  EXPECT_NEAR((bottom.x() - top.x()) * 60.0 / (top.y() - bottom.y()), t30, 1e-6);
  EXPECT_EQ(fit->pen().style(), Qt::DashLine);
  // The decay starts at 0 dB, the level at its peak's 0 dB.
  EXPECT_LE(lines(plot.chart())[1]->at(0).y(), 0.5);

  plot.setBand(std::nullopt);
  EXPECT_TRUE(plot.chart()->title().startsWith("Broadband")) << plot.chart()->title().toStdString();
  EXPECT_EQ(lines(plot.chart()).size(), 6);
  plot.setBand(9);  // 16 kHz: not analysed at 48 kHz
  EXPECT_TRUE(lines(plot.chart()).isEmpty());
  EXPECT_EQ(plot.readout({0.5, -20.04}), "t = 0.5 s, -20.0 dB");
}

TEST(SpectrumPlotTest, ALogFrequencyAxisAndTheSmoothingChosen) {
  SpectrumPlot plot;
  showAndSettle(plot);
  std::vector<Trace> traces = sampleTraces();
  plot.setTraces(traces);
  EXPECT_EQ(legendNames(plot.chart()), QStringList({"hall.wav L", "hall.wav R"}));
  EXPECT_EQ(plot.view()->visibleX(), (AxisRange{10.0, 24000.0}));
  EXPECT_TRUE(plot.chart()->title().endsWith("1/3 octave"));

  QLineSeries* left = lines(plot.chart())[0];
  const QList<QPointF> smoothed = left->points();
  plot.setSmoothing(0);
  EXPECT_TRUE(plot.chart()->title().endsWith("none"));
  left = lines(plot.chart())[0];
  EXPECT_NE(left->points(), smoothed);
  for (const QPointF& point : left->points()) EXPECT_GT(point.x(), 0.0);
  EXPECT_EQ(plot.readout({1000.0, -3.0}), "f = 1000.0 Hz, -3.0 dB");
}

TEST(PlotExportTest, PngAndSvgPicturesOfWhatTheViewShows) {
  DecayPlot plot;
  showAndSettle(plot);
  plot.setTraces(sampleTraces());
  const QImage png = QImage::fromData(pngBytes(*plot.view()), "PNG");
  ASSERT_FALSE(png.isNull());
  EXPECT_EQ(png.size(), plot.view()->size() * plot.view()->devicePixelRatioF());
  // The first trace's colour is drawn somewhere.
  bool coloured = false;
  for (int y = 0; y < png.height() && !coloured; y += 2)
    for (int x = 0; x < png.width() && !coloured; ++x)
      coloured = png.pixelColor(x, y) == traceColour(0);
  EXPECT_TRUE(coloured);

  const QByteArray svg = svgBytes(*plot.view(), "Decay");
  EXPECT_TRUE(svg.contains("<svg")) << svg.left(200).toStdString();
  EXPECT_TRUE(svg.contains("<title>Decay</title>"));
  EXPECT_TRUE(svg.contains("<polyline") || svg.contains("<path"));
}

}  // namespace
}  // namespace irview
