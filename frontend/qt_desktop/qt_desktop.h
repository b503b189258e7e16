// The real desktop edge on Qt: message boxes, the beep, file dialogs,
// converters in a terminal or detached, the manual's viewer and the region
// settings panel. The only place where Windows and Linux desktops are told
// apart.
#ifndef FRONTEND_QT_DESKTOP_QT_DESKTOP_H_
#define FRONTEND_QT_DESKTOP_QT_DESKTOP_H_

#include <QList>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <optional>

#include "frontend/desktop/desktop.h"
#include "frontend/run/terminal.h"
#include "frontend/qt_desktop/captured_runs.h"
#include "frontend/qt_desktop/desktop_notifier.h"

class QWidget;

namespace frontend {

class QtDesktop : public Desktop {
 public:
  // Message boxes are parented to the widget set here (the main window), so
  // that they stay centred on top of it.
  // Converters start in a terminal as `terminal` allows; the default,
  // without a display, captures their output (tests rely on that).
  explicit QtDesktop(QWidget* parent = nullptr, TerminalSettings terminal = {})
      : parent_(parent), terminal_(std::move(terminal)) {}
  // Closes the manual's window and the message boxes still open.
  ~QtDesktop() override;
  QtDesktop(const QtDesktop&) = delete;
  QtDesktop& operator=(const QtDesktop&) = delete;
  void setParentWidget(QWidget* parent) { parent_ = parent; }

  MessageAnswer showMessage(const UserMessage& message) override;
  void beep() override;
  std::optional<QString> chooseFile(const FileDialogRequest& request) override;
  bool startProgram(const QString& program, const QStringList& arguments,
                    const QString& workingFolder) override;
  bool startWindowProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder) override;
  void openManual(const QString& manual) override;
  void openRegionSettings() override;
  void runFilterEditor(QString& filterFileName) override;
  void endProgram() override;

  // Opens `target` (the manual file, or a web link of the manual) with the
  // desktop's default viewer, xdg-open, without waiting; when it is not
  // installed or ends with a failure, a message box over `over` says so.
  void openWithDefaultViewer(const QUrl& target, QWidget* over);

  // Where desktop notifications go (tests: a private bus).
  DesktopNotifier& notifier() { return notifier_; }
  // The manual's window, once Help has opened it.
  QWidget* manualWindow() const { return manualWindow_; }

 private:
  // A message box that blocks nothing: it stays until closed, while the
  // windows go on working.
  void showNotice(const UserMessage& message, QWidget* over);
  // Tells the user how a converter run without a terminal ended.
  void reportOutcome(const QString& program, const QString& folder, const RunOutcome& outcome);

  // Starts a command line split into words by the Windows rules, detached.
  // On Windows the words are joined again by single blanks; for the fixed
  // lines started here, which hold no quotes, that gives back the line as
  // built, blanks in the manual's path included.
  bool startCommandLine(const QString& commandLine);
  // Starts a program detached, standard input from the null device.
  static bool startDetached(const QString& program, const QStringList& arguments,
                            const QString& workingFolder);

  QWidget* parent_;
  TerminalSettings terminal_;
  CapturedRuns runs_;
  DesktopNotifier notifier_;
  QPointer<QWidget> manualWindow_;
  QList<QPointer<QWidget>> notices_;
  // The folder of the last file chosen in any dialog, where a dialog
  // without a start folder opens.
  QString lastFolder_;
};

// A region settings panel: a program and its arguments.
struct SettingsPanel {
  QString program;
  QStringList arguments;
};

// The panels of the common desktops, in the order they are tried.
const QList<SettingsPanel>& regionSettingsPanels();

// The first panel whose program `findExecutable` finds (it returns the full
// path, or an empty text), with `program` set to that path; nullopt when
// none is installed.
std::optional<SettingsPanel> findRegionSettingsPanel(
    const std::function<QString(const QString&)>& findExecutable);

// The terminal settings of this process: $TERMINAL, and a display when
// DISPLAY or WAYLAND_DISPLAY is set and Qt draws on a real screen (not on
// the offscreen or minimal platform of tests). Needs the QGuiApplication.
TerminalSettings systemTerminalSettings();

// Qt's file dialog keeps its last folder and its history in the user's
// QtProject.conf. Sonabrix stores no settings between runs, so Qt's own
// user settings are given a place where nothing can be written or read
// (under /dev/null, which is never a folder). Call once at start-up.
void storeNoSettings();

// Message texts break lines with a lone carriage return; Qt's labels break
// only at line feeds, so each CR, alone or before a LF, becomes one LF.
QString displayText(const QString& text);

}  // namespace frontend

#endif  // FRONTEND_QT_DESKTOP_QT_DESKTOP_H_
