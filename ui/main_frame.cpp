#include "ui/main_frame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "analysis/analysis_error.h"
#include "platform/paths.h"
#include "printout/direct_print.h"
#include "desktop/help_location.h"
#include "ui/about_dialog.h"
#include "ui/app_icon.h"
#include "ui/file_window.h"
#include "ui/help.h"
#include "ui/listing_extras_dialog.h"
#include "ui/mdi_client.h"
#include "ui/preview_window.h"
#include "ui/project_window.h"
#include "ui/print_guard.h"
#include "ui/window_font.h"

namespace tarn {
namespace {

std::string toPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
/// Paths are the platform's bytes, not source text.
QString fromPath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

/// Both cases of each pattern: the dialog's own matching may heed case.
const char* const kOpenFilter =
    "Clarion Source (*.CLW *.clw);;Clarion Include (*.INC *.inc);;All files (*)";

std::string runProjectDialog(QWidget* parent, const std::string& preset) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QStringLiteral("Clarion PROGRAM Source (*.CLW *.clw)"));
  if (!preset.empty()) dialog.selectFile(fromPath(preset));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return toPath(dialog.selectedFiles().front());
}

std::vector<std::string> runOpenDialog(QWidget* parent, const std::string& folder) {
  QFileDialog dialog(parent);
  if (!folder.empty()) dialog.setDirectory(fromPath(folder));
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setNameFilter(QString::fromLatin1(kOpenFilter));
  std::vector<std::string> paths;
  if (dialog.exec() == QDialog::Accepted)
    for (const QString& file : dialog.selectedFiles()) paths.push_back(toPath(file));
  return paths;
}

}  // namespace

MainFrame::MainFrame(AppContext& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setWindowTitle(QString::fromLatin1(kAppName));
  setWindowIcon(appIcon());
  mdi_ = new varnixMDIClient(this);
  setCentralWidget(mdi_);
  buildMenus();
  openDialog = runOpenDialog;
  projectDialog = runProjectDialog;
  runPreview = [](QDialog& preview) { preview.exec(); };
  runSetup = [](QDialog& setup) { setup.exec(); };
  // Closing the active window brings back the one active before it.
  mdi_->setActivationOrder(QMdiArea::ActivationHistoryOrder);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] { updateEnablers(); });
  qApp->installEventFilter(this);
  updateEnablers();
}

MainFrame::~MainFrame() {
  qApp->removeEventFilter(this);
  // The children go after the menus: they must not call the enablers then.
  mdi_->disconnect(this);
  for (QMdiSubWindow* child : mdi_->findChildren<QMdiSubWindow*>()) child->disconnect(this);
}

QAction* MainFrame::addCommand(QMenu* menu, const QString& text, int id, const QKeySequence& key) {
  QAction* a = menu->addAction(text);
  a->setData(id);
  if (!key.isEmpty()) {
    a->setShortcut(key);
    a->setShortcutContext(Qt::WindowShortcut);
  }
  actions_[id] = a;
  return a;
}

