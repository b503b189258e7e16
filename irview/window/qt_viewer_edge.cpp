#include "irview/window/qt_viewer_edge.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QSettings>
#include <memory>

namespace irview {

namespace {

const QString kRecentKey = QStringLiteral("recentFiles");
const QString kRecentDryKey = QStringLiteral("recentDrySignals");

std::unique_ptr<QSettings> settings(const QString& file) {
  if (file.isEmpty())
    return std::make_unique<QSettings>(QStringLiteral("irview"), QStringLiteral("irview"));
  return std::make_unique<QSettings>(file, QSettings::IniFormat);
}

QString exportFilter(ExportKind kind) {
  switch (kind) {
    case ExportKind::Png:
      return QStringLiteral("PNG images (*.png)");
    case ExportKind::Svg:
      return QStringLiteral("SVG drawings (*.svg)");
    case ExportKind::Csv:
      return QStringLiteral("CSV tables (*.csv)");
    case ExportKind::Audio:
      return QStringLiteral("WAVE files (*.wav);;FLAC files (*.flac)");
  }
  return QString();
}

}  // namespace

QtViewerEdge::QtViewerEdge(QWidget* parent, QString settingsFile)
    : parent_(parent), settingsFile_(std::move(settingsFile)) {}

QStringList QtViewerEdge::chooseFilesToOpen() {
  // Qt's own dialog: its name filters match any case of a suffix.
  const QStringList files = QFileDialog::getOpenFileNames(
      parent_, QStringLiteral("Open impulse responses"), lastFolder_,
      QStringLiteral("Impulse responses (*.tim *.wav *.wave *.rf64 *.aif *.aiff *.flac);;"
                     "All files (*)"),
      nullptr, QFileDialog::DontUseNativeDialog);
  if (!files.isEmpty()) lastFolder_ = QFileInfo(files.first()).absolutePath();
  return files;
}

QString QtViewerEdge::chooseDrySignal() {
  const QString file = QFileDialog::getOpenFileName(
      parent_, QStringLiteral("Open dry signal"), lastFolder_,
      QStringLiteral("Audio files (*.wav *.wave *.rf64 *.aif *.aiff *.flac);;All files (*)"),
      nullptr, QFileDialog::DontUseNativeDialog);
  if (!file.isEmpty()) lastFolder_ = QFileInfo(file).absolutePath();
  return file;
}

QString QtViewerEdge::chooseExportFile(ExportKind kind, const QString& suggestedName) {
  const QString path = QFileDialog::getSaveFileName(
      parent_, QStringLiteral("Export"), QDir(lastFolder_).filePath(suggestedName),
      exportFilter(kind), nullptr, QFileDialog::DontUseNativeDialog);
  if (!path.isEmpty()) lastFolder_ = QFileInfo(path).absolutePath();
  return path;
}

void QtViewerEdge::showMessage(const ViewerMessage& message) {
  QMessageBox box(message.icon == ViewerMessage::Icon::Warning ? QMessageBox::Warning
                                                               : QMessageBox::Information,
                  message.title, message.text, QMessageBox::Ok, parent_);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

QString QtViewerEdge::writeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    const QString problem = file.errorString();
    file.cancelWriting();
    return problem;
  }
  if (!file.commit()) return file.errorString();
  return QString();
}

QStringList QtViewerEdge::loadRecentFiles() {
  return settings(settingsFile_)->value(kRecentKey).toStringList();
}

void QtViewerEdge::storeRecentFiles(const QStringList& files) {
  settings(settingsFile_)->setValue(kRecentKey, files);
}

}  // namespace irview

namespace irview {

QStringList QtViewerEdge::loadRecentDrySignals() {
  return settings(settingsFile_)->value(kRecentDryKey).toStringList();
}

void QtViewerEdge::storeRecentDrySignals(const QStringList& files) {
  settings(settingsFile_)->setValue(kRecentDryKey, files);
}

}  // namespace irview
