#pragma once

#include <QMainWindow>

#include <exception>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "desktop/commands.h"
#include "desktop/recent_files.h"
#include "ui/app_context.h"
#include "ui/setup_dialog.h"

class QActionGroup;
class QMenu;

namespace tarn {

class varnixMDIClient;
class varnixWindowView;

/// The main window: the menu bar's commands, the document area with its
/// file windows, the recent-file list, and the start-up tasks of a run.
class MainFrame : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainFrame(AppContext& app, QWidget* parent = nullptr);
  ~MainFrame() override;

  /// Runs once the window is shown and events are idle: loads the recent
  /// files, then prints what the command line names and ends the run, or
  /// opens `open` as File › Open would.
  void scheduleStartUp(std::optional<std::string> argument, std::vector<std::string> open = {});

  /// Loads a file into a new file window and enters it in the recent list;
  /// false when it could not be read (said already). An analysis error
  /// travels to the caller.
  bool openFile(const std::string& path);
  /// Loads a project into a new project window; false (said) when its
  /// PROGRAM file cannot be read.
  bool openProject(const std::string& path);
  /// Opens files in order; an analysis error stops the rest.
  void openFiles(const std::vector<std::string>& paths);
  void openRecent(int position);

  /// The command of a menu item (ids of desktop/commands.h, 25000+ recent).
  QAction* action(int id) const;
  varnixMDIClient* mdi() const { return mdi_; }
  varnixWindowView* activeFileWindow() const;
  RecentFiles& recentFiles() { return recent_; }
  QMenu* printModeMenu() const { return printModeMenu_; }
  QMenu* windowMenu() const { return windowMenu_; }

  /// Steps to the next (or previous) window in the order they were opened.
  void stepWindow(bool forward);
  /// Opens the help page at the section of the active dialog or window.
  void contextHelp();

  /// Shows the window where and as large as the profile says it was last
  /// (maximised the first time), and takes the keyboard.
  void placeOnScreen();

  /// Recomputes which commands are enabled.
  void updateEnablers();

  /// The Open dialog, started in `folder`; tests answer it themselves.
  std::function<std::vector<std::string>(QWidget*, const std::string& folder)> openDialog;
  /// The Open project dialog, started at `preset`; empty when cancelled.
  std::function<std::string(QWidget*, const std::string& preset)> projectDialog;
  /// Runs the preview modally; tests look at it and close it themselves.
  std::function<void(QDialog&)> runPreview;
  /// Runs the setup and About dialogs modally; tests drive them themselves.
  std::function<void(QDialog&)> runSetup;
  /// The font and colour dialogs; tests answer them.
  ChoiceDialogs choiceDialogs = ChoiceDialogs::platform();

  /// Shows an error that left a command with "OK to resume?"; No closes the
  /// program the normal way. Returns whether the user resumed.
  bool commandFailed(const std::exception& error);
  /// Runs a command so that no exception leaves it.
  void guarded(const std::function<void()>& command);

  /// Whether the run prints its command line and ends (no recent list saved).
  bool batchMode() const { return batch_; }
  /// Whether the help page was opened from the Help menu in this run.
  bool helpUsed() const { return helpUsed_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildMenus();
  QAction* addCommand(QMenu* menu, const QString& text, int id, const QKeySequence& key = {});
  void rebuildRecentMenu();
  void rebuildWindowList();
  void addRecent(const std::string& path);
  void firstIdle(const std::optional<std::string>& argument, const std::vector<std::string>& open);
  void commandOpen();
  void commandPrint();
  void commandPreview();
  void commandSetup();
  void commandListingExtras();
  void commandOpenProject();
  void setPrintMode(int mode);

  AppContext& app_;
  varnixMDIClient* mdi_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QMenu* printModeMenu_ = nullptr;
  QMenu* windowMenu_ = nullptr;
  std::vector<QAction*> windowActions_;
  std::map<int, QAction*> actions_;
  std::vector<QAction*> recentActions_;
  RecentFiles recent_;
  bool batch_ = false;
  bool helpUsed_ = false;
  bool recentUnsaved_ = false;  ///< said already
};

}  // namespace tarn
