#include "document/printable_text.h"

std::string printable(std::string_view text, LineBreaks lines) {
    std::string shown;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool lineEnd = text[i] == '\n' || (text[i] == '\r' && text.substr(i, 2) == "\r\n");
        if (lines == LineBreaks::Kept && lineEnd) {
            shown += '\n';
            i += text[i] == '\r' ? 1 : 0;
            continue;
        }
        const bool kept = lines == LineBreaks::Kept && text[i] == '\t';
        const bool control = byte < 0x20 || (byte >= 0x7f && byte < 0xa0);
        shown += control && !kept ? '?' : text[i];
    }
    return shown;
}