void MainFrame::buildMenus() {
  QMenuBar* bar = menuBar();
  fileMenu_ = bar->addMenu(QStringLiteral("&File"));
  connect(addCommand(fileMenu_, QStringLiteral("&Open...\tCtrl+O"), kCmdOpen, QKeySequence(Qt::CTRL | Qt::Key_O)),
          &QAction::triggered, this, [this] { guarded([this] { commandOpen(); }); });
  connect(addCommand(fileMenu_, QStringLiteral("Open project..\tShift+O"), kCmdOpenProject,
                     QKeySequence(Qt::SHIFT | Qt::Key_O)),
          &QAction::triggered, this, [this] { guarded([this] { commandOpenProject(); }); });
  connect(addCommand(fileMenu_, QStringLiteral("&Print...\tCtrl+P"), kCmdPrint, QKeySequence(Qt::CTRL | Qt::Key_P)),
          &QAction::triggered, this, [this] { guarded([this] { commandPrint(); }); });
  connect(addCommand(fileMenu_, QStringLiteral("Print preview"), kCmdPrintPreview),
          &QAction::triggered, this, [this] { guarded([this] { commandPreview(); }); });
  connect(addCommand(fileMenu_, QStringLiteral("P&rint Setup..."), kCmdPrintSetup),
          &QAction::triggered, this, [this] {
            guarded([this] {
              if (!app_.printer.setupDialog(this))
                app_.messages.show("No printer is installed", kAppName, MessageIcon::Information);
            });
          });
  connect(addCommand(fileMenu_, QStringLiteral("E&xit\tAlt+F4"), kCmdExit), &QAction::triggered,
          this, &QWidget::close);
  fileMenu_->addSeparator();
  connect(fileMenu_, &QMenu::aboutToShow, this, [this] { updateEnablers(); });

  QMenu* setup = bar->addMenu(QStringLiteral("&Setup"));
  connect(addCommand(setup, QStringLiteral("&Printout..."), kCmdSetupPrintout), &QAction::triggered,
          this, [this] { guarded([this] { commandSetup(); }); });
  // Windows opened afterwards take the new font; open ones keep theirs.
  connect(addCommand(setup, QStringLiteral("&Listing extras..."), kCmdListingExtras),
          &QAction::triggered, this, [this] { guarded([this] { commandListingExtras(); }); });
  connect(addCommand(setup, QStringLiteral("&Window font..."), kCmdWindowFont), &QAction::triggered,
          this, [this] { chooseFontInto(app_.setup.windowFont, choiceDialogs, this, false); });

  printModeMenu_ = bar->addMenu(QStringLiteral("&Print mode"));
  auto* modes = new QActionGroup(this);
  const std::pair<const char*, int> modeItems[] = {
      {"&Full source code", kCmdPrintModeFull},
      {"&Window/Reports and embeds", kCmdPrintModeRegions},
      {"&Window/Reports and embeds (Only modules containg embeds)", kCmdPrintModeEmbedFiles}};
  for (int i = 0; i < 3; ++i) {
    QAction* a = addCommand(printModeMenu_, QString::fromLatin1(modeItems[i].first), modeItems[i].second);
    a->setCheckable(true);
    a->setChecked(app_.setup.printMode == i + 1);
    modes->addAction(a);
    connect(a, &QAction::triggered, this, [this, i] { setPrintMode(i + 1); });
  }
  QAction* clear = addCommand(printModeMenu_, QStringLiteral("Clear archive attribute when printing"),
                              kCmdClearArchive);
  clear->setCheckable(true);
  clear->setChecked(app_.setup.clearArchive != 0);
  connect(clear, &QAction::triggered, this,
          [this](bool on) { app_.setup.clearArchive = on ? 1 : 0; });
  connect(printModeMenu_, &QMenu::aboutToShow, this, [this] {
    for (int i = 0; i < 3; ++i)
      action(kCmdPrintModeFull + i)->setChecked(app_.setup.printMode == i + 1);
    action(kCmdClearArchive)->setChecked(app_.setup.clearArchive != 0);
  });

  QMenu* window = windowMenu_ = bar->addMenu(QStringLiteral("&Window"));
  connect(addCommand(window, QStringLiteral("&Cascade"), kCmdCascade), &QAction::triggered, mdi_,
          &varnixMDIClient::cascade);
  connect(addCommand(window, QStringLiteral("&Tile"), kCmdTile), &QAction::triggered, mdi_,
          &QMdiArea::tileSubWindows);
  connect(addCommand(window, QStringLiteral("Arrange &Icons"), kCmdArrangeIcons), &QAction::triggered,
          mdi_, &varnixMDIClient::arrangeIcons);
  connect(addCommand(window, QStringLiteral("C&lose All"), kCmdCloseAll), &QAction::triggered, mdi_,
          &QMdiArea::closeAllSubWindows);
  window->addSeparator();
  connect(addCommand(window, QStringLiteral("Cl&ose\tCtrl+F4"), kCmdCloseWindow,
                     QKeySequence(Qt::CTRL | Qt::Key_F4)),
          &QAction::triggered, mdi_, &QMdiArea::closeActiveSubWindow);
  QAction* next = addCommand(window, QStringLiteral("&Next\tCtrl+F6"), kCmdNextWindow);
  next->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_F6), QKeySequence(Qt::CTRL | Qt::Key_Tab)});
  connect(next, &QAction::triggered, this, [this] { stepWindow(true); });
  QAction* previous = addCommand(window, QStringLiteral("Pre&vious\tCtrl+Shift+F6"), kCmdPreviousWindow);
  previous->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F6),
                          QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab)});
  connect(previous, &QAction::triggered, this, [this] { stepWindow(false); });
  for (QAction* a : {next, previous}) a->setShortcutContext(Qt::WindowShortcut);
  connect(window, &QMenu::aboutToShow, this, [this] { rebuildWindowList(); });

  QMenu* help = bar->addMenu(QStringLiteral("&Help"));
  // F1 is taken in the application's event filter, so it also works in dialogs.
  connect(addCommand(help, QStringLiteral("&Contents"), kCmdHelpContents), &QAction::triggered, this,
          [this] { helpUsed_ = openHelp(app_, kHelpContents); });
  connect(addCommand(help, QStringLiteral("&Using help"), kCmdHelpUsing), &QAction::triggered, this,
          [this] { helpUsed_ = openUsingHelp(app_); });
  connect(addCommand(help, QStringLiteral("&About Tarnlist..."), kCmdAbout), &QAction::triggered,
          this, [this] {
            AboutDialog about(this);
            runSetup(about);
          });
}

