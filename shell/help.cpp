#include "shell/help.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

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
        QDesktopServices::openUrl(QUrl::fromLocalFile(page));
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
