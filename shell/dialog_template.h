// Dialog templates: each dialog is one table of controls laid out in dialog units, turned into Qt
// widgets by one builder. Dialog units scale with the dialog's font: a horizontal unit is a quarter
// of the font's average character width, a vertical unit an eighth of its character height.
#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

class QFont;
class QKeyEvent;

enum class ControlKind { Static, Edit, MultiLineEdit, Button, CheckBox, HScrollBar, ComboBox };

// Style bits a control template may carry.
enum ControlStyle : unsigned {
    styleNone = 0,
    styleCentred = 1u << 0, // static text centred in its rectangle
    styleVScroll = 1u << 1, // multi-line edit with a vertical scroll bar
    styleBorder = 1u << 2,  // edit with a visible border
};

// Anonymous controls (most labels) have no id and cannot be looked up.
inline constexpr int noControlId = -1;

struct ControlTemplate {
    ControlKind kind;
    int id;
    const char* text;
    int x, y, width, height; // dialog units
    unsigned style = styleNone;
    int maxLength = 0; // edit fields: most characters the field accepts, 0 for the platform's limit
};

enum class DialogFrame {
    None,    // no caption bar: a thin border only
    Caption, // a caption bar with the template's title and no close box
};

// The buttons that Enter and Escape press; noControlId where the key presses none.
struct DialogKeys {
    int enter = noControlId;
    int escape = noControlId;
};

struct DialogTemplate {
    DialogFrame frame;
    const char* caption;
    const char* fontFamily;
    int fontPointSize;
    int x, y, width, height; // dialog units, relative to the owner's top left corner
    std::span<const ControlTemplate> controls;
    DialogKeys keys = {};
};

// Average character width and character height of a font, measured as Windows measures dialog fonts.
QSize dialogBaseUnits(const QFont& font);

// Converts a rectangle in dialog units to pixels for the given base units (rounded to nearest).
QRect dialogUnitsToPixels(const QRect& units, QSize baseUnits);

// A dialog built from a template. It leaves only through its own buttons, which call done(): a
// close request from the window system does nothing, and Escape only presses the template's
// escape button. Enter presses the focused push button, otherwise the template's enter button;
// fields of several lines keep Enter for themselves. Held keys do not repeat a press.
class TemplateDialog : public QDialog {
    Q_OBJECT
  public:
    TemplateDialog(QWidget* owner, const DialogTemplate& layout);
    void reject() override {}
    // For dialogs that show document state and write it back on a press: fills their fields from
    // the program state now, and again on every refill().
    void fillFromState(std::function<void()> fill) {
        refill_ = std::move(fill);
        refill();
    }
    void refill() const {
        if (refill_) refill_();
    }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    // A dialog never stays minimised: a window manager that minimises it may take its owner along,
    // leaving no window to come back to, so both are brought back at once.
    void changeEvent(QEvent* event) override;

  private:
    DialogKeys keys_;
    std::function<void()> refill_;
};

// Builds the controls of a template into `dialog`, sets its font, title and size, and places it
// relative to its owner. Every control with an id can afterwards be found with dialogControl().
void buildDialog(QDialog& dialog, const DialogTemplate& layout);

// Calls action whenever the button with that id is clicked.
void onClicked(QDialog* dialog, int id, const std::function<void()>& action);

// Runs a dialog modally (its owner keeps repainting meanwhile), destroys it and returns its result.
int runModal(QDialog* dialog);

// Shows a dialog beside its owner; it destroys itself when it closes.
QDialog* showModeless(QDialog* dialog);

// The open dialogs of owner show the program state again, so that a press in one of them does not
// write back what an undo or redo has just replaced.
void refillOpenDialogs(const QWidget* owner);

QWidget* findDialogControl(const QWidget* dialog, int id);

template <class Widget> Widget* dialogControl(const QWidget* dialog, int id) {
    return qobject_cast<Widget*>(findDialogControl(dialog, id));
}

// The texts of edit fields and labels by control id, as the 8-bit texts the rest of the program uses
// (characters outside Latin-1 become "?"). An id that names no field reads as the empty text.
std::string fieldText(const QWidget* dialog, int id);
void setFieldText(QWidget* dialog, int id, std::string_view text);

// The longest number at the start of a text, as strtod reads it; 0 when there is none.
double textNumber(const char* text);
double fieldNumber(const QWidget* dialog, int id);

// A number as the dialogs show it: "%lf", fixed point with six decimals.
std::string formatNumber(double value);

// A number as a readout shows it: "%lf", or "%.6e" where the fixed-point text would pass 24
// characters (a magnitude of about 1e17), so that it stays whole in a box of sensible width.
std::string formatReadout(double value);

// Shows a number in the label `id` of a dialog; the label, and the dialog with it where needed,
// widen until the number fits whole. The dialog never narrows again while it is open.
void showReadout(QWidget* dialog, int id, double value);