QAction* MainFrame::action(int id) const {
  auto it = actions_.find(id);
  if (it != actions_.end()) return it->second;
  const int position = id - RecentFiles::kFirstCommand;
  if (position >= 0 && position < static_cast<int>(recentActions_.size()))
    return recentActions_[static_cast<std::size_t>(position)];
  return nullptr;
}

void MainFrame::setPrintMode(int mode) { app_.setup.printMode = mode; }

void MainFrame::commandListingExtras() {
  ListingExtrasDialog dialog(app_.extras, this);
  dialog.help = [this] { openHelp(app_, kHelpListingExtras); };
  setHelpContext(&dialog, kHelpListingExtras);
  runSetup(dialog);
  if (dialog.result() != QDialog::Accepted) return;
  const ListingExtras chosen = dialog.extras();
  // The run goes on with the choice even when the profile cannot keep it.
  if (!writeListingExtras(app_.profile, chosen, app_.extras))
    app_.messages.show("The listing extras could not be saved in the profile", "Profile Error",
                       MessageIcon::Exclamation);
  app_.extras = chosen;
}

void MainFrame::commandSetup() {
  TSetupDlg dialog(app_, this, choiceDialogs);
  dialog.help = [this] { openHelp(app_, kHelpSetup); };
  setHelpContext(&dialog, kHelpSetup);
  runSetup(dialog);
}

varnixWindowView* MainFrame::activeFileWindow() const {
  QMdiSubWindow* child = mdi_->activeSubWindow();
  return child ? qobject_cast<varnixWindowView*>(child->widget()) : nullptr;
}

void MainFrame::updateEnablers() {
  FrameState state;
  state.fileWindowCount = varnixWindowView::fileWindowCount();
  state.activeIsFileWindow = activeFileWindow() != nullptr;
  // Asking makes the printer object, as the enabler always has.
  state.printerError = state.activeIsFileWindow && app_.printer.hasError();
  state.childCount = static_cast<int>(mdi_->subWindowList().size());
  const FrameEnables e = frameEnables(state);
  action(kCmdCloseWindow)->setEnabled(e.closeWindow);
  action(kCmdNextWindow)->setEnabled(e.stepWindows);
  action(kCmdPreviousWindow)->setEnabled(e.stepWindows);
  action(kCmdOpen)->setEnabled(e.open);
  action(kCmdOpenProject)->setEnabled(e.openProject);
  action(kCmdPrintSetup)->setEnabled(e.printSetup);
  action(kCmdPrint)->setEnabled(e.print);
  action(kCmdPrintPreview)->setEnabled(e.preview);
}

