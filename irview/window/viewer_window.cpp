#include "irview/window/viewer_window.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <algorithm>

#include "analysis/dsp/octave_bands.h"
#include "irview/player/listen_responses.h"
#include "irview/model/parameter_table.h"
#include "irview/model/recent_files.h"
#include "irview/plots/decay_plot.h"
#include "irview/plots/plot_export.h"
#include "irview/plots/spectrum_plot.h"
#include "irview/plots/waveform_plot.h"
#include "irview/window/parameters_page.h"
#include "irview/window/qt_audio_output.h"

namespace irview {

namespace {

AudioOutput& noAudioOutput() {
  static NoAudioOutput none;
  return none;
}

const QString kProgramName = QStringLiteral("irview");

QStringList localFiles(const QMimeData* data) {
  QStringList files;
  if (!data || !data->hasUrls()) return files;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) files.append(url.toLocalFile());
  return files;
}

QString suffixOf(ExportKind kind) {
  switch (kind) {
    case ExportKind::Png:
      return QStringLiteral("png");
    case ExportKind::Svg:
      return QStringLiteral("svg");
    case ExportKind::Csv:
      return QStringLiteral("csv");
    case ExportKind::Audio:
      return QStringLiteral("wav");
  }
  return QString();
}

}  // namespace

ViewerWindow::ViewerWindow(ViewerEdge& edge, QWidget* parent)
    : ViewerWindow(edge, noAudioOutput(), parent) {}

ViewerWindow::ViewerWindow(ViewerEdge& edge, AudioOutput& audio, QWidget* parent)
    : QMainWindow(parent), edge_(edge), listen_(std::make_unique<ListenSession>(audio)) {
  setObjectName(kProgramName);
  setAcceptDrops(true);
  resize(1000, 700);

  pages_ = new QTabWidget;
  pages_->setObjectName(QStringLiteral("pages"));
  waveform_ = new WaveformPlot(this);
  decay_ = new DecayPlot(this);
  spectrum_ = new SpectrumPlot(this);
  parameters_ = new ParametersPage;
  pages_->addTab(waveform_->view(), QStringLiteral("&Waveform"));
  pages_->addTab(decay_->view(), QStringLiteral("&Decay"));
  pages_->addTab(spectrum_->view(), QStringLiteral("&Spectrum"));
  pages_->addTab(parameters_, QStringLiteral("&Parameters"));
  setCentralWidget(pages_);

  buildMenus();
  buildToolBar();
  buildStatusBar();
  buildListen();
  connectRunner();
  for (TracePlot* plot : {static_cast<TracePlot*>(waveform_), static_cast<TracePlot*>(decay_),
                          static_cast<TracePlot*>(spectrum_)}) {
    connect(plot->view(), &ChartView::pointerMoved, this,
            [this, plot](QPointF value) { readout_->setText(plot->readout(value)); });
    connect(plot->view(), &ChartView::pointerLeft, readout_, &QLabel::clear);
  }
  recent_ = withRecent(edge_.loadRecentFiles(), QString());
  updateRecentMenu();
  updateTitle();
}

ViewerWindow::~ViewerWindow() {
  runner_.stop();
  listen_.reset();  // stops playing before the panel goes
}

void ViewerWindow::connectRunner() {
  connect(&runner_, &AnalysisRunner::read, this, &ViewerWindow::fileRead);
  connect(&runner_, &AnalysisRunner::readFailed, this, &ViewerWindow::fileRefused);
  connect(&runner_, &AnalysisRunner::spectraReady, this, &ViewerWindow::spectraArrived);
  connect(&runner_, &AnalysisRunner::analysed, this, &ViewerWindow::analysisArrived);
  connect(&runner_, &AnalysisRunner::stopped, this, &ViewerWindow::analysisStopped);
  connect(&runner_, &AnalysisRunner::progressChanged, this, &ViewerWindow::showProgress);
}

void ViewerWindow::openFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    ViewedFile file;
    file.path = path;
    file.job = runner_.open(path);
    files_.push_back(std::move(file));
  }
}

bool ViewerWindow::settled() const { return !runner_.busy() && !updatePending_ && !reading(); }

bool ViewerWindow::reading() const {
  return readPending_ || std::any_of(files_.begin(), files_.end(), [](const ViewedFile& file) {
           return file.stage == ViewedFile::Stage::Reading;
         });
}

