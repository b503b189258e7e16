// A Desktop for the window tests: records every call and answers message
// boxes from a script. Program starts are recorded and, when a real desktop
// is attached, also carried out by it, so that tests can read back what a
// started process received.
#ifndef FRONTEND_TESTING_FAKE_DESKTOP_H_
#define FRONTEND_TESTING_FAKE_DESKTOP_H_

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "frontend/desktop/desktop.h"

namespace frontend {

class FakeDesktop : public Desktop {
 public:
  struct Start {
    QString program;
    QStringList arguments;
    QString workingFolder;
  };

  // Recorded calls, in order of arrival.
  QList<UserMessage> messages;
  QList<Start> starts;
  QList<Start> windowStarts;  // startWindowProgram
  // What startWindowProgram answers.
  bool windowProgramStarts = true;
  QList<FileDialogRequest> fileDialogs;
  QStringList openedManuals;  // the manual file of each Help
  int beeps = 0;
  int regionSettingsOpened = 0;
  int filterEditorRuns = 0;
  int programEnds = 0;

  // Answers for the coming Yes/No boxes; No when the script runs out.
  std::deque<MessageAnswer> answers;
  // Answers for the coming file dialogs: a path, or an empty text for a
  // cancel; a cancel when the script runs out.
  std::deque<QString> fileChoices;
  // What the filter editor leaves in FilterFileName when it closes.
  QString filterEditorResult;
  // When set, runs in place of the scripted editor (the real one, say).
  std::function<void(QString&)> filterEditor;
  // Carries out program starts when set (a QtDesktop).
  Desktop* processStarter = nullptr;

  MessageAnswer showMessage(const UserMessage& message) override {
    messages.append(message);
    if (message.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (answers.empty()) return MessageAnswer::No;
    const MessageAnswer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void beep() override { ++beeps; }
  std::optional<QString> chooseFile(const FileDialogRequest& request) override {
    fileDialogs.append(request);
    if (fileChoices.empty()) return std::nullopt;
    const QString choice = fileChoices.front();
    fileChoices.pop_front();
    if (choice.isEmpty()) return std::nullopt;
    return choice;
  }
  bool startProgram(const QString& program, const QStringList& arguments,
                    const QString& workingFolder) override {
    starts.append({program, arguments, workingFolder});
    return processStarter ? processStarter->startProgram(program, arguments, workingFolder) : true;
  }
  bool startWindowProgram(const QString& program, const QStringList& arguments,
                          const QString& workingFolder) override {
    windowStarts.append({program, arguments, workingFolder});
    return windowProgramStarts;
  }
  void openManual(const QString& manual) override { openedManuals.append(manual); }
  void openRegionSettings() override { ++regionSettingsOpened; }
  void runFilterEditor(QString& filterFileName) override {
    ++filterEditorRuns;
    if (filterEditor)
      filterEditor(filterFileName);
    else
      filterFileName = filterEditorResult;
  }
  void endProgram() override { ++programEnds; }
};

}  // namespace frontend

#endif  // FRONTEND_TESTING_FAKE_DESKTOP_H_