void MainFrame::rebuildRecentMenu() {
  for (QAction* a : recentActions_) {
    fileMenu_->removeAction(a);
    a->deleteLater();
  }
  recentActions_.clear();
  const auto& entries = recent_.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const int position = static_cast<int>(i);
    QAction* a = fileMenu_->addAction(
        fromPath(RecentFiles::menuText(position, entries[i])));
    a->setData(RecentFiles::kFirstCommand + position);
    connect(a, &QAction::triggered, this, [this, position] { openRecent(position); });
    recentActions_.push_back(a);
  }
}

void MainFrame::rebuildWindowList() {
  for (QAction* a : windowActions_) {
    windowMenu_->removeAction(a);
    a->deleteLater();
  }
  windowActions_.clear();
  const QList<QMdiSubWindow*> children = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (children.isEmpty()) return;
  windowActions_.push_back(windowMenu_->addSeparator());
  for (int i = 0; i < children.size(); ++i) {
    QMdiSubWindow* child = children[i];
    QAction* a = windowMenu_->addAction(QString::fromStdString(
        windowListText(i, child->windowTitle().toStdString())));
    a->setData(kCmdFirstWindow + i);
    a->setCheckable(true);
    a->setChecked(child == mdi_->activeSubWindow());
    connect(a, &QAction::triggered, this, [this, child = QPointer<QMdiSubWindow>(child)] {
      if (child) mdi_->setActiveSubWindow(child);
    });
    windowActions_.push_back(a);
  }
}

void MainFrame::stepWindow(bool forward) {
  const QList<QMdiSubWindow*> children = mdi_->subWindowList(QMdiArea::CreationOrder);
  if (children.size() < 2) return;
  const qsizetype at = children.indexOf(mdi_->activeSubWindow());
  const qsizetype n = children.size();
  const qsizetype to = at < 0 ? 0 : (at + (forward ? 1 : n - 1)) % n;
  mdi_->setActiveSubWindow(children[to]);
}

void MainFrame::addRecent(const std::string& path) {
  if (recent_.add(path)) rebuildRecentMenu();
}

bool MainFrame::openFile(const std::string& path) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::unique_ptr<TFileDataSource> doc;
  try {
    doc = loadDocument(path, analysisOptions(app_.setup), app_.fs, app_.messages);
  } catch (...) {
    QApplication::restoreOverrideCursor();
    throw;
  }
  QApplication::restoreOverrideCursor();
  if (!doc) return false;
  const QString title = fromPath(fileDisplayName(path));
  auto* view = new varnixWindowView(std::move(doc), windowFontOf(app_.setup.windowFont), app_);
  QMdiSubWindow* frame = mdi_->addChild(view, title);
  // Queued: the window count drops in the view's destructor, before the
  // frame around it is gone.
  connect(view, &QObject::destroyed, this, [this] { updateEnablers(); }, Qt::QueuedConnection);
  frame->show();
  view->focusFirstList();
  addRecent(path);
  updateEnablers();
  return true;
}

void MainFrame::commandOpenProject() {
  if (varnixWindowView::fileWindowCount() >= kMaxFileWindows) return;
  const std::string path =
      projectDialog(this, app_.profile.getString("Tarnlist", "ProjectName", ""));
  if (path.empty()) return;
  app_.profile.writeString("Tarnlist", "ProjectName", path);
  openProject(path);
}