ViewedFile* ViewerWindow::fileOfJob(int job) {
  const auto found = std::find_if(files_.begin(), files_.end(),
                                  [job](const ViewedFile& file) { return file.job == job; });
  return found == files_.end() ? nullptr : &*found;
}

void ViewerWindow::fileRead(int job, std::shared_ptr<const analysis::ResponseFile> response) {
  ViewedFile* file = fileOfJob(job);
  if (!file) return;  // closed meanwhile
  file->response = std::move(response);
  file->stage = ViewedFile::Stage::Analysing;
  rememberRecent(file->path);
  readPending_ = true;
  scheduleUpdate();
}

void ViewerWindow::fileRefused(int job, const QString& message) {
  const auto found = std::find_if(files_.begin(), files_.end(),
                                  [job](const ViewedFile& file) { return file.job == job; });
  if (found == files_.end()) return;
  const QString path = found->path;
  files_.erase(found);
  updateTitle();
  if (!QFileInfo::exists(path)) {
    recent_ = withoutRecent(recent_, recentEntry(path, QDir::currentPath()));
    edge_.storeRecentFiles(recent_);
    updateRecentMenu();
  }
  tell({kProgramName, message, ViewerMessage::Icon::Warning});
}

void ViewerWindow::spectraArrived(int job,
                                  std::shared_ptr<const std::vector<ChannelSpectra>> spectra) {
  ViewedFile* file = fileOfJob(job);
  if (!file) return;
  file->spectra = std::move(spectra);
  scheduleUpdate();
}

void ViewerWindow::analysisArrived(int job, std::shared_ptr<const FileAnalysis> analysis) {
  ViewedFile* file = fileOfJob(job);
  if (!file) return;
  file->analysis = std::move(analysis);
  file->stage = ViewedFile::Stage::Analysed;
  updateBandChoice();
  scheduleUpdate();
}

void ViewerWindow::analysisStopped(int job) {
  ViewedFile* file = fileOfJob(job);
  if (!file) return;
  file->stage = ViewedFile::Stage::Stopped;
  scheduleUpdate();
}

void ViewerWindow::showProgress(double done) {
  const bool busy = runner_.busy();
  progress_->setVisible(busy);
  stopButton_->setVisible(busy);
  progress_->setValue(static_cast<int>(done * 1000.0));
}

void ViewerWindow::scheduleUpdate() {
  if (updatePending_) return;
  updatePending_ = true;
  QTimer::singleShot(0, this, &ViewerWindow::updateTraces);
}

void ViewerWindow::updateTraces() {
  updatePending_ = false;
  readPending_ = false;
  std::vector<Trace> traces = tracesOf(files_);
  waveform_->setTraces(traces);
  decay_->setTraces(traces);
  spectrum_->setTraces(traces);
  parameters_->showTraces(files_, traces);
  listen_->setResponses(listenResponses(files_));
  updateTitle();
  emit fileUpdated();
}

void ViewerWindow::updateBandChoice() {
  const std::optional<int> chosen = decay_->band();
  std::vector<int> bands;
  for (const ViewedFile& file : files_)
    if (file.analysis)
      for (const analysis::ChannelAnalysis& channel : file.analysis->channels)
        for (const analysis::BandAnalysis& result : channel.results)
          if (result.band) bands.push_back(result.band->index);
  std::sort(bands.begin(), bands.end());
  bands.erase(std::unique(bands.begin(), bands.end()), bands.end());

  bandChoice_->clear();
  const std::span<const analysis::OctaveBand> all = analysis::bands_of(runner_.bandKind());
  for (const int band : bands) bandChoice_->addItem(bandName(all[band]), band);
  bandChoice_->addItem(bandName(std::nullopt), -1);
  bandChoice_->setEnabled(true);
  const int index = bandChoice_->findData(chosen ? *chosen : -1);
  bandChoice_->setCurrentIndex(index >= 0 ? index : bandChoice_->count() - 1);
  const int band = bandChoice_->currentData().toInt();
  const std::optional<int> shown = band < 0 ? std::nullopt : std::optional<int>(band);
  if (shown != chosen) decay_->setBand(shown);
}

void ViewerWindow::updateTitle() {
  QStringList names;
  for (const ViewedFile& file : files_) names.append(QFileInfo(file.path).fileName());
  setWindowTitle(names.isEmpty()
                     ? kProgramName
                     : kProgramName + QStringLiteral(" - ") + names.join(QStringLiteral(", ")));
}

