// The viewer's window: the waveform, decay and magnitude-response plots and
// the parameter table on four pages, the files overlaid as traces with a
// legend. Files come from the command line, File > Open, File > Open Recent
// and drops; each is read and analysed off the window's thread
// (AnalysisRunner), and the window shows what has arrived: the waveform
// first, the plots of the analysis when it comes, with the progress in the
// status bar. A file that cannot be read is named in a message with the
// reason, and the window goes on with the others.
//
// Under the pages, the Listen panel plays a dry signal convolved with the
// responses read (irview/player/listen_session.h), File > Open Dry Signal
// choosing it; Space plays and stops, the keys 1 to 9 choose a response.
// Without sound (no device or server) the status bar says so once and
// the rest of the window is as it was.
//
// The window composes; the points are made in irview/model/plot_data.h,
// the table in irview/model/parameter_table.h, and every side effect goes
// through the ViewerEdge.
#ifndef IRVIEW_WINDOW_VIEWER_WINDOW_H_
#define IRVIEW_WINDOW_VIEWER_WINDOW_H_

#include <QList>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

#include "irview/model/analysis_runner.h"
#include "irview/player/audio_output.h"
#include "irview/player/listen_session.h"
#include "irview/model/viewed_file.h"
#include "irview/model/viewer_edge.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;
class QTabWidget;
class QToolButton;

namespace irview {

class DecayPlot;
class ListenPanel;
class ParametersPage;
class SpectrumPlot;
class TracePlot;
class WaveformPlot;

class ViewerWindow : public QMainWindow {
  Q_OBJECT

 public:
  enum class Page { Waveform, Decay, Spectrum, Parameters };

  // Without an AudioOutput the window has no sound (NoAudioOutput).
  explicit ViewerWindow(ViewerEdge& edge, QWidget* parent = nullptr);
  ViewerWindow(ViewerEdge& edge, AudioOutput& audio, QWidget* parent = nullptr);
  ~ViewerWindow() override;

  // Adds the files to the ones shown; each is read and analysed off the
  // window's thread. Names are kept as given (relative to the current
  // folder).
  void openFiles(const QStringList& paths);

  const std::vector<ViewedFile>& files() const { return files_; }
  // True while a file named to openFiles has not been read or refused, or
  // a waveform read is not yet in the plots.
  bool reading() const;
  // True when nothing is being read or analysed and everything that has
  // arrived is in the plots and the table.
  bool settled() const;
  AnalysisRunner& runner() { return runner_; }
  WaveformPlot* waveformPlot() const { return waveform_; }
  DecayPlot* decayPlot() const { return decay_; }
  SpectrumPlot* spectrumPlot() const { return spectrum_; }
  ParametersPage* parametersPage() const { return parameters_; }
  QStringList recentFiles() const { return recent_; }
  ListenSession& listenSession() { return *listen_; }
  ListenPanel* listenPanel() const { return listenPanel_; }
  QStringList recentDrySignals() const { return recentDry_; }
  // The status bar's line about sound: empty when there is sound.
  QString audioStatus() const;

 public slots:
  void showPage(irview::ViewerWindow::Page page);
  // File > Open...: the edge's dialog, then openFiles.
  void chooseFilesToOpen();
  // File > Export: the plot on the page shown as PNG or SVG (on the
  // Parameters page, the decay plot), the table as CSV.
  void exportPlotAsPng();
  void exportPlotAsSvg();
  void exportTableAsCsv();
  // File > Close All: stops every analysis and forgets every file.
  void closeAllFiles();
  // Stops the analyses running; their files keep their waveforms.
  void stopAnalysis();
  // Analyses the files again in octaves or in third octaves.
  void chooseBandKind(analysis::BandKind kind);
  // Shows the interaural cross-correlation of the binaural pairs, or not.
  void takeAsBinaural(bool binaural);
  // File > Open Dry Signal...: the edge's dialog, then openDrySignal.
  void chooseDrySignal();
  // The Listen panel's dry signal (also a drop on the panel, the recent
  // list); remembered in the recent dry signals.
  void openDrySignal(const QString& path);
  // File > Export Auralisation...: the chosen response's auralisation, as
  // irconv writes it.
  void exportAuralisation();

 signals:
  // After the plots and the table have taken what arrived for a file.
  void fileUpdated();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildMenus();
  void buildToolBar();
  void buildStatusBar();
  void buildListen();
  void buildListenMenu();
  void updateRecentDryMenu();
  void connectRunner();

  ViewedFile* fileOfJob(int job);
  void fileRead(int job, std::shared_ptr<const analysis::ResponseFile> response);
  void fileRefused(int job, const QString& message);
  void spectraArrived(int job, std::shared_ptr<const std::vector<ChannelSpectra>> spectra);
  void analysisArrived(int job, std::shared_ptr<const FileAnalysis> analysis);
  void analysisStopped(int job);
  void showProgress(double done);
  // Gives the plots and the table the traces as they now are; scheduled
  // once for what arrives together (both files of a pair read, say), so
  // that the plots are made again once.
  void scheduleUpdate();
  void updateTraces();
  void updateBandChoice();
  void updateTitle();
  void rememberRecent(const QString& path);
  void updateRecentMenu();
  // Shows messages one after the other, never one box over another.
  void tell(const ViewerMessage& message);
  TracePlot* plotShown() const;
  void exportPlot(ExportKind kind);
  // Asks for the file through the edge, then writes what `bytes` makes.
  void writeExport(ExportKind kind, const QString& suggestedName,
                   const std::function<QByteArray()>& bytes);

  ViewerEdge& edge_;
  AnalysisRunner runner_;
  std::unique_ptr<ListenSession> listen_;
  ListenPanel* listenPanel_ = nullptr;
  QStringList recentDry_;
  QMenu* recentDryMenu_ = nullptr;
  QLabel* audioStatus_ = nullptr;
  std::vector<ViewedFile> files_;
  QStringList recent_;
  QList<ViewerMessage> pendingMessages_;
  bool telling_ = false;
  bool updatePending_ = false;
  bool readPending_ = false;  // a file read since the last update

  QTabWidget* pages_ = nullptr;
  WaveformPlot* waveform_ = nullptr;
  DecayPlot* decay_ = nullptr;
  SpectrumPlot* spectrum_ = nullptr;
  ParametersPage* parameters_ = nullptr;
  QComboBox* bandKindChoice_ = nullptr;
  QCheckBox* binauralChoice_ = nullptr;
  QComboBox* bandChoice_ = nullptr;
  QComboBox* smoothingChoice_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QLabel* readout_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QToolButton* stopButton_ = nullptr;
};

}  // namespace irview

#endif  // IRVIEW_WINDOW_VIEWER_WINDOW_H_
