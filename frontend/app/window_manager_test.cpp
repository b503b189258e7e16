// The built program under a window manager that draws frames (openbox) on
// a private X server: the filter editor docks frame to frame beside the
// main window, and asks for a fixed dialog border without minimise or
// maximise. Geometry and hints are read from the X server.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

#include "frontend/testing/scoped_environment.h"
#include "frontend/testing/x_session.h"
#include "frontend/widgets/twips.h"

namespace frontend {
namespace {

#ifdef FRONTEND_HAVE_XCB
bool holds(const std::vector<uint32_t>& items, uint32_t item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

// Motif window-manager hints: the fields, and the bits of functions and
// decorations that minimise and maximise.
constexpr uint32_t kMotifFunctions = 1, kMotifDecorations = 2;
constexpr uint32_t kMotifFunctionMinimize = 8, kMotifFunctionMaximize = 16;
constexpr uint32_t kMotifDecorMinimize = 32, kMotifDecorMaximize = 64;
// WM_NORMAL_HINTS: the flags of a minimum and a maximum size.
constexpr uint32_t kMinSize = 16, kMaxSize = 32;
#endif

TEST(WindowManagerTest, TheEditorDocksFrameToFrameAndAsksForAFixedDialogBorder) {
#ifdef FRONTEND_HAVE_XCB
  const QString xvfb = QStandardPaths::findExecutable("Xvfb");
  const QString openbox = QStandardPaths::findExecutable("openbox");
  if (xvfb.isEmpty() || openbox.isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
    GTEST_SKIP() << "needs Xvfb, openbox and xdotool (scripts/install-deps.sh installs them)";
  XServer server;
  if (!server.start(xvfb, "1280x1024x24")) GTEST_SKIP() << "Xvfb did not start a display";
  const ScopedEnvironment display("DISPLAY", server.display().toUtf8());
  XConnection x(server.display());
  ASSERT_TRUE(x.ok());

  // openbox with its own home, so that nothing of the user's is read or
  // written.
  QTemporaryDir home;
  QProcessEnvironment managerEnvironment = QProcessEnvironment::systemEnvironment();
  managerEnvironment.insert("HOME", home.path());
  managerEnvironment.insert("XDG_CONFIG_HOME", home.filePath("config"));
  managerEnvironment.insert("XDG_CACHE_HOME", home.filePath("cache"));
  QProcess windowManager;
  windowManager.setProcessEnvironment(managerEnvironment);
  windowManager.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  windowManager.start(openbox, {"--sm-disable"});
  ASSERT_TRUE(windowManager.waitForStarted(10000));
  ASSERT_TRUE(waitFor([&] { return !x.property32(x.root(), "_NET_SUPPORTING_WM_CHECK").empty(); }))
      << "openbox did not take the display";

  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.remove("QT_QPA_PLATFORM");
  environment.insert("LC_ALL", "en_US.UTF-8");
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(SONABRIX_PROGRAM), {"VERATOTIM"});
  ASSERT_TRUE(program.waitForStarted(10000));
  const QString mainId = waitForWindow("^Sonabrix");
  ASSERT_FALSE(mainId.isEmpty()) << "no main window";
  const uint32_t main = mainId.toUInt();
  // The main window in its frame, a title bar above it.
  ASSERT_TRUE(waitFor([&] { return x.frameGeometry(main).top() < x.clientGeometry(main).top(); }))
      << "openbox drew no frame";

  // A click on the "Octave Filter" caption.
  runXdotool({"mousemove", "--sync", "--window", mainId, QString::number(twipsToPixels(5000, 96)),
              QString::number(twipsToPixels(2076, 96)), "click", "1"});
  const QString editorId = waitForWindow("^Octave Band Equalizer$");
  ASSERT_FALSE(editorId.isEmpty()) << "no editor";
  const uint32_t editor = editorId.toUInt();

  const QRect mainFrame = x.frameGeometry(main);
  const QPoint docked(mainFrame.left() + mainFrame.width(), mainFrame.top());
  // The window manager frames and places the editor after it is mapped.
  waitFor([&] {
    return x.frameGeometry(editor).topLeft() == docked &&
           x.frameGeometry(editor) != x.clientGeometry(editor);
  });
  const QRect editorFrame = x.frameGeometry(editor);
  EXPECT_EQ(editorFrame.top(), mainFrame.top()) << "frame tops differ";
  EXPECT_EQ(editorFrame.left(), mainFrame.left() + mainFrame.width())
      << "the editor's frame does not start at the main window's frame right edge";
  EXPECT_LT(editorFrame.top(), x.clientGeometry(editor).top()) << "the editor has no title bar";
  EXPECT_EQ(mainFrame, x.frameGeometry(main)) << "the main window moved";

  // What the editor asks of the window manager: a dialog of fixed size...
  const std::vector<uint32_t> type = x.property32(editor, "_NET_WM_WINDOW_TYPE");
  ASSERT_FALSE(type.empty());
  EXPECT_EQ(type.front(), x.atom("_NET_WM_WINDOW_TYPE_DIALOG"));
  EXPECT_TRUE(holds(x.property32(editor, "_NET_WM_STATE"), x.atom("_NET_WM_STATE_MODAL")));
  const std::vector<uint32_t> size = x.property32(editor, "WM_NORMAL_HINTS");
  ASSERT_GE(size.size(), 9u);
  const QRect client = x.clientGeometry(editor);
  EXPECT_EQ(size[0] & (kMinSize | kMaxSize), kMinSize | kMaxSize);
  EXPECT_EQ(QSize(int(size[5]), int(size[6])), client.size()) << "minimum size";
  EXPECT_EQ(QSize(int(size[7]), int(size[8])), client.size()) << "maximum size";
  // ... with neither a minimise nor a maximise function or button.
  const std::vector<uint32_t> motif = x.property32(editor, "_MOTIF_WM_HINTS");
  ASSERT_GE(motif.size(), 3u);
  EXPECT_EQ(motif[0] & (kMotifFunctions | kMotifDecorations), kMotifFunctions | kMotifDecorations);
  EXPECT_EQ(motif[1] & (kMotifFunctionMinimize | kMotifFunctionMaximize), 0u);
  EXPECT_EQ(motif[2] & (kMotifDecorMinimize | kMotifDecorMaximize), 0u);
  // openbox follows the size: no resizing, no maximising. (It keeps
  // minimising for every dialog whatever the hints say.)
  const std::vector<uint32_t> allowed = x.property32(editor, "_NET_WM_ALLOWED_ACTIONS");
  ASSERT_FALSE(allowed.empty());
  EXPECT_FALSE(holds(allowed, x.atom("_NET_WM_ACTION_RESIZE")));
  EXPECT_FALSE(holds(allowed, x.atom("_NET_WM_ACTION_MAXIMIZE_HORZ")));
  EXPECT_FALSE(holds(allowed, x.atom("_NET_WM_ACTION_MAXIMIZE_VERT")));

  program.kill();
  program.waitForFinished(10000);
  windowManager.kill();
  windowManager.waitForFinished(10000);
#else
  GTEST_SKIP() << "built without the X11 client library";
#endif
}

}  // namespace
}  // namespace frontend