void ViewerWindow::rememberRecent(const QString& path) {
  recent_ = withRecent(recent_, recentEntry(path, QDir::currentPath()));
  edge_.storeRecentFiles(recent_);
  updateRecentMenu();
}

void ViewerWindow::tell(const ViewerMessage& message) {
  pendingMessages_.append(message);
  if (telling_) return;  // a box is open; this one follows it
  telling_ = true;
  while (!pendingMessages_.isEmpty()) edge_.showMessage(pendingMessages_.takeFirst());
  telling_ = false;
}

void ViewerWindow::showPage(Page page) { pages_->setCurrentIndex(static_cast<int>(page)); }

void ViewerWindow::chooseFilesToOpen() {
  const QStringList chosen = edge_.chooseFilesToOpen();
  if (!chosen.isEmpty()) openFiles(chosen);
}

TracePlot* ViewerWindow::plotShown() const {
  switch (static_cast<Page>(pages_->currentIndex())) {
    case Page::Waveform:
      return waveform_;
    case Page::Decay:
      return decay_;
    case Page::Spectrum:
      return spectrum_;
    case Page::Parameters:
      break;
  }
  return nullptr;
}

void ViewerWindow::exportPlotAsPng() { exportPlot(ExportKind::Png); }
void ViewerWindow::exportPlotAsSvg() { exportPlot(ExportKind::Svg); }

void ViewerWindow::exportPlot(ExportKind kind) {
  TracePlot* plot = plotShown();
  if (!plot) return;
  const QString page = pages_->tabText(pages_->currentIndex()).remove(u'&').toLower();
  writeExport(kind, page, [kind, plot] {
    return kind == ExportKind::Png ? pngBytes(*plot->view())
                                   : svgBytes(*plot->view(), plot->chart()->title());
  });
}

void ViewerWindow::exportTableAsCsv() {
  const std::vector<Trace> traces = tracesOf(files_);
  const bool analysed = std::any_of(traces.begin(), traces.end(),
                                    [](const Trace& trace) { return trace.channelAnalysis(); });
  if (!analysed) {
    tell({kProgramName,
          QStringLiteral("No file has been analysed yet: there is no table to export."),
          ViewerMessage::Icon::Information});
    return;
  }
  writeExport(ExportKind::Csv, QStringLiteral("parameters"), [this] { return csvText(files_); });
}

void ViewerWindow::writeExport(ExportKind kind, const QString& suggestedName,
                               const std::function<QByteArray()>& bytes) {
  const QString base =
      files_.empty() ? kProgramName : QFileInfo(files_.front().path).completeBaseName();
  const QString path =
      edge_.chooseExportFile(kind, base + u'-' + suggestedName + u'.' + suffixOf(kind));
  if (path.isEmpty()) return;
  // Made after the dialog has closed, so that it is not in the picture.
  const QString problem = edge_.writeFile(path, bytes());
  if (!problem.isEmpty())
    tell({kProgramName, QStringLiteral("%1: cannot write the file: %2").arg(path, problem),
          ViewerMessage::Icon::Warning});
}

void ViewerWindow::closeAllFiles() {
  runner_.stop();
  files_.clear();
  updateBandChoice();
  bandChoice_->setEnabled(false);
  updateTraces();
}

void ViewerWindow::stopAnalysis() { runner_.stop(); }

void ViewerWindow::takeAsBinaural(bool binaural) {
  parameters_->setBinaural(binaural);
  updateTraces();
}

void ViewerWindow::chooseBandKind(analysis::BandKind kind) {
  if (kind == runner_.bandKind()) return;
  // The band shown stays where it is: an octave's mid-band frequency is
  // every third third's.
  const std::optional<int> band = decay_->band();
  std::optional<int> same;
  if (band) {
    same = kind == analysis::BandKind::kThird
               ? 3 * *band + 1
               : std::clamp((*band + 1) / 3, 0, analysis::kOctaveBandCount - 1);
  }
  runner_.setBandKind(kind);
  QStringList paths;
  for (const ViewedFile& file : files_) paths.append(file.path);
  closeAllFiles();
  decay_->setBand(same);
  openFiles(paths);
}

void ViewerWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!localFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ViewerWindow::dropEvent(QDropEvent* event) {
  const QStringList files = localFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  openFiles(files);
}

}  // namespace irview
