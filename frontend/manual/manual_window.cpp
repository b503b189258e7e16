#include "frontend/manual/manual_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextBrowser>
#include <QToolBar>

namespace frontend {

namespace {

// A text browser whose pages, style sheets and images all come out of one
// web archive.
class ArchiveBrowser : public QTextBrowser {
 public:
  using QTextBrowser::QTextBrowser;

  void setArchive(WebArchive archive) { archive_ = std::move(archive); }
  const WebArchive& archive() const { return archive_; }

  QVariant loadResource(int type, const QUrl& name) override {
    const ArchivePart* part = findPart(archive_, document()->baseUrl().resolved(name));
    if (!part) return {};
    if (type == QTextDocument::ImageResource) return part->body;
    return partText(*part);
  }

 private:
  WebArchive archive_;
};

ArchiveBrowser* archiveBrowser(QTextBrowser* browser) {
  return static_cast<ArchiveBrowser*>(browser);
}

}  // namespace

ManualWindow::ManualWindow(OpenExternally openExternally, QWidget* parent)
    : QMainWindow(parent), openExternally_(std::move(openExternally)) {
  setObjectName(QStringLiteral("manual"));
  // Closing the main window ends the program even while the manual is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(780, 640);

  browser_ = new ArchiveBrowser(this);
  browser_->setObjectName(QStringLiteral("manualBrowser"));
  browser_->setOpenLinks(false);
  setCentralWidget(browser_);
  connect(browser_, &QTextBrowser::anchorClicked, this, &ManualWindow::followLink);

  QToolBar* tools = addToolBar(QStringLiteral("Manual"));
  tools->setObjectName(QStringLiteral("manualTools"));
  tools->setMovable(false);
  QAction* back = tools->addAction(QStringLiteral("Back"), browser_, &QTextBrowser::backward);
  back->setObjectName(QStringLiteral("back"));
  back->setShortcut(QKeySequence::Back);
  back->setEnabled(false);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  QAction* findAction = tools->addAction(QStringLiteral("Find"), this, &ManualWindow::showFindBar);
  findAction->setObjectName(QStringLiteral("find"));
  findAction->setShortcut(QKeySequence::Find);
  QAction* open =
      tools->addAction(QStringLiteral("Open in browser"), this, &ManualWindow::openInBrowser);
  open->setObjectName(QStringLiteral("openInBrowser"));

  // The find bar, at the bottom, hidden until Ctrl+F.
  findBar_ = new QToolBar(QStringLiteral("Find"), this);
  findBar_->setObjectName(QStringLiteral("findBar"));
  findBar_->setMovable(false);
  addToolBar(Qt::BottomToolBarArea, findBar_);
  findBar_->addWidget(new QLabel(QStringLiteral("Find: "), findBar_));
  findField_ = new QLineEdit(findBar_);
  findField_->setObjectName(QStringLiteral("findField"));
  findField_->setClearButtonEnabled(true);
  findField_->installEventFilter(this);
  findBar_->addWidget(findField_);
  QAction* next = findBar_->addAction(QStringLiteral("Next"), this, &ManualWindow::findNext);
  next->setShortcut(QKeySequence::FindNext);
  QAction* previous =
      findBar_->addAction(QStringLiteral("Previous"), this, &ManualWindow::findPrevious);
  previous->setShortcut(QKeySequence::FindPrevious);
  findStatus_ = new QLabel(findBar_);
  findStatus_->setObjectName(QStringLiteral("findStatus"));
  findBar_->addWidget(findStatus_);
  findBar_->hide();
  // The shortcuts of the find bar's actions work while it is hidden too.
  addAction(next);
  addAction(previous);
  connect(findField_, &QLineEdit::returnPressed, this, &ManualWindow::findNext);
  connect(findField_, &QLineEdit::textEdited, this, [this] { find(false, true); });
}

void ManualWindow::showArchive(WebArchive archive, const QString& path) {
  path_ = path;
  auto* browser = archiveBrowser(browser_);
  const QUrl root = partUrl(archive, archive.root);
  browser->setArchive(std::move(archive));
  browser->clearHistory();
  // The same address again would keep the page of an earlier archive.
  browser->setSource(QUrl());
  browser->setSource(root, QTextDocument::HtmlResource);
  const QString title = browser->documentTitle();
  setWindowTitle(title.isEmpty() ? QStringLiteral("Sonabrix Manual") : title);
}

void ManualWindow::showFindBar() {
  findBar_->show();
  findField_->setFocus(Qt::ShortcutFocusReason);
  findField_->selectAll();
}

void ManualWindow::findNext() { find(false, false); }
void ManualWindow::findPrevious() { find(true, false); }

void ManualWindow::find(bool backward, bool fromSelectionStart) {
  const QString text = findField_->text();
  findStatus_->clear();
  if (text.isEmpty()) return;
  if (fromSelectionStart) {
    // Typing widens or narrows the match in place.
    QTextCursor cursor = browser_->textCursor();
    cursor.setPosition(cursor.selectionStart());
    browser_->setTextCursor(cursor);
  }
  const QTextDocument::FindFlags flags =
      backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
  if (browser_->find(text, flags)) return;
  const QTextCursor before = browser_->textCursor();
  QTextCursor wrapped = before;
  wrapped.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
  browser_->setTextCursor(wrapped);
  if (browser_->find(text, flags)) return;
  browser_->setTextCursor(before);
  findStatus_->setText(QStringLiteral("  Not found"));
}

void ManualWindow::openInBrowser() {
  if (openExternally_ && !path_.isEmpty()) openExternally_(QUrl::fromLocalFile(path_));
}

void ManualWindow::followLink(const QUrl& url) {
  const QUrl target = browser_->source().resolved(url);
  const QUrl page = target.adjusted(QUrl::RemoveFragment);
  const ArchivePart* part = findPart(archiveBrowser(browser_)->archive(), page);
  if (page == browser_->source().adjusted(QUrl::RemoveFragment) ||
      (part && part->contentType == u"text/html")) {
    browser_->setSource(target, QTextDocument::HtmlResource);
    return;
  }
  // A link of the archive's own kinds that the archive lacks leads nowhere.
  static const QStringList kArchiveSchemes = {QStringLiteral("file"), QStringLiteral("cid"),
                                              QStringLiteral("mid"), QStringLiteral("mhtml")};
  if (openExternally_ && !url.isRelative() && !kArchiveSchemes.contains(url.scheme()))
    openExternally_(url);
}

bool ManualWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == findField_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape) {
      findBar_->hide();
      browser_->setFocus();
      return true;
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        key->modifiers() & Qt::ShiftModifier) {
      findPrevious();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace frontend
