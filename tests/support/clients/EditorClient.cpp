// A small X client for the desktop tests. "text" mode: an editor that answers Ctrl+A, Ctrl+C and Ctrl+V
// as editors do. "office" mode adds Ctrl+N as Scrivano's NextPiece macro answers it: what the clipboard
// holds replaces the paragraph handed over before, while that is still selected, then the next non-empty
// paragraph is selected and copied; when none is left, the probe "SYSTEM1TEXT2FLAG3" is. "pair" mode: a
// source editor on the left half and an empty target editor on the right half, as translation editors
// show a segment. Usage:
// scrivano-test-client text|office|pair TITLE TEXT-FILE [above]
// (above: the window stays above normal windows, so that the tests' own program cannot cover it)
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QTextBlock>

namespace {

// Ctrl+S writes the source back to the file and the target to the file + ".target".
int RunPair(QApplication& app, QFile& file, const char* title) {
  QWidget window;
  auto* layout = new QHBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* source = new QPlainTextEdit(QString::fromUtf8(file.readAll()));
  auto* target = new QPlainTextEdit;
  layout->addWidget(source, 1);
  layout->addWidget(target, 1);
  window.setWindowTitle(QString::fromUtf8(title));
  window.resize(600, 300);
  auto* save = new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), &window);
  save->setContext(Qt::WindowShortcut);
  QObject::connect(save, &QShortcut::activated, &window, [source, target, &file] {
    QFile out(file.fileName());
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) out.write(source->toPlainText().toUtf8());
    QFile targetOut(file.fileName() + QStringLiteral(".target"));
    if (targetOut.open(QIODevice::WriteOnly | QIODevice::Truncate))
      targetOut.write(target->toPlainText().toUtf8());
  });
  window.show();
  return app.exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return 2;
  // The office-like client reports the class of a LibreOffice Writer document window.
  const bool office = QByteArray(argv[1]) == "office";
  QApplication::setApplicationName(office ? QStringLiteral("libreoffice-writer")
                                          : QStringLiteral("scrivano-test-client"));
  if (office) qputenv("RESOURCE_NAME", "libreoffice");
  QApplication app(argc, argv);
  QFile file(QString::fromLocal8Bit(argv[3]));
  if (!file.open(QIODevice::ReadOnly)) return 3;
  if (QByteArray(argv[1]) == "pair") return RunPair(app, file, argv[2]);
  QPlainTextEdit editor;
  editor.setPlainText(QString::fromUtf8(file.readAll()));
  editor.setWindowTitle(QString::fromUtf8(argv[2]));
  editor.resize(500, 300);
  if (argc > 4 && QByteArray(argv[4]) == "above") editor.setWindowFlag(Qt::WindowStaysOnTopHint);
  if (office) {
    editor.moveCursor(QTextCursor::Start);
    bool first = true;
    QString handedOver;
    auto* next = new QShortcut(QKeySequence(QStringLiteral("Ctrl+N")), &editor);
    QObject::connect(next, &QShortcut::activated, &editor, [&editor, &first, &handedOver] {
      if (!handedOver.isEmpty() && editor.textCursor().selectedText() == handedOver) {
        // As the macro does: until the client has learnt that the clipboard has a new owner, it would
        // read its own copy.
        QElapsedTimer waited;
        waited.start();
        while (QApplication::clipboard()->ownsClipboard() && waited.elapsed() < 2000)
          QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        editor.textCursor().insertText(QApplication::clipboard()->text());
      }
      handedOver.clear();
      QTextBlock block = editor.textCursor().block();
      if (!first) block = block.next();
      first = false;
      while (block.isValid() && block.text().trimmed().isEmpty()) block = block.next();
      if (!block.isValid()) {
        QApplication::clipboard()->setText(QStringLiteral("SYSTEM1TEXT2FLAG3"));  // nothing left
        return;
      }
      QTextCursor cursor(block);
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      editor.setTextCursor(cursor);
      handedOver = cursor.selectedText();
      QApplication::clipboard()->setText(handedOver);
    });
  }
  // Ctrl+S writes the text back, so that the test can read what the program did.
  auto* save = new QShortcut(QKeySequence(QStringLiteral("Ctrl+S")), &editor);
  QObject::connect(save, &QShortcut::activated, &editor, [&editor, &file] {
    QFile out(file.fileName());
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate)) out.write(editor.toPlainText().toUtf8());
  });
  editor.show();
  return app.exec();
}
