// scrivano: the desktop workbench.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "app/ScrivanoApp.h"
#include "capture/OfficeMacro.h"
#include "settings/ProgramPaths.h"

namespace {

// The last resort: an exception that nothing caught (on any thread) or an out-of-memory failure ends the
// program with one line that says what happened, instead of a bare abort. The Input text is already on
// disk (it is written shortly after every change).
[[noreturn]] void ReportUnexpectedEnd() {
  const char* what = "unknown failure";
  std::string text;
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::bad_alloc&) {
      what = "out of memory";
    } catch (const std::exception& problem) {
      text = std::string("unexpected failure: ") + problem.what();
      what = text.c_str();
    } catch (...) {
    }
  }
  std::fprintf(stderr, "scrivano: %s\n", what);
  std::fflush(nullptr);
  std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace scrivano;
  std::set_terminate(ReportUnexpectedEnd);
  // scrivano --install-office-macro [PROFILE]: binds Ctrl+N in LibreOffice Writer to the NextPiece macro;
  // PROFILE is the profile's "user" folder (default: the user's own profile). No display needed.
  if (argc >= 2 && std::strcmp(argv[1], "--install-office-macro") == 0) {
    if (argc > 3) {
      std::fprintf(stderr, "usage: scrivano --install-office-macro [LIBREOFFICE-USER-FOLDER]\n");
      return 2;
    }
    std::string message;
    const bool installed = InstallOfficeMacro(argc == 3 ? argv[2] : DefaultOfficeProfile(), message);
    std::fprintf(installed ? stdout : stderr, "%s\n", message.c_str());
    return installed ? 0 : 1;
  }
  // The desktop layer speaks X11; without a display Qt would abort, so say so plainly instead.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
      std::fprintf(stderr,
                   "scrivano: no display. Scrivano is a desktop program and needs an X11 display (DISPLAY is "
                   "not set).\nscrivano-cli runs the same functions without one.\n");
      return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
  }
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  QApplication::setApplicationName(QStringLiteral("Scrivano"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/scrivano.png")));
  QApplication::setQuitOnLastWindowClosed(false);

  // Documents named on the command line are not opened.
  const ProgramPaths paths = ResolveProgramPaths(OwnProgramFile());
  const auto desktop = platform::CreateDesktopPlatform();
  int status = 1;
  bool tasksEnded = true;
  {
    CScrivanoApp app(paths, *desktop);
    if (app.InitInstance()) status = QApplication::exec();
    tasksEnded = app.ExitInstance();
    if (!tasksEnded) {
      // A task still running would outlive the objects it uses; end the process as the window system
      // would end its threads.
      std::fflush(nullptr);
      std::_Exit(status);
    }
  }
  return status;
}
