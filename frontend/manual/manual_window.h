// The manual's own window: the pages of a web archive shown by a text
// browser that takes every page and image out of the archive (nothing is
// read from the file system or the network), a find bar (Ctrl+F, F3 and
// Shift+F3, Escape closes it), Back, and "Open in browser", which hands the
// archive file to the desktop's default viewer through a callback.
#ifndef FRONTEND_MANUAL_MANUAL_WINDOW_H_
#define FRONTEND_MANUAL_MANUAL_WINDOW_H_

#include <QMainWindow>
#include <QString>
#include <QUrl>
#include <functional>

#include "frontend/manual/web_archive.h"

class QLabel;
class QLineEdit;
class QTextBrowser;
class QToolBar;

namespace frontend {

class ManualWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Receives what is to open outside the window: the archive file ("Open in
  // browser") or a link that leads out of the archive (http:, mailto:).
  using OpenExternally = std::function<void(const QUrl& target)>;

  explicit ManualWindow(OpenExternally openExternally, QWidget* parent = nullptr);

  // Shows the root page of `archive`, read from the file `path`; the title
  // is the page's title.
  void showArchive(WebArchive archive, const QString& path);

  const QString& archivePath() const { return path_; }

 public slots:
  // Ctrl+F: shows the find bar with its text selected.
  void showFindBar();
  // The next or previous place of the find bar's text, round the end of the
  // page; the bar says so when there is none.
  void findNext();
  void findPrevious();
  // "Open in browser": the archive file to the default viewer.
  void openInBrowser();
  // A link clicked: a place in the page or another page of the archive is
  // shown here, anything else opens outside.
  void followLink(const QUrl& url);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void find(bool backward, bool fromSelectionStart);

  OpenExternally openExternally_;
  QString path_;
  QTextBrowser* browser_ = nullptr;
  QToolBar* findBar_ = nullptr;
  QLineEdit* findField_ = nullptr;
  QLabel* findStatus_ = nullptr;
};

}  // namespace frontend

#endif  // FRONTEND_MANUAL_MANUAL_WINDOW_H_
