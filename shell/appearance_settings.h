// The appearance preferences kept between sessions with QSettings, in the desktop's usual place
// for a user's settings (never in a document, which stays byte for byte what it was).
#pragma once

#include <QString>

#include <optional>

// Loads `appearance` from the stored preferences; what is missing or out of range keeps or
// takes its default.
void loadAppearance();
void saveAppearance();
// While set, the preferences are kept in this INI file instead (tests); empty: the usual place.
void setAppearanceFile(const QString& path);

enum class Theme;
// The theme a name such as --theme gives ("classic" or "light", any case); none for any other.
std::optional<Theme> themeNamed(const QString& name);
