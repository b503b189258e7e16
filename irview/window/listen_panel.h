// The Listen panel under the viewer's pages: the dry signal and its Open
// button, Play/Stop, the position bar and time, "Match loudness", Export,
// and the responses to choose from (numbered 1, 2, ... as the keys that
// pick them). A file dropped on the panel becomes the dry signal. The panel
// only shows the session (irview/player/listen_session.h) and passes the
// user's choices to it; the window opens dialogs and writes files.
#ifndef IRVIEW_WINDOW_LISTEN_PANEL_H_
#define IRVIEW_WINDOW_LISTEN_PANEL_H_

#include <QList>
#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace irview {

class ListenSession;

class ListenPanel : public QWidget {
  Q_OBJECT

 public:
  explicit ListenPanel(ListenSession& session, QWidget* parent = nullptr);

  QPushButton* playButton() const { return play_; }
  QSlider* positionBar() const { return position_; }
  QCheckBox* matchLoudness() const { return match_; }
  const QList<QRadioButton*>& responseButtons() const { return responses_; }

 signals:
  void openDryRequested();
  void exportRequested();
  void dryDropped(const QString& path);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void update();
  void rebuildResponses();

  ListenSession& session_;
  QLabel* dryName_ = nullptr;
  QPushButton* openDry_ = nullptr;
  QPushButton* play_ = nullptr;
  QSlider* position_ = nullptr;
  QLabel* time_ = nullptr;
  QCheckBox* match_ = nullptr;
  QPushButton* export_ = nullptr;
  QLabel* state_ = nullptr;
  QHBoxLayout* responseRow_ = nullptr;
  QButtonGroup* group_ = nullptr;
  QList<QRadioButton*> responses_;
  QStringList labels_;  // the responses the buttons show
};

// "1:05.3": minutes, seconds and tenths.
QString clockText(double seconds);

}  // namespace irview

#endif  // IRVIEW_WINDOW_LISTEN_PANEL_H_
