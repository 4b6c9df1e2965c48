#include "shell/appearance_settings.h"

#include "graph/appearance.h"

#include <QSettings>

#include <memory>

namespace {

QString overrideFile;

std::unique_ptr<QSettings> openSettings() {
    if (!overrideFile.isEmpty()) return std::make_unique<QSettings>(overrideFile, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tarvelion"),
                                       QStringLiteral("tarvelion"));
}

const QString themeKey = QStringLiteral("appearance/theme");
const QString gridKey = QStringLiteral("appearance/grid");
const QString paletteKey = QStringLiteral("appearance/palette");
const QString widthKey = QStringLiteral("appearance/curveWidth");
const QString numbersKey = QStringLiteral("appearance/numberedAxes");
const QString equalKey = QStringLiteral("appearance/equalScale");
const QString smoothKey = QStringLiteral("appearance/antialiasing");
const QString implicitKey = QStringLiteral("appearance/implicitCurves");

} // namespace

void setAppearanceFile(const QString& path) {
    overrideFile = path;
}

void loadAppearance() {
    const std::unique_ptr<QSettings> settings = openSettings();
    const Appearance defaults;
    Appearance stored;
    stored.theme = static_cast<Theme>(settings->value(themeKey, static_cast<int>(defaults.theme)).toInt());
    stored.grid = static_cast<GridLines>(settings->value(gridKey, static_cast<int>(defaults.grid)).toInt());
    stored.palette = static_cast<Palette>(settings->value(paletteKey, static_cast<int>(defaults.palette)).toInt());
    stored.curveWidth = settings->value(widthKey, defaults.curveWidth).toInt();
    stored.numberedAxes = settings->value(numbersKey, defaults.numberedAxes).toBool();
    stored.equalScale = settings->value(equalKey, defaults.equalScale).toBool();
    stored.antialiasing = settings->value(smoothKey, defaults.antialiasing).toBool();
    stored.implicitStyle =
        static_cast<ImplicitStyle>(settings->value(implicitKey, static_cast<int>(defaults.implicitStyle)).toInt());
    appearance = validAppearance(stored);
}

void saveAppearance() {
    const std::unique_ptr<QSettings> settings = openSettings();
    settings->setValue(themeKey, static_cast<int>(appearance.theme));
    settings->setValue(gridKey, static_cast<int>(appearance.grid));
    settings->setValue(paletteKey, static_cast<int>(appearance.palette));
    settings->setValue(widthKey, appearance.curveWidth);
    settings->setValue(numbersKey, appearance.numberedAxes);
    settings->setValue(equalKey, appearance.equalScale);
    settings->setValue(smoothKey, appearance.antialiasing);
    settings->setValue(implicitKey, static_cast<int>(appearance.implicitStyle));
}

std::optional<Theme> themeNamed(const QString& name) {
    if (name.compare(QLatin1String("classic"), Qt::CaseInsensitive) == 0) return Theme::Classic;
    if (name.compare(QLatin1String("light"), Qt::CaseInsensitive) == 0) return Theme::Light;
    return std::nullopt;
}
