// printf-style text of one number, as long as the format makes it (no fixed buffer to overrun).
#pragma once

#include <cstdio>
#include <string>

inline std::string formatNumber(const char* format, double value) {
    const int length = std::snprintf(nullptr, 0, format, value);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value);
    return text;
}
