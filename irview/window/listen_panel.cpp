#include "irview/window/listen_panel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QUrl>
#include <QVBoxLayout>
#include <cmath>

#include "irview/player/listen_session.h"

namespace irview {

namespace {

// The position bar's steps: tenths of a second.
constexpr double kStepsPerSecond = 10.0;

QString firstLocalFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

QString clockText(double seconds) {
  const long tenths = std::lround(std::max(0.0, seconds) * 10.0);
  return QStringLiteral("%1:%2.%3")
      .arg(tenths / 600)
      .arg((tenths / 10) % 60, 2, 10, QLatin1Char('0'))
      .arg(tenths % 10);
}

ListenPanel::ListenPanel(ListenSession& session, QWidget* parent)
    : QWidget(parent), session_(session) {
  setObjectName(QStringLiteral("listenPanel"));
  setAcceptDrops(true);
  auto* rows = new QVBoxLayout(this);
  rows->setContentsMargins(6, 2, 6, 2);
  auto* top = new QHBoxLayout;
  rows->addLayout(top);
  top->addWidget(new QLabel(QStringLiteral("Dry signal:")));
  dryName_ = new QLabel(QStringLiteral("none (drop an audio file here)"));
  dryName_->setObjectName(QStringLiteral("dryName"));
  top->addWidget(dryName_);
  openDry_ = new QPushButton(QStringLiteral("Open..."));
  openDry_->setObjectName(QStringLiteral("openDryButton"));
  top->addWidget(openDry_);
  play_ = new QPushButton(QStringLiteral("Play"));
  play_->setObjectName(QStringLiteral("playButton"));
  play_->setToolTip(QStringLiteral("Play or stop (Space)"));
  top->addWidget(play_);
  position_ = new QSlider(Qt::Horizontal);
  position_->setObjectName(QStringLiteral("positionBar"));
  position_->setMinimumWidth(200);
  top->addWidget(position_, 1);
  time_ = new QLabel;
  time_->setObjectName(QStringLiteral("positionText"));
  top->addWidget(time_);
  match_ = new QCheckBox(QStringLiteral("Match loudness"));
  match_->setObjectName(QStringLiteral("matchLoudness"));
  match_->setToolTip(QStringLiteral(
      "Play every auralisation at the same loudness (BS.1770); off, they keep their own levels"));
  top->addWidget(match_);
  export_ = new QPushButton(QStringLiteral("Export..."));
  export_->setObjectName(QStringLiteral("exportAuralisationButton"));
  export_->setToolTip(QStringLiteral("Write the auralisation as irconv writes it"));
  top->addWidget(export_);

  responseRow_ = new QHBoxLayout;
  rows->addLayout(responseRow_);
  responseRow_->addWidget(new QLabel(QStringLiteral("Response:")));
  responseRow_->addStretch(1);
  state_ = new QLabel;
  state_->setObjectName(QStringLiteral("listenState"));
  responseRow_->addWidget(state_);
  group_ = new QButtonGroup(this);

  connect(openDry_, &QPushButton::clicked, this, &ListenPanel::openDryRequested);
  connect(export_, &QPushButton::clicked, this, &ListenPanel::exportRequested);
  connect(play_, &QPushButton::clicked, &session_, &ListenSession::togglePlay);
  connect(match_, &QCheckBox::toggled, &session_, &ListenSession::setMatchLoudness);
  connect(position_, &QSlider::sliderMoved, this,
          [this](int value) { session_.seek(value / kStepsPerSecond); });
  connect(group_, &QButtonGroup::idClicked, &session_, &ListenSession::choose);
  connect(&session_, &ListenSession::changed, this, &ListenPanel::update);
  update();
}

void ListenPanel::rebuildResponses() {
  for (QRadioButton* button : responses_) delete button;
  responses_.clear();
  labels_.clear();
  for (int i = 0; i < session_.responseCount(); ++i) {
    const QString label = session_.response(i).label;
    labels_.append(label);
    auto* button = new QRadioButton(i < 9 ? QStringLiteral("%1 %2").arg(i + 1).arg(label) : label);
    button->setObjectName(QStringLiteral("response%1").arg(i + 1));
    button->setToolTip(session_.response(i).paths.join(QStringLiteral(", ")));
    button->setFocusPolicy(Qt::NoFocus);  // Space stays Play/Stop
    group_->addButton(button, i);
    responseRow_->insertWidget(1 + i, button);
    responses_.append(button);
  }
}

void ListenPanel::update() {
  QStringList labels;
  for (int i = 0; i < session_.responseCount(); ++i) labels.append(session_.response(i).label);
  if (labels != labels_) rebuildResponses();
  for (int i = 0; i < responses_.size(); ++i) {
    responses_[i]->setChecked(i == session_.chosen());
    responses_[i]->setEnabled(session_.failure(i).isEmpty());
  }
  const QString dry = session_.drySignal();
  dryName_->setText(dry.isEmpty() ? QStringLiteral("none (drop an audio file here)")
                                  : QFileInfo(dry).fileName());
  dryName_->setToolTip(dry);
  play_->setText(session_.state() == ListenSession::State::Stopped ? QStringLiteral("Play")
                                                                   : QStringLiteral("Stop"));
  play_->setEnabled(session_.canPlay() || session_.state() != ListenSession::State::Stopped);
  export_->setEnabled(!dry.isEmpty() && session_.responseCount() > 0);
  match_->setChecked(session_.matchLoudness());
  const double length = session_.lengthSeconds();
  position_->setEnabled(length > 0.0);
  position_->setRange(0, static_cast<int>(std::ceil(length * kStepsPerSecond)));
  if (!position_->isSliderDown())
    position_->setValue(static_cast<int>(session_.positionSeconds() * kStepsPerSecond));
  time_->setText(clockText(session_.positionSeconds()) + QStringLiteral(" / ") + clockText(length));

  QString state;
  if (!session_.audioProblem().isEmpty()) {
    state = QStringLiteral("no sound");
  } else if (session_.state() == ListenSession::State::Waiting) {
    state = QStringLiteral("computing...");
  } else if (!dry.isEmpty()) {
    int computing = 0;
    for (int i = 0; i < session_.responseCount(); ++i)
      if (!session_.computed(i) && session_.failure(i).isEmpty()) ++computing;
    if (computing > 0) state = QStringLiteral("computing %1 auralisation(s)").arg(computing);
  }
  state_->setText(state);
}

void ListenPanel::dragEnterEvent(QDragEnterEvent* event) {
  if (!firstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void ListenPanel::dropEvent(QDropEvent* event) {
  const QString path = firstLocalFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  emit dryDropped(path);
}

}  // namespace irview
