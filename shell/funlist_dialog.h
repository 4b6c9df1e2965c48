// FUNLIST: ticks which user functions have their explicit graph drawn. Also the row texts that the
// function dialogs share.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class QDialog;
class QWidget;

// The separator of the curve labels' form, f(x) = 1+x; definitionSeparator gives f(x)=1+x.
inline constexpr std::string_view labelSeparator = ") = ";

// Rows 0-9 name the first ten user functions; a row text shows at most this many characters.
inline constexpr int rowTextLimit = 79;

// name(parameters) separator body of the user function of `row`, cut at its end to rowTextLimit
// characters; empty when the row has no function.
std::string functionRowText(int row, std::string_view separator);

// Writes the ten row texts into the labels firstLabelId ... firstLabelId + 9.
void fillFunctionRows(QWidget* dialog, int firstLabelId, std::string_view separator);

// Ties check box firstBoxId + i to flags[i] for the ten rows: the box shows the flag, and a click
// sets the flag to 1 when the box was clear and to 0 otherwise.
void bindRowFlags(QWidget* dialog, int firstBoxId, std::span<std::int32_t, 10> flags);

QDialog* createFunListDialog(QWidget* owner);
// Modal; on OK draws the ticked explicit and polar graphs over the current picture.
void runFunListDialog(QWidget* owner);
