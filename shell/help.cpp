#include "shell/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

#include <algorithm>

namespace {

constexpr QLatin1String helpWindowName("helpWindow");

// The program's own help window, one at a time, beside its owner.
void showHelpWindow(QWidget* owner, const QString& page) {
    auto* window = owner->findChild<QTextBrowser*>(helpWindowName, Qt::FindDirectChildrenOnly);
    if (window == nullptr) {
        window = new QTextBrowser(owner);
        window->setObjectName(helpWindowName);
        window->setWindowFlag(Qt::Window);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->setWindowTitle(QStringLiteral("Tarvelion 1.2 - Help"));
        window->setOpenExternalLinks(true);
        const QSize screen = owner->screen()->availableSize();
        window->resize(std::min(900, screen.width() * 3 / 4), std::min(700, screen.height() * 3 / 4));
    }
    window->setSource(QUrl::fromLocalFile(page));
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

QStringList helpPageCandidates() {
    const QString page = QStringLiteral("docs/tvhelp.htm");
    return {QDir::current().absoluteFilePath(page),
            QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(page),
            QDir(QCoreApplication::applicationDirPath())
                .absoluteFilePath(QStringLiteral(TARVELION_HELP_FROM_PROGRAM "/tvhelp.htm"))};
}

QString findHelpPage() {
    for (const QString& candidate : helpPageCandidates())
        if (QFileInfo(candidate).isFile()) return candidate;
    return {};
}

void showHelp(QWidget* owner) {
    const QString page = findHelpPage();
    if (!page.isEmpty()) {
        // Without a viewer on the desktop the page is shown in a window of the program's own.
        if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page))) showHelpWindow(owner, page);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Help"),
                    QStringLiteral("The help page docs/tvhelp.htm was not found. Looked for:\n") +
                        helpPageCandidates().join(QLatin1Char('\n')),
                    QMessageBox::Ok, owner);
    box.exec();
}

void showAbout(QWidget* owner) {
    const QString text = QStringLiteral("A program to display real functions of a single variable\n"
                                        "in various ways. Have fun!\n"
                                        "\n"
                                        "Tarvelion Release 1.2, built with Qt %1.\n"
                                        "Help > Help opens the user guide.")
                             .arg(QLatin1String(QT_VERSION_STR));
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Tarvelion 1.2"), text, QMessageBox::Ok, owner);
    box.exec();
}