bool MainFrame::openProject(const std::string& path) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ProjectSearch search =
      projectSearch({}, app_.profile.getString("Tarnlist", "IncludePath", ""));
  auto project = std::make_unique<ApplicationData>(path, app_.fs, app_.attributes, search);
  QApplication::restoreOverrideCursor();
  if (project->files.empty()) {
    app_.messages.show(unableToOpenFile(path), "File Error", MessageIcon::Exclamation);
    return false;
  }
  ProjectActions actions;
  actions.openFile = [this](const std::string& file) { guarded([&] { openFile(file); }); };
  actions.addRecent = [this](const std::string& file) { addRecent(file); };
  actions.guarded = [this](const std::function<void()>& command) { guarded(command); };
  auto* view = new ProjectWindowView(std::move(project), windowFontOf(app_.setup.windowFont), app_,
                                     std::move(actions));
  QMdiSubWindow* frame = mdi_->addChild(view, QStringLiteral("Project ") + fromPath(fileDisplayName(path)));
  frame->show();
  view->focusFirstList();
  updateEnablers();
  return true;
}

void MainFrame::openFiles(const std::vector<std::string>& paths) {
  guarded([&] {
    for (const std::string& path : paths) openFile(path);
  });
}

void MainFrame::openRecent(int position) {
  const auto& entries = recent_.entries();
  if (position < 0 || position >= static_cast<int>(entries.size())) return;
  const std::string path = entries[static_cast<std::size_t>(position)];  // a copy: the list may change
  guarded([&] { openFile(path); });
}

void MainFrame::commandOpen() {
  if (varnixWindowView::fileWindowCount() >= kMaxFileWindows) return;
  const std::vector<std::string> paths =
      openDialog(this, app_.profile.getString("Tarnlist", "OpenFolder", ""));
  if (paths.empty()) return;
  if (std::optional<std::string> folder = splitPath(paths.front()).directory)
    app_.profile.writeString("Tarnlist", "OpenFolder", *folder);
  openFiles(paths);
}

void MainFrame::placeOnScreen() {
  const QByteArray saved = QByteArray::fromBase64(
      QByteArray::fromStdString(app_.profile.getString("Tarnlist", "WindowGeometry", "")));
  const bool restored = !saved.isEmpty() && restoreGeometry(saved);
  if (restored && !isMaximized()) {
    show();
  } else {
    // Without a window manager nobody maximises: take the screen ourselves.
    if (QScreen* screen = this->screen()) setGeometry(screen->availableGeometry());
    showMaximized();
  }
  // Nobody else gives a window the keyboard when there is no window manager.
  QTimer::singleShot(0, this, [this] {
    if (!QApplication::activeWindow() && isVisible()) {
      raise();
      activateWindow();
    }
  });
}

void MainFrame::commandPrint() {
  if (varnixWindowView* view = activeFileWindow()) view->printWholeFile();
}

void MainFrame::commandPreview() {
  varnixWindowView* view = activeFileWindow();
  if (!view) return;
  app_.dates.order();  // a warning about the date order must not come from inside a paint
  PreviewWindow preview(*view, app_, mdi_);
  setHelpContext(&preview, kHelpPrinting);
  runPreview(preview);
}

bool MainFrame::commandFailed(const std::exception& error) {
  const MessageAnswer answer =
      app_.messages.show(std::string(error.what()) + "\nOK to resume?", "Unhandled Exception",
                         MessageIcon::Stop, MessageButtons::YesNo);
  if (answer == MessageAnswer::Yes) return true;
  // No: the program ends the normal way, settings and recent files saved.
  QTimer::singleShot(0, this, [this] {
    if (!close()) QCoreApplication::exit(0);
  });
  return false;
}

void MainFrame::guarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& e) {
    commandFailed(e);
  }
}

void MainFrame::scheduleStartUp(std::optional<std::string> argument,
                                std::vector<std::string> open) {
  batch_ = argument.has_value();
  QTimer::singleShot(0, this, [this, argument = std::move(argument), open = std::move(open)] {
    firstIdle(argument, open);
  });
}

