#include "app/SystemMessages.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <vector>

#include "app/QtText.h"

namespace scrivano {
namespace {

constexpr char kContext[] = "SystemMessages";

// Whole messages and whole lines of messages, as the functions write them. Listed for the catalogue's
// extraction; they are looked up by their text.
[[maybe_unused]] constexpr const char* kLines[] = {
    // Captions and the Function List.
    QT_TRANSLATE_NOOP("SystemMessages", "Notice"),
    QT_TRANSLATE_NOOP("SystemMessages", "Can not open the file!"),
    QT_TRANSLATE_NOOP("SystemMessages", "The file does not exist !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Missing bracket !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Source and target are not in pairs!"),
    QT_TRANSLATE_NOOP("SystemMessages", "00. Return to Scrivano"),
    QT_TRANSLATE_NOOP("SystemMessages", "01. Align source and target"),
    QT_TRANSLATE_NOOP("SystemMessages", "02. Clean various tags"),
    QT_TRANSLATE_NOOP("SystemMessages", "03. Combine windows/files text"),
    QT_TRANSLATE_NOOP("SystemMessages", "04. Delete lines with specified substring"),
    QT_TRANSLATE_NOOP("SystemMessages", "05. Extract ending lines"),
    QT_TRANSLATE_NOOP("SystemMessages", "06. Extract webpage text"),
    QT_TRANSLATE_NOOP("SystemMessages", "07. Generate Trados format"),
    QT_TRANSLATE_NOOP("SystemMessages", "08. Link adjacent lines"),
    QT_TRANSLATE_NOOP("SystemMessages", "09. Make lowercase"),
    QT_TRANSLATE_NOOP("SystemMessages", "10. Make uppercase"),
    QT_TRANSLATE_NOOP("SystemMessages", "11. Open file(s)"),
    QT_TRANSLATE_NOOP("SystemMessages", "12. Remove redundant empty lines"),
    QT_TRANSLATE_NOOP("SystemMessages", "13. Replace text in Word documents"),
    QT_TRANSLATE_NOOP("SystemMessages", "14. Split English and Chinese"),
    QT_TRANSLATE_NOOP("SystemMessages", "15. Split lines"),
    QT_TRANSLATE_NOOP("SystemMessages", "16. Trados to segmentation format"),
    QT_TRANSLATE_NOOP("SystemMessages", "17. Word processing"),
    QT_TRANSLATE_NOOP("SystemMessages", "18. Exit Scrivano"),
    // Questions and their options.
    QT_TRANSLATE_NOOP("SystemMessages", "Please select an option:"),
    QT_TRANSLATE_NOOP("SystemMessages", "Please select or set an option:"),
    QT_TRANSLATE_NOOP("SystemMessages", "Please set a separator: "),
    QT_TRANSLATE_NOOP("SystemMessages", "Please set a minimum and maximum word number and repetion:"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Specify a suitable time period(msecs) for copying text in a window: "),
    QT_TRANSLATE_NOOP("SystemMessages", "1. Source + Return + Target -> Source + Tab + Target"),
    QT_TRANSLATE_NOOP("SystemMessages", "2. Source + Tab + Target -> Source + Return + Target"),
    QT_TRANSLATE_NOOP("SystemMessages", "3. Src file + ===== + Trg file  -> Source + Tab + Target"),
    QT_TRANSLATE_NOOP("SystemMessages", "4. TMX format  -> Source + Tab + Target"),
    QT_TRANSLATE_NOOP("SystemMessages", "1. Up down"),
    QT_TRANSLATE_NOOP("SystemMessages", "2. Left right"),
    QT_TRANSLATE_NOOP("SystemMessages", "3. Down up"),
    QT_TRANSLATE_NOOP("SystemMessages", "4. Right left "),
    QT_TRANSLATE_NOOP("SystemMessages", "1. Remove DejaVu tags "),
    QT_TRANSLATE_NOOP("SystemMessages", "2. Remove <pt> <ph> tags"),
    QT_TRANSLATE_NOOP("SystemMessages", "1. Add space between Chinese and English"),
    QT_TRANSLATE_NOOP("SystemMessages", "2. Combine source and target pages"),
    QT_TRANSLATE_NOOP("SystemMessages", "3. Connect broken lines"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "4. Duplicate source by paragraph (source -> source + Spaces/Return + source)"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "5. Delete source in paragraph (source + Soft Return + target -> target)"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "6. Delete source paragraphs (source + Hard Return + target -> target)"),
    QT_TRANSLATE_NOOP("SystemMessages", "7. Extract phrases"),
    QT_TRANSLATE_NOOP("SystemMessages", "8. Filter content"),
    QT_TRANSLATE_NOOP("SystemMessages", "9. Highlight numbers"),
    QT_TRANSLATE_NOOP("SystemMessages", "10. Remove DejaVu tags"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "11. Source file + target file -> source || target file (paragraph by paragraph)"),
    QT_TRANSLATE_NOOP("SystemMessages", "1. Hard Return"),
    QT_TRANSLATE_NOOP("SystemMessages", "2. Soft Return"),
    QT_TRANSLATE_NOOP("SystemMessages", "3. Spaces"),
    QT_TRANSLATE_NOOP("SystemMessages", "Keep source and target in different lines ?"),
    QT_TRANSLATE_NOOP("SystemMessages", "Replace RETURN with SPACE ? (if No, with EMPTY STRING)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Delete number-only lines ?"),
    QT_TRANSLATE_NOOP("SystemMessages", "Connect broken lines with Space? (If No, with nothing.)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Allow same source and target paragraphs ?"),
    QT_TRANSLATE_NOOP("SystemMessages", "Keep original input text?"),
    QT_TRANSLATE_NOOP("SystemMessages", "Install the macro there now?"),
    // Notices.
    QT_TRANSLATE_NOOP("SystemMessages", "Processing completed !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Processing failed !"),
    QT_TRANSLATE_NOOP("SystemMessages", "No parameter set !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Wrong operation number!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Something wrong!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Wrong Trados format"),
    QT_TRANSLATE_NOOP("SystemMessages", "Wrong tag:"),
    QT_TRANSLATE_NOOP("SystemMessages", "{} doesn't match !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Wrong format found!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Could not find a parameter !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Wrong parameter format!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Could not get another section!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Cannot set parameter !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Must keep at least one setting for this parameter!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to create Document object"),
    QT_TRANSLATE_NOOP("SystemMessages", "No OFFICE installed"),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to open the file"),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to select"),
    QT_TRANSLATE_NOOP("SystemMessages", "Application is empty. Failed to create Documents!"),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to create Documents"),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to create Word"),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to obtain selection"),
    QT_TRANSLATE_NOOP("SystemMessages", "The combined document would replace the source or the target file."),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to open document."),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to save document."),
    QT_TRANSLATE_NOOP("SystemMessages", "The Operational Manual was not found:"),
    QT_TRANSLATE_NOOP("SystemMessages", "Wrong translation address:"),
    QT_TRANSLATE_NOOP("SystemMessages", "Please Set Parameters again."),
    QT_TRANSLATE_NOOP("SystemMessages", "Failed to copy, please retry later."),
    QT_TRANSLATE_NOOP("SystemMessages", "Source is empty !"),
    QT_TRANSLATE_NOOP("SystemMessages", "Fail to CreateProcess():"),
    QT_TRANSLATE_NOOP("SystemMessages", "Cannot launch vexo1.exe!"),
    QT_TRANSLATE_NOOP("SystemMessages", "The companion program showed no window:"),
    QT_TRANSLATE_NOOP("SystemMessages", "The companion program vexo1 is not there."),
    QT_TRANSLATE_NOOP("SystemMessages", "The companion program ended without sending the pages' text."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "The companion program's window closed without sending the pages' text."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Parameter 15 names the page; it is opened when automatic translation is switched on."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "No Find and Replace window of LibreOffice Writer is open. Open it in a document (Ctrl+H), "
        "type what to find and what to replace it with, and choose this entry again."),
    QT_TRANSLATE_NOOP("SystemMessages", "The Find and Replace window closed or changed its title meanwhile."),
    QT_TRANSLATE_NOOP("SystemMessages", "The Find and Replace window did not come to the front."),
    QT_TRANSLATE_NOOP("SystemMessages", "The Find and Replace window did not take the keys."),
    QT_TRANSLATE_NOOP("SystemMessages", "The Find field of the Find and Replace window is empty."),
    QT_TRANSLATE_NOOP("SystemMessages", "Nothing was replaced, and the Input window keeps its text."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Ctrl+N in the Writer window opened a new window instead of handing Scrivano the next "
                      "paragraph; Scrivano closed that window again without saving it and stopped."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "Ctrl+N in LibreOffice Writer does not hand Scrivano the next paragraph yet, so Scrivano "
        "changed nothing in the document."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Scrivano's NextPiece macro is installed in the LibreOffice profile that Writer uses:"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Scrivano's NextPiece macro is missing or out of date in the LibreOffice profile that "
                      "Writer uses:"),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "but the LibreOffice that shows the document has not loaded it. LibreOffice loads macros "
        "only when it starts: quit LibreOffice (Ctrl+Q), open the document again, and "
        "double-click the entry again."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "LibreOffice loads macros only when it starts: quit LibreOffice (Ctrl+Q), open the "
                      "document again, and double-click the entry again."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "The LibreOffice that shows the document has taken it up: double-click the entry again."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "Scrivano stopped waiting for these office windows to close and goes on without closing "
        "them; close them before you open the documents it writes:"),
    QT_TRANSLATE_NOOP("SystemMessages", "No program could open it with the desktop's default application."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "To choose the program for this kind of file, install xdg-utils and run:"),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "This is a Wayland session: Scrivano sees only the windows of programs that run under "
        "XWayland. Start a program that way to make it reachable, for instance LibreOffice Writer "
        "with SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, "
        "Chromium or Chrome with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and "
        "Qt programs with QT_QPA_PLATFORM=xcb."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "This is a Wayland session. Scrivano reaches other programs' windows through X11, so it "
        "sees only the programs that run under XWayland; windows of programs that run natively on "
        "Wayland are invisible to it."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "These functions reach only X11 windows: 0 (the window at the Function List's corner), 2 "
        "and 16 in a Writer window, 3 in window mode, 13 (Find and Replace in Writer), automatic "
        "translation (parameter 14), closing pop-up windows and the captions shown on other "
        "programs' windows. Where they look for a window and find none they say \"No X11 window "
        "found\". The text functions, files and web pages (entry 6) work as anywhere else."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "To make a program reachable, start it under XWayland: LibreOffice Writer with "
        "SAL_USE_VCLPLUGIN=gen (or GDK_BACKEND=x11), Firefox with MOZ_ENABLE_WAYLAND=0, Chromium "
        "or Chrome with --ozone-platform=x11, other GTK programs with GDK_BACKEND=x11 and Qt "
        "programs with QT_QPA_PLATFORM=xcb."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "This notice is shown once; the Operational Manual says the same under \"Wayland "
                      "sessions\"."),
    // The parameters' descriptions in the shipped config.ini, as Set Parameters lists them.
    QT_TRANSLATE_NOOP("SystemMessages", "Timer period (milliseconds)"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Launch menu: files and programs, tab-separated; ';' joins several paths in one item"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Window titles closed automatically when in the foreground, tab-separated"),
    QT_TRANSLATE_NOOP("SystemMessages", "Process watch: largest working set in MB (-1 or empty: off)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Memory monitor: least free memory in MB (-1 or empty: off)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Split English and Chinese: whole lines dropped, tab-separated"),
    QT_TRANSLATE_NOOP("SystemMessages", "Characters counted as Western besides ASCII"),
    QT_TRANSLATE_NOOP("SystemMessages", "Neutral characters for the English test, tab-separated"),
    QT_TRANSLATE_NOOP("SystemMessages", "Split English and Chinese: run lengths N/M"),
    QT_TRANSLATE_NOOP("SystemMessages", "Delete lines with specified substring: substrings, tab-separated"),
    QT_TRANSLATE_NOOP("SystemMessages", "Combine windows/files text: window-class options, tab-separated"),
    QT_TRANSLATE_NOOP("SystemMessages", "Right-click shortcut in browser windows (0: off)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Browser title words that make Scrivano press Escape, tab-separated"),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "Automatic translation: window classes, tab-separated (';' after a class: selection mode)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Automatic translation: longest wait in milliseconds (0: off)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Translation page settings, tab-separated fields"),
    QT_TRANSLATE_NOOP("SystemMessages", "Not used"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Function List entry 0 also reports the window at the list's corner (0: no)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Word processing: marker text 1"),
    QT_TRANSLATE_NOOP("SystemMessages", "Word processing: marker text 2"),
    QT_TRANSLATE_NOOP("SystemMessages", "Word processing: phrases to highlight, tab-separated"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Phrase extraction: preset answers (minimum words, maximum words, repetitions)"),
    QT_TRANSLATE_NOOP("SystemMessages", "Phrase extraction: stop list, tab-separated"),
    // Parts that stand inside templates.
    QT_TRANSLATE_NOOP("SystemMessages", "at the Function List's corner"),
    QT_TRANSLATE_NOOP("SystemMessages", "a folder of that name is in the way."),
    QT_TRANSLATE_NOOP("SystemMessages", "its folder does not exist."),
    QT_TRANSLATE_NOOP("SystemMessages", "its folder is read-only (no permission to write there)."),
};

// Lines with a part that varies: "%1", "%2" stand for it. Tried in this order; a part is shown in the
// user's language too when the catalogue knows it.
constexpr const char* kTemplates[] = {
    QT_TRANSLATE_NOOP("SystemMessages", "Could not open \"%1\" file."),
    QT_TRANSLATE_NOOP("SystemMessages", "Cannot open \"%1\"."),
    QT_TRANSLATE_NOOP("SystemMessages", "Save changes to %1?"),
    QT_TRANSLATE_NOOP("SystemMessages", "Spent %1/%2 (characters/seconds) to process the file(s)."),
    QT_TRANSLATE_NOOP("SystemMessages", "Spent %1 seconds / %2 windows to combine %3 characters"),
    QT_TRANSLATE_NOOP("SystemMessages", "Processing completed !  ( %1 documents )"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "The Replace field is empty. Delete every \"%1\" in the open documents?"),
    QT_TRANSLATE_NOOP("SystemMessages", "The review copy could not be written: %1"),
    QT_TRANSLATE_NOOP("SystemMessages", "The document could not be written: %1"),
    QT_TRANSLATE_NOOP("SystemMessages", "Error code: %1"),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "The companion program sent no text within %1 seconds; it was closed."),
    QT_TRANSLATE_NOOP("SystemMessages", "The addresses could not be handed to the companion program (%1)."),
    QT_TRANSLATE_NOOP("SystemMessages", "The companion program vexo1 cannot be run there: %1."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "%1 Scrivano runs the vexo1 that lies beside its own program file (%2), or in "
                      "libexec/scrivano below the folder it is installed in. Install Scrivano again (cmake "
                      "--install or its package), or build it with Qt WebEngine (qt6-webengine-dev, see "
                      "scripts/install-deps), which builds vexo1 beside scrivano."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "Please first open the automatic translation page in the companion program vexo1, for "
                      "example:"),
    QT_TRANSLATE_NOOP("SystemMessages", "Scrivano's NextPiece macro could not be installed: %1"),
    QT_TRANSLATE_NOOP("SystemMessages", "Scrivano's NextPiece macro is installed in %1."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "In this interface language (%1) the Find and Replace window's %2 (\"%3\") has no access "
        "key of a Latin letter or a digit."),
    QT_TRANSLATE_NOOP(
        "SystemMessages",
        "In this interface language (%1) the Find and Replace window gives two of Find, Replace "
        "and Replace All the same access key."),
    QT_TRANSLATE_NOOP("SystemMessages", "No X11 window found %1."),
    QT_TRANSLATE_NOOP("SystemMessages", "of the class \"%1\""),
    QT_TRANSLATE_NOOP("SystemMessages", "\"%1\" is not available in this version of Scrivano."),
    QT_TRANSLATE_NOOP("SystemMessages", "It needs %1."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "The parameter file \"%1\" could not be read as one (no [PARAMETERS] section): every "
                      "parameter is empty."),
    QT_TRANSLATE_NOOP("SystemMessages",
                      "No program opens files with their default application here: %1 was not found."),
    QT_TRANSLATE_NOOP("SystemMessages", "%1 could not be started."),
    QT_TRANSLATE_NOOP("SystemMessages", "%1 found no program to open it (exit status %2)."),
};

