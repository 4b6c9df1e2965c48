// Settings > Appearance..: a choice applies to the window at once and is kept for the next
// session, in the preferences, not in the document.
#include "graph/appearance.h"
#include "shell/appearance_dialog.h"
#include "shell/appearance_settings.h"
#include "shell/dialog_template.h"
#include "shell/graph_area.h"
#include "shell_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr int themeId = 40501;
constexpr int widthId = 40504;
constexpr int implicitId = 40508;
constexpr int smoothId = 40509;

// Preferences in a file of the test's own, and the defaults back afterwards.
struct OwnPreferences {
    QTemporaryDir dir;
    OwnPreferences() { setAppearanceFile(dir.filePath("preferences.ini")); }
    ~OwnPreferences() {
        appearance = Appearance{};
        setAppearanceFile({});
    }
};

TEST(AppearanceDialog, ChoicesApplyAtOnceAndAreKept) {
    const OwnPreferences preferences;
    auto window = makeShownWindow();
    ASSERT_TRUE(window);
    int changes = 0;
    QDialog* dialog = createAppearanceDialog(window.get(), [&] {
        ++changes;
        window->requestRepaint();
        window->graphArea()->repaint();
    });
    dialogControl<QComboBox>(dialog, themeId)->setCurrentIndex(1);
    dialogControl<QComboBox>(dialog, widthId)->setCurrentIndex(2);
    dialogControl<QComboBox>(dialog, implicitId)->setCurrentIndex(1);
    dialogControl<QCheckBox>(dialog, smoothId)->setChecked(true);
    delete dialog;
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(window->graphArea()->image().pixel(1, 1) & RGB_MASK, qRgb(255, 255, 255) & RGB_MASK);

    appearance = Appearance{};
    loadAppearance();
    EXPECT_EQ(appearance.theme, Theme::Light);
    EXPECT_EQ(appearance.curveWidth, 3);
    EXPECT_EQ(appearance.implicitStyle, ImplicitStyle::Segments);
    EXPECT_TRUE(appearance.antialiasing);
}

} // namespace