void MainFrame::firstIdle(const std::optional<std::string>& argument,
                          const std::vector<std::string>& open) {
  recent_.load(app_.profile);
  rebuildRecentMenu();
  // After the recent list is loaded, so the files opened join it on top.
  openFiles(open);
  if (!argument) return;
  if (!app_.printer.hasPrinter()) {
    app_.messages.show("No printer is set up. Use --pdf PATH to print into PDF files.",
                       "Print Error", MessageIcon::Exclamation);
    QCoreApplication::exit(1);
    return;
  }
  int status = 0;
  try {
    PrintServices services = app_.printServices([this](const std::string& p) { addRecent(p); });
    app_.printer.setDialogParent(this);
    status = printCommandLine(*argument, services, true);
  } catch (const std::exception& e) {
    // Yes leaves the program running with its empty window; No closes it.
    commandFailed(e);
    return;
  }
  QCoreApplication::exit(status);
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (PrintGuard::active()) {
    event->ignore();
    return;
  }
  mdi_->closeAllSubWindows();
  const bool canClose = mdi_->subWindowList().isEmpty();
  // Whatever the answer; a profile that cannot be written is said once a run.
  if (!recent_.save(app_.profile) && !recentUnsaved_) {
    recentUnsaved_ = true;
    app_.messages.show("The recent files could not be saved in the profile", "Profile Error",
                       MessageIcon::Exclamation);
  }
  if (canClose) {
    app_.profile.writeString("Tarnlist", "WindowGeometry", saveGeometry().toBase64().toStdString());
    event->accept();
  } else {
    event->ignore();
  }
}

void MainFrame::contextHelp() {
  QWidget* shown = QApplication::activeModalWidget();
  if (!shown && mdi_->activeSubWindow()) shown = mdi_->activeSubWindow()->widget();
  helpUsed_ = openHelp(app_, helpContextOf(shown));
}

bool MainFrame::eventFilter(QObject* watched, QEvent* event) {
  // Alt+P belongs to the "&Print mode" menu and to a file window's "&Print"
  // button. Inside a file window that can print an embed point the button
  // takes it, everywhere else the menu opens: the key never does nothing.
  const QEvent::Type type = event->type();
  if (type == QEvent::Hide) {
    // Without a window manager nobody gives the main window back its
    // activation when a dialog closes, and its shortcuts would stop working.
    auto* dialog = qobject_cast<QWidget*>(watched);
    if (dialog && dialog->isWindow() && dialog != this && dialog->isModal())
      QTimer::singleShot(0, this, [this] {
        if (!QApplication::activeWindow() && isVisible()) activateWindow();
      });
    return QMainWindow::eventFilter(watched, event);
  }
  if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
    return QMainWindow::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  auto* widget = qobject_cast<QWidget*>(watched);
  if (type == QEvent::KeyPress && key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier &&
      widget && !QApplication::activePopupWidget()) {
    contextHelp();
    return true;
  }
  if (type == QEvent::KeyPress && key->key() == Qt::Key_Escape) {
    // Esc closes a menu of the bar and leaves the bar too: one key gives the
    // keyboard back to the window it came from.
    auto* menu = qobject_cast<QMenu*>(watched);
    if (menu && menuBar()->actions().contains(menu->menuAction()))
      QTimer::singleShot(0, this, [this] {
        if (!menuBar()->hasFocus() || QApplication::activePopupWidget()) return;
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(menuBar(), &esc);
      });
    return QMainWindow::eventFilter(watched, event);
  }
  if (key->key() != Qt::Key_P || key->modifiers() != Qt::AltModifier || !widget ||
      widget->window() != this || QApplication::activePopupWidget() ||
      QApplication::activeModalWidget())
    return QMainWindow::eventFilter(watched, event);
  if (type == QEvent::ShortcutOverride) {
    event->accept();
    return true;
  }
  varnixWindowView* view = activeFileWindow();
  QPushButton* button = view ? view->button(varnixWindowView::kEmbedPrint) : nullptr;
  if (button && button->isEnabled() && view->isAncestorOf(QApplication::focusWidget())) {
    button->animateClick();
  } else {
    menuBar()->setActiveAction(printModeMenu_->menuAction());
  }
  return true;
}

}  // namespace tarn
