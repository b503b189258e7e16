#include "frontend/qt_desktop.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "frontend/command_words.h"
#include "frontend/enter_repeats.h"
#include "frontend/messages.h"
#include "frontend/platform.h"
#include "frontend/regional_check.h"
#include "frontend/work_dir.h"

namespace frontend {

QString displayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return shown;
}

MessageAnswer QtDesktop::showMessage(const UserMessage& message) {
  QMessageBox box(parent_);
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
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.first().isEmpty()) return std::nullopt;
  lastFolder_ = QFileInfo(chosen.first()).absolutePath();
  return QDir::toNativeSeparators(chosen.first());
}

bool QtDesktop::startProgram(const QString& program, const QStringList& arguments,
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

bool QtDesktop::openManual(const QString& workDir) {
  if constexpr (kHostPlatform == Platform::Windows)
    return startCommandLine(windowsHelpCommandLine(workDir));
  // openUrl succeeds as soon as the desktop's launcher (xdg-open) starts;
  // whether a viewer then takes the file is not known here. So false means
  // that nothing could be started to open the manual.
  return QDesktopServices::openUrl(
      QUrl::fromLocalFile(manualPath(workDir, Platform::Linux)));
}

void QtDesktop::openRegionSettings() {
  if constexpr (kHostPlatform == Platform::Windows) {
    startCommandLine(QString::fromLatin1(kWindowsRegionalPanelCommand));
    return;
  }
  const std::optional<SettingsPanel> panel = findRegionSettingsPanel(
      [](const QString& program) { return QStandardPaths::findExecutable(program); });
  if (!panel || !startProgram(panel->program, panel->arguments, QString()))
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
  // The filter editor window is not part of this build yet: the current
  // filter file stays as it is.
  (void)filterFileName;
}

void QtDesktop::endProgram() {
  QApplication::closeAllWindows();
  QCoreApplication::exit(0);
}

}  // namespace frontend
