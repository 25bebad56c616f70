// vexo1, Scrivano's companion: a page view that Scrivano drives through a local socket.
// Argument: "<launch token>" (automatic translation) or "<launch token>;<Scrivano window id>" (page
// extraction: the pages' text goes back to that window's socket).
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "companion/CompanionWindow.h"
#include "settings/ProgramPaths.h"
#include "web/CompanionProtocol.h"

namespace {

// The class every caller finds the companion's main window by (resource name and class alike).
constexpr char kWindowClass[] = "Afx:00400000:0";

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("RESOURCE_NAME", kWindowClass);
  // The page engine's own sandbox refuses to start for the superuser.
  if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
    qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QApplication::setApplicationName(QString::fromLatin1(kWindowClass));
  QApplication app(argc, argv);

  std::uint64_t replyWindow = 0;
  if (argc > 1) {
    const auto parsed = scrivano::companion::ParseLaunchArgument(argv[1]);
    if (!parsed) {
      std::fprintf(stderr, "vexo1: unknown argument \"%s\"; started without a Scrivano window\n", argv[1]);
    } else {
      replyWindow = *parsed;
    }
  }
  // The settings file lies in the work root's Data folder, beside Scrivano's config.ini (the same work
  // root Scrivano chooses, SCRIVANO_ROOT included).
  const scrivano::ProgramPaths paths = scrivano::ResolveProgramPaths(scrivano::OwnProgramFile());
  const QString settingsFile = QString::fromStdU16String(paths.dataFolder + u"/vexo1.ini");
  scrivano::companion::CCompanionWindow window(replyWindow, settingsFile);
  // Started for automatic translation (the token alone), it waits minimised until it is needed.
  const bool minimised = argc > 1 && replyWindow == 0;
  if (minimised)
    window.showMinimized();
  else
    window.show();
  // Served once the page view is ready: making it gives the window its final id (and shows it anew).
  window.WhenPageViewReady([&window, minimised] {
    if (minimised) window.showMinimized();
    if (!window.StartServing()) std::fprintf(stderr, "vexo1: no socket; Scrivano cannot reach this window\n");
  });
  return QApplication::exec();
}
