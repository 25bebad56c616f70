// scrivano: the desktop workbench.
#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <string>

#include "app/QtText.h"
#include "app/ScrivanoApp.h"
#include "app/SingleInstance.h"
#include "app/Translations.h"
#include "office/OfficeMacro.h"
#include "platform/WaylandSession.h"
#include "prompt/SelectionPrompt.h"
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

constexpr char kUsage[] =
    "Usage: scrivano [FILE...]\n"
    "       scrivano --install-office-macro [LIBREOFFICE-USER-FOLDER]\n"
    "       scrivano --help | --version\n"
    "\n"
    "Scrivano, the translator's workbench: an Input and an Output window and a Function List of nineteen\n"
    "numbered functions (scrivano-cli runs the same functions on files and pipes).\n"
    "\n"
    "  FILE...                 files to open; when a Scrivano already runs on the same Data folder, they\n"
    "                          open there, it comes to the front and this start ends\n"
    "  --install-office-macro  binds Ctrl+N in LibreOffice Writer to Scrivano's NextPiece macro, in the\n"
    "                          profile's \"user\" folder given (default: your own profile); no display "
    "needed\n"
    "  --help                  this text\n"
    "  --version               the version\n"
    "\n"
    "Environment:\n"
    "  SCRIVANO_ROOT           the work root, whose Data folder holds config.ini, Input and Output\n"
    "                          (default: the folder above the program's own in a build tree, else\n"
    "                          $XDG_DATA_HOME/scrivano, that is ~/.local/share/scrivano)\n"
    "  DISPLAY                 the X11 display; Scrivano reaches other programs' windows through X11\n"
    "  WAYLAND_DISPLAY, XDG_SESSION_TYPE\n"
    "                          a Wayland session: only programs under XWayland can be reached (see the\n"
    "                          manual, \"Working with other programs\")\n";

// Said once, at the first start in a Wayland session.
void TellAboutWaylandOnce() {
  QSettings settings;
  const QString key = QStringLiteral("Session/WaylandNoticeShown");
  if (!scrivano::platform::IsWaylandSession() || settings.value(key).toBool()) return;
  settings.setValue(key, true);
  settings.sync();
  scrivano::ShowMessage(scrivano::platform::WaylandSessionNotice(), u"Notice", scrivano::MessageButtons::Ok,
                        false);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace scrivano;
  std::set_terminate(ReportUnexpectedEnd);
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("Scrivano Version 2.56");
    return 0;
  }
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
  InstallTranslations(QLocale::system());

  // One program per Data folder: a second start hands the files it names to the first and ends; the first
  // opens its own once its windows are there.
  const ProgramPaths paths = ResolveProgramPaths(OwnProgramFile());
  const QStringList namedFiles = FileArguments(QApplication::arguments());
  SingleInstance instance;
  switch (instance.ClaimDataFolder(ToQString(paths.dataFolder), namedFiles)) {
    case SingleInstance::Claim::kHandedOver:
      return 0;
    case SingleInstance::Claim::kNoAnswer:
      std::fprintf(stderr,
                   "scrivano: a Scrivano already runs on the Data folder %s but did not answer; the files "
                   "were not opened. Try again once it answers, or end it.\n",
                   ToUtf8(paths.dataFolder).c_str());
      return 1;
    case SingleInstance::Claim::kFirst:
      if (!instance.Error().isEmpty())
        std::fprintf(stderr, "scrivano: other starts on this Data folder cannot find this one: %s\n",
                     instance.Error().toLocal8Bit().constData());
      break;
  }
  const auto desktop = platform::CreateDesktopPlatform();
  int status = 1;
  bool tasksEnded = true;
  {
    CScrivanoApp app(paths, *desktop);
    // Files handed over while the windows are still being made (a question at start-up may hold that up)
    // are answered for at once and opened once the windows are there.
    bool ready = false;
    QStringList waiting = namedFiles;
    instance.Serve([&](const QStringList& files) {
      if (ready)
        app.OpenHandedFiles(files);
      else
        waiting << files;
    });
    if (app.InitInstance()) {
      ready = true;
      if (!waiting.isEmpty()) app.OpenHandedFiles(waiting);
      QTimer::singleShot(0, &app, TellAboutWaylandOnce);
      status = QApplication::exec();
    }
    // Ending: a start from now on becomes the Data folder's program itself.
    ready = false;
    instance.Close();
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
