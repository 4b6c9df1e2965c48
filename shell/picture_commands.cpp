#include "shell/picture_commands.h"

#include "expr/message_hook.h"
#include "graph/appearance.h"
#include "shell/graph_area.h"
#include "shell/main_window.h"
#include "shell/picture_export.h"
#include "shell/redraws.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QAction>
#include <QToolBar>

namespace {

struct PictureFilter {
    const char* text;
    PictureFormat format;
    int ratio;
};

constexpr PictureFilter pictureFilters[] = {
    {"PNG picture (*.png)", PictureFormat::Png, 1},
    {"PNG picture, twice the size (*.png)", PictureFormat::Png, 2},
    {"PNG picture, four times the size (*.png)", PictureFormat::Png, 4},
    {"SVG drawing (*.svg)", PictureFormat::Svg, 1},
};

struct PictureChoice {
    QString path;
    PictureFormat format;
    int ratio;
};

// The name and the chosen filter; a name with the other suffix is written in its own format.
std::optional<PictureChoice> exportPrompt(QWidget* owner) {
    QStringList filters;
    for (const PictureFilter& filter : pictureFilters)
        filters << QString::fromLatin1(filter.text);
    QFileDialog dialog(owner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(filter.startsWith(QLatin1String("SVG")) ? QStringLiteral("svg")
                                                                        : QStringLiteral("png"));
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const auto chosen = filters.indexOf(dialog.selectedNameFilter());
    const PictureFilter& filter = pictureFilters[chosen < 0 ? 0 : chosen];
    PictureChoice choice{dialog.selectedFiles().constFirst(), filter.format, filter.ratio};
    const std::optional<PictureFormat> named = pictureFormatOf(choice.path);
    if (named && *named != choice.format) {
        choice.format = *named;
        choice.ratio = 1;
    }
    return choice;
}

// The colours of a print: Light, for paper, unless the user picks the screen's Classic.
QComboBox* printThemeBox(QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItem(QStringLiteral("Light (for paper)"), static_cast<int>(Theme::Light));
    box->addItem(QStringLiteral("Classic (as on screen)"), static_cast<int>(Theme::Classic));
    return box;
}

Theme chosenTheme(const QComboBox* box) {
    return box->currentData().toInt() == static_cast<int>(Theme::Classic) ? Theme::Classic : Theme::Light;
}

} // namespace

void exportPictureFlow(MainWindow& window) {
    const std::optional<PictureChoice> choice = exportPrompt(&window);
    if (!choice) return;
    redrawIfStale();
    if (!writePicture(choice->path, choice->format, choice->ratio, drawScene)) {
        showMessage("Error", "Cant save file", messageIconNone);
    }
}

void copyPicture(MainWindow& window) {
    redrawIfStale();
    QGuiApplication::clipboard()->setImage(drawnImage(window.graphArea()->pictureRatio(), drawScene));
}

void printPictureFlow(MainWindow& window) {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &window);
    auto* options = new QWidget(&dialog);
    options->setWindowTitle(QStringLiteral("Colours"));
    auto* layout = new QFormLayout(options);
    QComboBox* theme = printThemeBox(options);
    layout->addRow(QStringLiteral("Colours:"), theme);
    dialog.setOptionTabs({options});
    if (dialog.exec() != QDialog::Accepted) return;
    redrawIfStale();
    printPicture(printer, chosenTheme(theme), drawScene);
}

void printPreviewFlow(MainWindow& window) {
    redrawIfStale();
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, &window);
    QComboBox* theme = printThemeBox(&preview);
    // First on the tool bar, where a narrow preview window still shows it.
    if (auto* bar = preview.findChild<QToolBar*>()) {
        const QList<QAction*> actions = bar->actions();
        QAction* first = actions.isEmpty() ? nullptr : actions.constFirst(); // none: at the end
        bar->insertWidget(first, theme);
        bar->insertSeparator(first);
    }
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [theme](QPrinter* target) { printPicture(*target, chosenTheme(theme), drawScene); });
    QObject::connect(theme, &QComboBox::currentIndexChanged, &preview, [&preview] {
        if (auto* pages = preview.findChild<QPrintPreviewWidget*>()) pages->updatePreview();
    });
    preview.exec();
}