struct Template {
  QRegularExpression pattern;
  std::vector<int> argumentOfGroup;  // the "%N" each captured group stands for
  const char* english;
};

const std::vector<Template>& Templates() {
  static const std::vector<Template> templates = [] {
    static const QRegularExpression argument(QStringLiteral("%(\\d)"));
    std::vector<Template> made;
    for (const char* english : kTemplates) {
      const QString source = QString::fromUtf8(english);
      QString pattern = QStringLiteral("^");
      std::vector<int> groups;
      qsizetype from = 0;
      for (auto it = argument.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        pattern +=
            QRegularExpression::escape(source.mid(from, m.capturedStart() - from)) + QStringLiteral("(.+?)");
        groups.push_back(m.captured(1).toInt());
        from = m.capturedEnd();
      }
      pattern += QRegularExpression::escape(source.mid(from)) + QStringLiteral("$");
      made.push_back({QRegularExpression(pattern, QRegularExpression::DotMatchesEverythingOption),
                      std::move(groups), english});
      // Compiled here, once: tasks match these patterns from their own threads afterwards.
      made.back().pattern.optimize();
    }
    return made;
  }();
  return templates;
}

// The translation of a known text, or a null QString.
QString Known(const QString& english) {
  const QByteArray key = english.toUtf8();
  const QString shown = QCoreApplication::translate(kContext, key.constData());
  return shown == english ? QString() : shown;
}

