// The main window: an MDI frame with menus, a tool bar and a status bar (message pane and the lock-key
// indicators). It runs timer 1, takes dropped files, and keeps the recent-file list.
#pragma once

#include <QCoreApplication>
#include <QMainWindow>
#include <QTimer>

#include "text/Text.h"

class QDialog;
class QLabel;
class QMdiArea;
class QMenu;

namespace scrivano {

class CScrivanoApp;
class CScrivanoView;

class CMainFrame : public QMainWindow {
  Q_DECLARE_TR_FUNCTIONS(CMainFrame)

 public:
  explicit CMainFrame(CScrivanoApp& app);

  QMdiArea* MdiArea() const { return mdiArea_; }
  void SetStatusText(const QString& text);
  // Timer 1 with the given period in milliseconds.
  void SetTimerPeriod(int milliseconds);
  QTimer& Timer() { return timer_; }
  void AddRecentFile(TextView path);
  QStringList RecentFiles() const;
  // The view of the active text window, or nullptr.
  CScrivanoView* ActiveView() const;
  void UpdateLockIndicators();
  // Shows the active document's encoding and line break in the status bar.
  void ShowDocumentFormat();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateMenus();
  // File > Reopen with Encoding.
  void CreateReopenMenu(QMenu* file);
  void UpdateRecentMenu();
  void OpenFile();
  void Save();
  void SaveAs();
  void Print(bool preview);
  void About();
  // Runs the dialog modally, above the always-on-top Function List.
  int ExecAboveList(QDialog& dialog);

  CScrivanoApp& app_;
  QMdiArea* mdiArea_;
  QTimer timer_;
  QMenu* recentMenu_ = nullptr;
  QLabel* formatLabel_;
  QLabel* capsLabel_;
  QLabel* numLabel_;
  QLabel* scrollLabel_;
};

}  // namespace scrivano
