#include "frontend/qt_desktop/qt_desktop.h"

#include <algorithm>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include "frontend/desktop/messages.h"
#include "frontend/desktop/platform.h"
#include "frontend/filter_editor/filter_editor.h"
#include "frontend/launch/command_words.h"
#include "frontend/manual/manual_window.h"
#include "frontend/manual/web_archive.h"
#include "frontend/qt_desktop/close_request.h"
#include "frontend/startup/regional_check.h"
#include "frontend/startup/work_dir.h"
#include "frontend/widgets/enter_repeats.h"

namespace frontend {

QString displayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

void storeNoSettings() {
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

namespace {

// The title, text and icon of `message` on `box`.
void fillBox(QMessageBox& box, const UserMessage& message) {
  box.setWindowTitle(message.title);
  box.setTextFormat(Qt::PlainText);
  box.setText(displayText(message.text));
  switch (message.icon) {
    case MessageIcon::None:
      box.setIcon(QMessageBox::NoIcon);
      break;
    case MessageIcon::Critical:
      box.setIcon(QMessageBox::Critical);
      break;
    case MessageIcon::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
  }
}

}  // namespace

MessageAnswer QtDesktop::showMessage(const UserMessage& message) {
  QMessageBox box(parent_);
  fillBox(box, message);
  if (message.buttons == MessageButtons::YesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    // The Enter key that opened the box may still be held down.
    for (QAbstractButton* button : box.buttons()) ignoreEnterRepeats(button);
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  for (QAbstractButton* button : box.buttons()) ignoreEnterRepeats(button);
  box.exec();
  return MessageAnswer::Ok;
}

void QtDesktop::beep() { QApplication::beep(); }

namespace {

bool isNamePattern(const QString& name) {
  return name.contains(u'*') || name.contains(u'?');
}

}  // namespace

std::optional<QString> QtDesktop::chooseFile(const FileDialogRequest& request) {
  QFileDialog dialog(parent_);
  // Qt's own dialog everywhere but Windows: its name filters match any case
  // of an extension ("*.WAV" lists take1.wav), which the desktops' native
  // dialogs on Linux do not.
  if constexpr (kHostPlatform != Platform::Windows)
    dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(request.kind == FileDialogKind::SaveAs ? QFileDialog::AcceptSave
                                                              : QFileDialog::AcceptOpen);
  const QStringList filters = qtNameFilters(request.filter);
  dialog.setNameFilters(filters);
  if (!filters.isEmpty()) dialog.selectNameFilter(filters.first());
  const QString folder = !request.startFolder.isEmpty() ? request.startFolder : lastFolder_;
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  if (!request.initialName.isEmpty()) dialog.selectFile(request.initialName);
  for (;;) {
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
    const QFileInfo file(chosen.first());
    if (!isNamePattern(file.fileName())) {
      lastFolder_ = file.absolutePath();
      return QDir::toNativeSeparators(file.filePath());
    }
    // Qt's dialog returns a pattern in its name box ("*.WAV", the initial
    // name of most dialogs) as if it named a file. Like the Windows dialogs,
    // take it as a filter instead and ask again in the same folder.
    const QString typed = file.fileName();
    QStringList patterns = dialog.nameFilters();
    dialog.setDirectory(file.absolutePath());
    const auto same = std::find_if(patterns.begin(), patterns.end(), [&](const QString& f) {
      return f.endsWith(QStringLiteral("(%1)").arg(typed), Qt::CaseInsensitive);
    });
    if (same == patterns.end()) {
      patterns.append(typed);
      dialog.setNameFilters(patterns);
      dialog.selectNameFilter(typed);
    } else {
      dialog.selectNameFilter(*same);
    }
    dialog.selectFile(QString());
  }
}

bool QtDesktop::startProgram(const QString& program, const QStringList& arguments,
                             const QString& workingFolder) {
  if constexpr (kHostPlatform != Platform::Windows) {
    const std::optional<StartRequest> terminal =
        terminalStart({program, arguments}, workingFolder, terminal_,
                      [](const QString& name) { return QStandardPaths::findExecutable(name); });
    if (terminal) return startDetached(terminal->program, terminal->arguments, workingFolder);
    // No display or no terminal: the output is captured and the outcome
    // told when the converter ends.
    return runs_.start({program, arguments}, workingFolder,
                       [this, program, workingFolder](const RunOutcome& outcome) {
                         reportOutcome(program, workingFolder, outcome);
                       });
  }
  // Windows: the detached start as before. (A console window of its own on
  // Windows is not arranged here.)
  return startDetached(program, arguments, workingFolder);
}

bool QtDesktop::startWindowProgram(const QString& program, const QStringList& arguments,
                                   const QString& workingFolder) {
  return startDetached(program, arguments, workingFolder);
}

void QtDesktop::reportOutcome(const QString& program, const QString& folder,
                              const RunOutcome& outcome) {
  if (outcome.exitStatus != 0)
    showNotice(conversionFailedMessage(program, outcome.exitStatus, outcome.lastLines), parent_);
  else
    notifier_.notify(conversionFinishedNotice(program, folder));
}

void QtDesktop::showNotice(const UserMessage& message, QWidget* over) {
  auto* box = new QMessageBox(over);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  fillBox(*box, message);
  // What a converter printed may be worth copying.
  box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  box->setStandardButtons(QMessageBox::Ok);
  for (QAbstractButton* button : box->buttons()) ignoreEnterRepeats(button);
  box->show();
  notices_.removeAll(QPointer<QWidget>());
  notices_.append(box);
}

QtDesktop::~QtDesktop() {
  delete manualWindow_.data();
  for (const QPointer<QWidget>& notice : std::as_const(notices_)) delete notice.data();
}

TerminalSettings systemTerminalSettings() {
  const QString platform = QGuiApplication::platformName();
  TerminalSettings settings;
  settings.displayAvailable =
      (!qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) &&
      platform != u"offscreen" && platform != u"minimal";
  settings.preferred = qEnvironmentVariable("TERMINAL");
  return settings;
}

bool QtDesktop::startDetached(const QString& program, const QStringList& arguments,
                              const QString& workingFolder) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(workingFolder);
  process.setStandardInputFile(QProcess::nullDevice());
  return process.startDetached();
}

bool QtDesktop::startCommandLine(const QString& commandLine) {
  QStringList words = splitCommandWords(commandLine);
  if (words.isEmpty()) return false;
  const QString program = words.takeFirst();
  return QProcess::startDetached(program, words);
}

// The two desktops differ here only. Windows runs the design's own command
// lines: Explorer for the manual and the Control Panel's regional settings.
// Elsewhere the default viewer opens the manual, and a region settings
// panel, when one is installed, stands in for the Control Panel.

void QtDesktop::openManual(const QString& manual) {
  if constexpr (kHostPlatform == Platform::Windows) {
    if (!startCommandLine(windowsHelpCommandLine(manual)))
      showMessage(manualNotOpenedMessage(manual));
    return;
  }
  QFile file(manual);
  if (!file.open(QIODevice::ReadOnly)) {
    showMessage(manualUnreadableMessage(
        manual, file.exists() ? QStringLiteral("it cannot be read (%1)").arg(file.errorString())
                              : QStringLiteral("it is not there")));
    return;
  }
  auto read = readWebArchive(file.readAll());
  if (const auto* error = std::get_if<ArchiveError>(&read)) {
    showMessage(manualUnreadableMessage(manual, error->reason));
    return;
  }
  auto* window = static_cast<ManualWindow*>(manualWindow_.data());
  if (!window) {
    // A window of its own, not kept above the main window; the program
    // ends when the main window closes, and this one goes with it.
    window = new ManualWindow(
        [this](const QUrl& target) { openWithDefaultViewer(target, manualWindow_); });
    window->setAttribute(Qt::WA_DeleteOnClose);
    manualWindow_ = window;
  }
  window->showArchive(std::get<WebArchive>(std::move(read)), manual);
  window->show();
  window->raise();
  window->activateWindow();
}

void QtDesktop::openWithDefaultViewer(const QUrl& target, QWidget* over) {
  const QString shown = target.isLocalFile() ? target.toLocalFile() : target.toString();
  const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  // xdg-open ends with a non-zero status when no program takes the file.
  const bool started =
      !opener.isEmpty() &&
      runs_.start({opener, {shown}}, QDir::homePath(),
                  [this, shown, over = QPointer<QWidget>(over)](const RunOutcome& outcome) {
                    if (outcome.exitStatus != 0)
                      showNotice(manualNotOpenedMessage(shown), over ? over.data() : parent_);
                  });
  if (!started) showNotice(manualNotOpenedMessage(shown), over);
}

void QtDesktop::openRegionSettings() {
  if constexpr (kHostPlatform == Platform::Windows) {
    startCommandLine(QString::fromLatin1(kWindowsRegionalPanelCommand));
    return;
  }
  const std::optional<SettingsPanel> panel = findRegionSettingsPanel(
      [](const QString& program) { return QStandardPaths::findExecutable(program); });
  if (!panel || !startDetached(panel->program, panel->arguments, QString()))
    showMessage(regionalSettingsHint());
}

const QList<SettingsPanel>& regionSettingsPanels() {
  static const QList<SettingsPanel> panels = {
      {QStringLiteral("gnome-control-center"), {QStringLiteral("region")}},
      {QStringLiteral("systemsettings"), {QStringLiteral("kcm_regionandlang")}},
      {QStringLiteral("lxqt-config-locale"), {}},
  };
  return panels;
}

std::optional<SettingsPanel> findRegionSettingsPanel(
    const std::function<QString(const QString&)>& findExecutable) {
  for (const SettingsPanel& panel : regionSettingsPanels()) {
    const QString path = findExecutable(panel.program);
    if (!path.isEmpty()) return SettingsPanel{path, panel.arguments};
  }
  return std::nullopt;
}

void QtDesktop::runFilterEditor(QString& filterFileName) {
  // The editor blocks the main window, whose close box still closes it.
  const PassCloseRequests closeBox(parent_);
  frontend::runFilterEditor(*this, filterFileName, parent_);
}

void QtDesktop::endProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace frontend
