#include "shell/main_window.h"

#include "expr/message_hook.h"
#include "shell/change_tracker.h"
#include "shell/command_dialog.h"
#include "shell/commands.h"
#include "shell/file_commands.h"
#include "shell/graph_area.h"
#include "shell/info_box.h"
#include "shell/redraws.h"
#include "shell/stop_dialog.h"
#include "shell/undo_history.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace {

MainWindow* messageOwner = nullptr;

// Message boxes of the layers below the shell, owned by the main window, with an OK button.
// The caption holds the reason, which a narrow box's title bar may cut, so the box also shows it
// above the body. Plain text: the body is what the user typed, never markup.
void showOwnedMessage(const char* caption, const char* body, int icon) {
    const QString reason = QString::fromLatin1(caption);
    QMessageBox box(icon == messageIconError ? QMessageBox::Critical : QMessageBox::NoIcon, reason,
                    reason + QStringLiteral("\n\n") + QString::fromLatin1(body), QMessageBox::Ok,
                    messageOwner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Alt pressed and released alone starts the menu bar's keyboard navigation, as on other desktops.
class AltKeyMenuStyle : public QProxyStyle {
  public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == SH_MenuBar_AltKeyNavigation) return 1;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// The name's bytes as the file system has them: a URL keeps bytes that are no valid UTF-8
// percent-encoded, which toLocalFile() would turn into replacement characters.
std::string localFileBytes(const QUrl& url) {
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

// The first local file of the drop whose name ends in .tvl; empty when there is none.
std::string droppedDocument(const QMimeData* data) {
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) continue;
        const std::string name = localFileBytes(url);
        if (QByteArray::fromStdString(name).toLower().endsWith(".tvl")) return name;
    }
    return {};
}

} // namespace

MainWindow::MainWindow()
    : graphArea_(new GraphArea(this)), changeTracker_(new ChangeTracker(this)),
      undoHistory_(new UndoHistory(*this, *changeTracker_)) {
    showCaption(false);
    connect(changeTracker_, &ChangeTracker::checked, this, &MainWindow::showCaption);
    // Whatever an input changed (a console line, a dialog's field), the picture follows.
    connect(changeTracker_, &ChangeTracker::checked, this, [] { redrawIfStale(); });
    setAcceptDrops(true);
    setCentralWidget(graphArea_);
    menus_ = buildMenus(menuBar(), this, [this](Command id) { runCommand(id); });
    showUndoSteps();
    connect(undoHistory_, &UndoHistory::stepsChanged, this, &MainWindow::showUndoSteps);
    // The menu resources carry these two checked; the program starts with both off.
    setChecked(Command::ShowParametric, false);
    setChecked(Command::ShowChord, false);
    graphArea_->addActions(menus_.graphAreaKeys);
    graphArea_->setFocus();
    auto* menuStyle = new AltKeyMenuStyle;
    menuStyle->setParent(menuBar());
    menuBar()->setStyle(menuStyle);
    // F10 opens the first menu, as on other desktops.
    auto* openMenus = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(openMenus, &QShortcut::activated, this,
            [this] { menuBar()->setActiveAction(menuBar()->actions().constFirst()); });
    connect(graphArea_, &GraphArea::popupRequested, this, &MainWindow::showPopup);
    connect(graphArea_, &GraphArea::traceRequested, this, [this] { runCommand(Command::Trace); });
    messageOwner = this;
    setMessageHook(showOwnedMessage);
    installStopDialog(this);
}

MainWindow::~MainWindow() {
    if (messageOwner != this) return;
    messageOwner = nullptr;
    setMessageHook(nullptr);
    installStopDialog(nullptr);
}

void MainWindow::requestRepaint() {
    graphArea_->requestRepaint();
}

// A command may change the document after its dialog has closed, past the look that followed
// the last click; so one more look follows every command.
void MainWindow::runCommand(Command id) {
    dispatchCommand(*this, id);
    changeTracker_->check();
}

bool MainWindow::isChecked(Command id) const {
    const QAction* entry = action(id);
    return entry != nullptr && entry->isChecked();
}

void MainWindow::setChecked(Command id, bool checked) {
    if (QAction* entry = action(id)) entry->setChecked(checked);
}

InfoBox* MainWindow::infoBox() const {
    return graphArea_->infoBox();
}

void MainWindow::openConsole() {
    if (console_ == nullptr) {
        console_ = new CommandDialog(this);
        showModeless(console_);
    }
    console_->raise();
    console_->activateWindow();
}

CommandDialog* MainWindow::console() const {
    return console_;
}

void MainWindow::showPopup(QPoint pixel) {
    menus_.popup->popup(graphArea_->mapToGlobal(pixel));
}

void MainWindow::showUndoSteps() {
    action(Command::Undo)->setEnabled(undoHistory_->canUndo());
    action(Command::Redo)->setEnabled(undoHistory_->canRedo());
}

// The caption's fixed text, then the document's name once it has one, and a mark while its work
// is unsaved.
void MainWindow::showCaption(bool unsaved) {
    const QString name = documentName();
    QString caption = QStringLiteral("Tarvelion Release 1.2 - ");
    caption += name.isEmpty() ? QStringLiteral("real functions of one variable") : name;
    if (unsaved) caption += QStringLiteral(" *");
    if (caption != windowTitle()) setWindowTitle(caption);
}

// Closing the window ends the program once unsaved work has been saved or given up.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (!settleUnsavedChanges(*this)) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The window manager places the restored frame, and tells its size, after the state change
    // is reported; its moves and sizes of the next moment are checked too.
    if (event->type() == QEvent::WindowStateChange && windowState() == Qt::WindowNoState) {
        restoreSettles_ = QDeadlineTimer(1000);
        QTimer::singleShot(0, this, &MainWindow::keepOnScreen);
    }
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (!restoreSettles_.hasExpired()) QTimer::singleShot(0, this, &MainWindow::keepOnScreen);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!restoreSettles_.hasExpired()) QTimer::singleShot(0, this, &MainWindow::keepOnScreen);
}

void MainWindow::keepOnScreen() {
    if (windowState() != Qt::WindowNoState || screen() == nullptr) return;
    const QRect area = screen()->availableGeometry();
    const QRect frame = frameGeometry();
    const QSize frameExtra = frame.size() - geometry().size();
    const QSize client = size().boundedTo(area.size() - frameExtra).expandedTo(minimumSize());
    if (client != size()) resize(client);
    const QSize outer = client + frameExtra;
    const int left = std::max(area.left(), std::min(frame.left(), area.right() + 1 - outer.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - outer.height()));
    if (QPoint(left, top) != frame.topLeft()) move(left, top);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedDocument(event->mimeData()).empty()) event->acceptProposedAction();
}

// Opened once the drop is over, so the drag source is not kept waiting on the boxes of the load.
void MainWindow::dropEvent(QDropEvent* event) {
    const std::string name = droppedDocument(event->mimeData());
    if (name.empty()) return;
    event->acceptProposedAction();
    QTimer::singleShot(0, this, [this, name] { openDocumentAt(*this, name); });
}
