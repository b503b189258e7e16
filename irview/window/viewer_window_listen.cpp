// The viewer window's Listen panel: its dock under the pages, the Listen
// menu and its keys, the dry signal's dialog, drop and recent list, the
// export of an auralisation, and the status bar's line about sound.
#include "irview/window/viewer_window.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>

#include "irview/model/recent_files.h"
#include "irview/window/listen_panel.h"

namespace irview {

namespace {

const QString kListenTitle = QStringLiteral("irview");

}  // namespace

void ViewerWindow::buildListen() {
  listenPanel_ = new ListenPanel(*listen_);
  auto* dock = new QDockWidget(QStringLiteral("Listen"), this);
  dock->setObjectName(QStringLiteral("listenDock"));
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  dock->setWidget(listenPanel_);
  addDockWidget(Qt::BottomDockWidgetArea, dock);
  connect(listenPanel_, &ListenPanel::openDryRequested, this, &ViewerWindow::chooseDrySignal);
  connect(listenPanel_, &ListenPanel::exportRequested, this, &ViewerWindow::exportAuralisation);
  connect(listenPanel_, &ListenPanel::dryDropped, this, &ViewerWindow::openDrySignal);
  connect(listen_.get(), &ListenSession::problem, this,
          [this](const QString& message) { tell({kListenTitle, message, ViewerMessage::Icon::Warning}); });

  audioStatus_ = new QLabel;
  audioStatus_->setObjectName(QStringLiteral("audioStatus"));
  statusBar()->addPermanentWidget(audioStatus_);
  const bool silent = !listen_->audioProblem().isEmpty();
  if (silent) audioStatus_->setText(listen_->audioProblem() + QStringLiteral(": Listen cannot play"));
  audioStatus_->setVisible(silent);
  buildListenMenu();
  recentDry_ = withRecent(edge_.loadRecentDrySignals(), QString());
  updateRecentDryMenu();
}

void ViewerWindow::buildListenMenu() {
  QMenu* menu = menuBar()->addMenu(QStringLiteral("&Listen"));
  QAction* play = menu->addAction(QStringLiteral("&Play/Stop"), listen_.get(),
                                  &ListenSession::togglePlay);
  play->setObjectName(QStringLiteral("playAction"));
  play->setShortcut(QKeySequence(Qt::Key_Space));
  QAction* match = menu->addAction(QStringLiteral("&Match Loudness"));
  match->setObjectName(QStringLiteral("matchLoudnessAction"));
  match->setCheckable(true);
  match->setChecked(listen_->matchLoudness());
  connect(match, &QAction::toggled, listen_.get(), &ListenSession::setMatchLoudness);
  connect(listen_.get(), &ListenSession::changed, match,
          [this, match] { match->setChecked(listen_->matchLoudness()); });
  menu->addSeparator();
  for (int i = 0; i < 9; ++i) {
    QAction* pick = menu->addAction(QStringLiteral("Response &%1").arg(i + 1), this,
                                    [this, i] { listen_->choose(i); });
    pick->setObjectName(QStringLiteral("response%1Action").arg(i + 1));
    pick->setShortcut(QKeySequence(Qt::Key(Qt::Key_1 + i)));
  }
}

QString ViewerWindow::audioStatus() const {
  return audioStatus_->text();
}

void ViewerWindow::chooseDrySignal() {
  const QString chosen = edge_.chooseDrySignal();
  if (!chosen.isEmpty()) openDrySignal(chosen);
}

void ViewerWindow::openDrySignal(const QString& path) {
  listen_->setDrySignal(path);
  recentDry_ = withRecent(recentDry_, recentEntry(path, QDir::currentPath()));
  edge_.storeRecentDrySignals(recentDry_);
  updateRecentDryMenu();
}

void ViewerWindow::updateRecentDryMenu() {
  recentDryMenu_->clear();
  for (int i = 0; i < recentDry_.size(); ++i) {
    const QString path = recentDry_[i];
    QAction* action = recentDryMenu_->addAction(
        QStringLiteral("&%1 %2").arg(i + 1 < 10 ? QString::number(i + 1) : QStringLiteral("1&0"),
                                     QFileInfo(path).fileName()),
        this, [this, path] {
          // Not at once: the menu's actions, this one included, are made again.
          QTimer::singleShot(0, this, [this, path] { openDrySignal(path); });
        });
    action->setToolTip(path);
    action->setStatusTip(path);
  }
  recentDryMenu_->setEnabled(!recentDry_.isEmpty());
}

void ViewerWindow::exportAuralisation() {
  if (listen_->drySignal().isEmpty() || listen_->responseCount() == 0) {
    tell({kListenTitle,
          QStringLiteral("Open a dry signal and a response first: there is no auralisation to "
                         "export."),
          ViewerMessage::Icon::Information});
    return;
  }
  const ListenResponse& response = listen_->response(listen_->chosen());
  const QString name = QFileInfo(listen_->drySignal()).completeBaseName() + u'-' +
                       QFileInfo(response.paths.front()).completeBaseName() +
                       QStringLiteral(".wav");
  const QString path = edge_.chooseExportFile(ExportKind::Audio, name);
  if (path.isEmpty()) return;
  const QString problem = listen_->exportChosen(path);
  if (!problem.isEmpty()) {
    tell({kListenTitle, QStringLiteral("%1: not written: %2").arg(path, problem),
          ViewerMessage::Icon::Warning});
    return;
  }
  statusBar()->showMessage(QStringLiteral("Wrote %1").arg(path), 5000);
}

}  // namespace irview
