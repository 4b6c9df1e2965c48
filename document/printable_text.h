// Texts from files shown on a terminal: a damaged document's bytes can reach a caption, a memo
// or a file name, and must not steer the terminal that shows them.
#pragma once

#include <string>
#include <string_view>

enum class LineBreaks { Joined, Kept };

// The text with every control byte shown as "?". With Kept, line breaks stay (a CR LF line end,
// as the memo editor writes it, becomes one break) and so do tabs; with Joined the text is one line.
std::string printable(std::string_view text, LineBreaks lines);
