#include "frontend/qt_desktop/captured_runs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "frontend/run/captured_run.h"

namespace frontend {

namespace {

// The end of a capture file and whether it is the whole file.
QByteArray outputTail(const QString& path, bool* whole) {
  QFile file(path);
  *whole = true;
  if (!file.open(QIODevice::ReadOnly)) return {};
  const qint64 size = file.size();
  if (size > kOutputTailBytes) {
    *whole = false;
    file.seek(size - kOutputTailBytes);
  }
  return file.read(kOutputTailBytes);
}

}  // namespace

CapturedRuns::CapturedRuns(QObject* parent) : QObject(parent) {
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &CapturedRuns::collectEnded);
}

CapturedRuns::~CapturedRuns() = default;

bool CapturedRuns::start(const StartRequest& request, const QString& folder, Report report) {
  // The shell would start whatever it is given and only then fail.
  const QFileInfo program(QDir(folder).absoluteFilePath(request.program));
  if (!program.isFile() || !program.isExecutable()) return false;
  if (!folder_) {
    folder_ = std::make_unique<QTemporaryDir>(QDir::temp().filePath("sonabrix-XXXXXX"));
    if (!folder_->isValid()) {
      folder_.reset();
      return false;
    }
    watcher_.addPath(folder_->path());
  }
  const QString base = folder_->filePath(QString::number(++started_));
  Run run{base + ".status", base + ".out", std::move(report), 0};

  const StartRequest start = capturedRunStart(request, run.statusFile);
  QProcess process;
  process.setProgram(start.program);
  process.setArguments(start.arguments);
  process.setWorkingDirectory(folder);
  process.setStandardInputFile(QProcess::nullDevice());
  // Both streams append to one file, so that their lines keep their order.
  process.setStandardOutputFile(run.outputFile, QIODevice::Append);
  process.setStandardErrorFile(run.outputFile, QIODevice::Append);
  if (!process.startDetached()) {
    QFile::remove(run.outputFile);
    return false;
  }
  runs_.push_back(std::move(run));
  return true;
}

void CapturedRuns::collectEnded() {
  // The ended runs leave the list before any report: a report may show a
  // message box, whose event loop calls this again.
  std::list<Run> ended;
  for (auto run = runs_.begin(); run != runs_.end();) {
    const auto next = std::next(run);
    QFile status(run->statusFile);
    if (status.open(QIODevice::ReadOnly)) {
      if (const std::optional<int> exitStatus = parseExitStatus(status.readAll())) {
        run->exitStatus = *exitStatus;
        ended.splice(ended.end(), runs_, run);
      }
    }
    run = next;
  }
  for (Run& run : ended) {
    bool whole = true;
    const QByteArray tail = outputTail(run.outputFile, &whole);
    QFile::remove(run.statusFile);
    QFile::remove(run.outputFile);
    run.report({run.exitStatus, lastOutputLines(tail, whole, kShownOutputLines)});
  }
}

}  // namespace frontend
