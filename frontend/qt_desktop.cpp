#include "frontend/qt_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "frontend/messages.h"

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
    return box.exec() == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
  }
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return MessageAnswer::Ok;
}

void QtDesktop::beep() { QApplication::beep(); }

bool QtDesktop::startProgram(const QString& program, const QStringList& arguments,
                             const QString& workingFolder) {
  QProcess process;
  process.setProgram(program);
  process.setArguments(arguments);
  process.setWorkingDirectory(workingFolder);
  process.setStandardInputFile(QProcess::nullDevice());
  return process.startDetached();
}

bool QtDesktop::openDocument(const QString& path) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
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

void QtDesktop::openRegionSettings() {
  const std::optional<SettingsPanel> panel = findRegionSettingsPanel(
      [](const QString& program) { return QStandardPaths::findExecutable(program); });
  if (!panel || !startProgram(panel->program, panel->arguments, QString()))
    showMessage(regionalSettingsHint());
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
