#include "shell/appearance_dialog.h"

#include "graph/appearance.h"
#include "graph/view_model.h"
#include "shell/appearance_settings.h"
#include "shell/dialog_template.h"

#include <QCheckBox>
#include <QComboBox>

#include <utility>

namespace {

constexpr int themeId = 40501;
constexpr int gridId = 40502;
constexpr int paletteId = 40503;
constexpr int widthId = 40504;
constexpr int numbersId = 40505;
constexpr int scaleId = 40506;
constexpr int closeId = 40507;
constexpr int implicitId = 40508;
constexpr int smoothId = 40509;

constexpr ControlTemplate appearanceControls[] = {
    {ControlKind::Static, noControlId, "Theme:", 10, 9, 50, 8},
    {ControlKind::ComboBox, themeId, "", 65, 7, 120, 12},
    {ControlKind::Static, noControlId, "Grid:", 10, 25, 50, 8},
    {ControlKind::ComboBox, gridId, "", 65, 23, 120, 12},
    {ControlKind::Static, noControlId, "Palette:", 10, 41, 50, 8},
    {ControlKind::ComboBox, paletteId, "", 65, 39, 120, 12},
    {ControlKind::Static, noControlId, "Curve width:", 10, 57, 50, 8},
    {ControlKind::ComboBox, widthId, "", 65, 55, 120, 12},
    {ControlKind::Static, noControlId, "Axis numbers:", 10, 73, 50, 8},
    {ControlKind::ComboBox, numbersId, "", 65, 71, 120, 12},
    {ControlKind::Static, noControlId, "Scale:", 10, 89, 50, 8},
    {ControlKind::ComboBox, scaleId, "", 65, 87, 120, 12},
    {ControlKind::Static, noControlId, "Implicit curves:", 10, 105, 50, 8},
    {ControlKind::ComboBox, implicitId, "", 65, 103, 120, 12},
    {ControlKind::CheckBox, smoothId, "Smooth (anti-aliased) curves", 10, 120, 175, 10},
    {ControlKind::Button, closeId, "Close", 10, 137, 40, 12},
};

constexpr DialogKeys appearanceKeys{closeId, closeId};

constexpr DialogTemplate appearanceTemplate{DialogFrame::Caption, "Appearance", "Bookman Old Style", 10, 32, 80,
                                            195, 157, appearanceControls, appearanceKeys};

// One choice: its combo box, its entries in the order of the values they stand for, the value
// the appearance holds, and how a chosen index sets it.
struct Choice {
    int id;
    std::initializer_list<const char*> entries;
    int current;
    void (*apply)(int index);
};

// A choice made: the appearance takes it, kept in range, and is stored before the picture follows.
void applyChoice(void (*apply)(int index), int index, const std::function<void()>& changed) {
    apply(index);
    appearance = validAppearance(appearance);
    saveAppearance();
    changed();
}

void fillChoice(QDialog* dialog, const Choice& choice, const std::function<void()>& changed) {
    auto* box = dialogControl<QComboBox>(dialog, choice.id);
    for (const char* entry : choice.entries)
        box->addItem(QString::fromLatin1(entry));
    box->setCurrentIndex(choice.current);
    QObject::connect(box, &QComboBox::currentIndexChanged, dialog, [apply = choice.apply, changed](int index) {
        if (index >= 0) applyChoice(apply, index, changed);
    });
}

void fillSmoothBox(QDialog* dialog, const std::function<void()>& changed) {
    auto* box = dialogControl<QCheckBox>(dialog, smoothId);
    box->setChecked(appearance.antialiasing);
    QObject::connect(box, &QCheckBox::toggled, dialog, [changed](bool on) {
        applyChoice([](int i) { appearance.antialiasing = i == 1; }, on ? 1 : 0, changed);
    });
}

} // namespace

QDialog* createAppearanceDialog(QWidget* owner, std::function<void()> changed) {
    auto* dialog = new TemplateDialog(owner, appearanceTemplate);
    const Choice choices[] = {
        {themeId, {"Classic", "Light"}, static_cast<int>(appearance.theme),
         [](int i) { appearance.theme = static_cast<Theme>(i); }},
        {gridId, {"None", "Major steps", "Major and minor steps"}, static_cast<int>(appearance.grid),
         [](int i) { appearance.grid = static_cast<GridLines>(i); }},
        {paletteId, {"Classic", "Ten distinct colours"}, static_cast<int>(appearance.palette),
         [](int i) { appearance.palette = static_cast<Palette>(i); }},
        {widthId, {"1", "2", "3"}, appearance.curveWidth - minCurveWidth,
         [](int i) { appearance.curveWidth = minCurveWidth + i; }},
        {numbersId, {"At the edges", "At every major step"}, appearance.numberedAxes ? 1 : 0,
         [](int i) { appearance.numberedAxes = i == 1; }},
        {scaleId, {"Fill the window", "Equal (1:1)"}, appearance.equalScale ? 1 : 0,
         [](int i) {
             appearance.equalScale = i == 1;
             setViewLimits(viewLimits); // the view takes the scale at once
         }},
        {implicitId, {"Dots", "Joined segments"}, static_cast<int>(appearance.implicitStyle),
         [](int i) { appearance.implicitStyle = static_cast<ImplicitStyle>(i); }},
    };
    for (const Choice& choice : choices)
        fillChoice(dialog, choice, changed);
    fillSmoothBox(dialog, changed);
    onClicked(dialog, closeId, [dialog] { dialog->done(QDialog::Accepted); });
    return dialog;
}

void runAppearanceDialog(QWidget* owner, std::function<void()> changed) {
    runModal(createAppearanceDialog(owner, std::move(changed)));
}