QString Line(const QString& english, int depth) {
  if (english.trimmed().isEmpty()) return english;
  if (QString known = Known(english); !known.isNull()) return known;
  if (depth > 1) return english;
  for (const Template& t : Templates()) {
    const QRegularExpressionMatch m = t.pattern.match(english);
    if (!m.hasMatch()) continue;
    const QString shown = QCoreApplication::translate(kContext, t.english);
    if (shown == QString::fromUtf8(t.english)) return english;
    QString arguments[10];
    for (size_t g = 0; g < t.argumentOfGroup.size(); ++g)
      arguments[t.argumentOfGroup[g]] = Line(m.captured(static_cast<int>(g) + 1), depth + 1);
    // Each "%N" once, left to right, so that an argument holding "%1" stays as it is.
    QString result;
    static const QRegularExpression argument(QStringLiteral("%(\\d)"));
    qsizetype from = 0;
    for (auto it = argument.globalMatch(shown); it.hasNext();) {
      const QRegularExpressionMatch a = it.next();
      result += shown.mid(from, a.capturedStart() - from) + arguments[a.captured(1).toInt()];
      from = a.capturedEnd();
    }
    return result + shown.mid(from);
  }
  return english;
}

}  // namespace

Text TranslatedSystemText(TextView english) {
  const QString whole = ToQString(english);
  if (QString known = Known(whole); !known.isNull()) return FromQString(known);
  // Line by line; the line breaks stay where they were.
  const QStringList lines = whole.split(QStringLiteral("\r\n"));
  QStringList shown;
  bool changed = false;
  for (const QString& line : lines) {
    shown.push_back(Line(line, 0));
    changed = changed || shown.back() != line;
  }
  return changed ? FromQString(shown.join(QStringLiteral("\r\n"))) : Text(english);
}

}  // namespace scrivano
