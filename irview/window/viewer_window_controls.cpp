// The viewer window's menus, its band and smoothing choices, its status bar,
// and the recent-files menu.
#include "irview/window/viewer_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "irview/plots/decay_plot.h"
#include "irview/plots/spectrum_plot.h"

namespace irview {

void ViewerWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  QAction* open =
      file->addAction(QStringLiteral("&Open..."), this, &ViewerWindow::chooseFilesToOpen);
  open->setObjectName(QStringLiteral("openAction"));
  open->setShortcut(QKeySequence::Open);
  recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
  recentMenu_->setObjectName(QStringLiteral("recentMenu"));
  QAction* dry = file->addAction(QStringLiteral("Open &Dry Signal..."), this,
                                 &ViewerWindow::chooseDrySignal);
  dry->setObjectName(QStringLiteral("openDryAction"));
  recentDryMenu_ = file->addMenu(QStringLiteral("Open Recent Dry Si&gnal"));
  recentDryMenu_->setObjectName(QStringLiteral("recentDryMenu"));
  file->addSeparator();
  QAction* png = file->addAction(QStringLiteral("Export Plot as &PNG..."), this,
                                 &ViewerWindow::exportPlotAsPng);
  png->setObjectName(QStringLiteral("exportPngAction"));
  QAction* svg = file->addAction(QStringLiteral("Export Plot as &SVG..."), this,
                                 &ViewerWindow::exportPlotAsSvg);
  svg->setObjectName(QStringLiteral("exportSvgAction"));
  QAction* csv = file->addAction(QStringLiteral("Export &Table as CSV..."), this,
                                 &ViewerWindow::exportTableAsCsv);
  csv->setObjectName(QStringLiteral("exportCsvAction"));
  QAction* auralisation = file->addAction(QStringLiteral("Export &Auralisation..."), this,
                                          &ViewerWindow::exportAuralisation);
  auralisation->setObjectName(QStringLiteral("exportAuralisationAction"));
  file->addSeparator();
  QAction* stop =
      file->addAction(QStringLiteral("S&top Analysis"), this, &ViewerWindow::stopAnalysis);
  stop->setObjectName(QStringLiteral("stopAction"));
  QAction* closeAll =
      file->addAction(QStringLiteral("&Close All"), this, &ViewerWindow::closeAllFiles);
  closeAll->setObjectName(QStringLiteral("closeAllAction"));
  file->addSeparator();
  QAction* quit = file->addAction(QStringLiteral("&Quit"), this, &QWidget::close);
  quit->setShortcut(QKeySequence::Quit);

  // The plots export only from a plot's page.
  connect(pages_, &QTabWidget::currentChanged, this, [png, svg](int page) {
    const bool plot = page != static_cast<int>(Page::Parameters);
    png->setEnabled(plot);
    svg->setEnabled(plot);
  });

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  const std::pair<const char*, Page> pages[] = {{"&Waveform", Page::Waveform},
                                                {"&Decay", Page::Decay},
                                                {"&Spectrum", Page::Spectrum},
                                                {"&Parameters", Page::Parameters}};
  for (const auto& [name, page] : pages) {
    QAction* action =
        view->addAction(QString::fromLatin1(name), this, [this, page = page] { showPage(page); });
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + static_cast<int>(page))));
  }
}

void ViewerWindow::buildToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Choices"));
  bar->setObjectName(QStringLiteral("choices"));
  bar->setMovable(false);
  bar->addWidget(new QLabel(QStringLiteral(" Bands ")));
  bandKindChoice_ = new QComboBox;
  bandKindChoice_->setObjectName(QStringLiteral("bandKindChoice"));
  bandKindChoice_->addItem(QStringLiteral("octaves"));
  bandKindChoice_->addItem(QStringLiteral("third octaves"));
  bar->addWidget(bandKindChoice_);
  binauralChoice_ = new QCheckBox(QStringLiteral("Binaural"));
  binauralChoice_->setObjectName(QStringLiteral("binauralChoice"));
  binauralChoice_->setToolTip(
      QStringLiteral("Stereo files and two mono files in a row are the ears of binaural pairs"));
  bar->addWidget(binauralChoice_);
  bar->addSeparator();
  bar->addWidget(new QLabel(QStringLiteral(" Band ")));
  bandChoice_ = new QComboBox;
  bandChoice_->setObjectName(QStringLiteral("bandChoice"));
  bandChoice_->setEnabled(false);
  bandChoice_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  bar->addWidget(bandChoice_);
  bar->addSeparator();
  bar->addWidget(new QLabel(QStringLiteral(" Smoothing ")));
  smoothingChoice_ = new QComboBox;
  smoothingChoice_->setObjectName(QStringLiteral("smoothingChoice"));
  for (const analysis::Smoothing smoothing : kSmoothings)
    smoothingChoice_->addItem(smoothingLabel(smoothing));
  smoothingChoice_->setCurrentIndex(static_cast<int>(spectrum_->smoothing()));
  bar->addWidget(smoothingChoice_);

  connect(bandChoice_, &QComboBox::activated, this, [this](int index) {
    const int band = bandChoice_->itemData(index).toInt();
    decay_->setBand(band < 0 ? std::nullopt : std::optional<int>(band));
  });
  connect(bandKindChoice_, &QComboBox::activated, this, [this](int index) {
    chooseBandKind(index == 1 ? analysis::BandKind::kThird : analysis::BandKind::kOctave);
  });
  connect(binauralChoice_, &QCheckBox::toggled, this, &ViewerWindow::takeAsBinaural);
  connect(smoothingChoice_, &QComboBox::activated, this,
          [this](int index) { spectrum_->setSmoothing(static_cast<std::size_t>(index)); });
}

void ViewerWindow::buildStatusBar() {
  readout_ = new QLabel;
  readout_->setObjectName(QStringLiteral("readout"));
  statusBar()->addWidget(readout_, 1);
  progress_ = new QProgressBar;
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, 1000);
  progress_->setMaximumWidth(200);
  progress_->setFormat(QStringLiteral("analysing %p%"));
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);
  stopButton_ = new QToolButton;
  stopButton_->setObjectName(QStringLiteral("stopButton"));
  stopButton_->setText(QStringLiteral("Stop"));
  stopButton_->hide();
  connect(stopButton_, &QToolButton::clicked, this, &ViewerWindow::stopAnalysis);
  statusBar()->addPermanentWidget(stopButton_);
}

void ViewerWindow::updateRecentMenu() {
  recentMenu_->clear();
  for (int i = 0; i < recent_.size(); ++i) {
    const QString path = recent_[i];
    QAction* action = recentMenu_->addAction(
        QStringLiteral("&%1 %2").arg(i + 1 < 10 ? QString::number(i + 1) : QStringLiteral("1&0"),
                                     QFileInfo(path).fileName()),
        this, [this, path] { openFiles({path}); });
    action->setToolTip(path);
    action->setStatusTip(path);
  }
  recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction(QStringLiteral("&Clear List"), this, [this] {
    recent_.clear();
    edge_.storeRecentFiles(recent_);
    // Not at once: the menu's actions, this one included, are deleted then.
    QTimer::singleShot(0, this, &ViewerWindow::updateRecentMenu);
  });
  clear->setEnabled(!recent_.isEmpty());
}

}  // namespace irview
