#include "dialog_template.h"

#include "graph/number_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>

namespace {

// Width of the raised border that stands in for the modal frame of a caption-less dialog.
constexpr int borderWidth = 2;

QString controlName(int id) {
    return QStringLiteral("id%1").arg(id);
}

// Windows' MulDiv for the non-negative operands of a layout: a * b / c rounded to nearest.
int mulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    return static_cast<int>((product + (product >= 0 ? c / 2 : -c / 2)) / c);
}

QWidget* createStatic(QWidget* parent, const ControlTemplate& control) {
    auto* label = new QLabel(QString::fromLatin1(control.text), parent);
    label->setAlignment((control.style & styleCentred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A label never cuts its text where the dialog has room: one narrower than its text widens (a
// centred one about its centre) as far as the dialog reaches.
void fitLabel(QLabel* label) {
    const int needed = label->sizeHint().width();
    const QRect place = label->geometry();
    if (needed <= place.width() || label->parentWidget() == nullptr) return;
    const int room = label->parentWidget()->width();
    const int grow = needed - place.width();
    const int left =
        label->alignment() & Qt::AlignHCenter ? std::max(0, place.left() - grow / 2) : place.left();
    label->setGeometry(left, place.top(), std::min(needed, std::max(room - left, place.width())),
                       place.height());
}

QWidget* createEdit(QWidget* parent, const ControlTemplate& control) {
    auto* edit = new QLineEdit(QString::fromLatin1(control.text), parent);
    if (control.maxLength > 0) edit->setMaxLength(control.maxLength);
    // The templates' fields are only ten dialog units high; Qt's default padding would hide the text.
    edit->setTextMargins(0, 0, 0, 0);
    edit->setStyleSheet(QStringLiteral("QLineEdit { padding: 0px; }"));
    return edit;
}

QWidget* createMultiLineEdit(QWidget* parent, const ControlTemplate& control) {
    auto* edit = new QPlainTextEdit(QString::fromLatin1(control.text), parent);
    edit->setVerticalScrollBarPolicy(control.style & styleVScroll ? Qt::ScrollBarAlwaysOn
                                                                  : Qt::ScrollBarAlwaysOff);
    edit->setFrameShape(control.style & styleBorder ? QFrame::StyledPanel : QFrame::NoFrame);
    return edit;
}

QWidget* createButton(QWidget* parent, const ControlTemplate& control) {
    auto* button = new QPushButton(QString::fromLatin1(control.text), parent);
    // Enter in a field must not press a button: the dialogs act only on clicks.
    button->setAutoDefault(false);
    return button;
}

QWidget* createControl(QWidget* parent, const ControlTemplate& control) {
    switch (control.kind) {
    case ControlKind::Static:
        return createStatic(parent, control);
    case ControlKind::Edit:
        return createEdit(parent, control);
    case ControlKind::MultiLineEdit:
        return createMultiLineEdit(parent, control);
    case ControlKind::Button:
        return createButton(parent, control);
    case ControlKind::CheckBox:
        return new QCheckBox(QString::fromLatin1(control.text), parent);
    case ControlKind::HScrollBar:
        return new QScrollBar(Qt::Horizontal, parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    }
    return nullptr;
}

Qt::WindowFlags frameFlags(DialogFrame frame) {
    if (frame == DialogFrame::None) return Qt::Dialog | Qt::FramelessWindowHint;
    return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

} // namespace

QSize dialogBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(alphabetWidth / 26 + 1) / 2, metrics.height()};
}

QRect dialogUnitsToPixels(const QRect& units, QSize baseUnits) {
    return {mulDiv(units.x(), baseUnits.width(), 4), mulDiv(units.y(), baseUnits.height(), 8),
            mulDiv(units.width(), baseUnits.width(), 4), mulDiv(units.height(), baseUnits.height(), 8)};
}

TemplateDialog::TemplateDialog(QWidget* owner, const DialogTemplate& layout)
    : QDialog(owner), keys_(layout.keys) {
    buildDialog(*this, layout);
}

void TemplateDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
    QTimer::singleShot(0, this, [this] {
        for (QWidget* window :
             {parentWidget() ? parentWidget()->window() : nullptr, static_cast<QWidget*>(this)}) {
            if (window != nullptr && window->isMinimized())
                window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        }
        raise();
        activateWindow();
    });
}

void TemplateDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (!enter && key != Qt::Key_Escape) return QDialog::keyPressEvent(event);
    event->accept();
    if (event->isAutoRepeat()) return;
    auto* focused = qobject_cast<QPushButton*>(focusWidget());
    QAbstractButton* button = enter && focused != nullptr
                                  ? focused
                                  : dialogControl<QAbstractButton>(this, enter ? keys_.enter : keys_.escape);
    if (button != nullptr && button->isEnabled()) button->click();
}

void buildDialog(QDialog& dialog, const DialogTemplate& layout) {
    dialog.setWindowFlags(frameFlags(layout.frame));
    dialog.setWindowTitle(QString::fromLatin1(layout.caption ? layout.caption : ""));
    QFont font(QString::fromLatin1(layout.fontFamily));
    font.setPointSize(layout.fontPointSize);
    dialog.setFont(font);
    const QSize base = dialogBaseUnits(font);

    const int inset = layout.frame == DialogFrame::None ? borderWidth : 0;
    const QRect client = dialogUnitsToPixels(QRect(layout.x, layout.y, layout.width, layout.height), base);
    dialog.setFixedSize(client.width() + 2 * inset, client.height() + 2 * inset);
    if (inset > 0) {
        // Created first so that it lies beneath every control; the layout keeps it at the dialog's size.
        auto* border = new QFrame(&dialog);
        border->setFrameStyle(QFrame::WinPanel | QFrame::Raised);
        auto* fill = new QVBoxLayout(&dialog);
        fill->setContentsMargins(0, 0, 0, 0);
        fill->addWidget(border);
    }
    for (const ControlTemplate& control : layout.controls) {
        QWidget* widget = createControl(&dialog, control);
        if (control.id != noControlId) widget->setObjectName(controlName(control.id));
        const QRect units(control.x, control.y, control.width, control.height);
        widget->setGeometry(dialogUnitsToPixels(units, base).translated(inset, inset));
        if (auto* label = qobject_cast<QLabel*>(widget)) fitLabel(label);
    }
    const QWidget* owner = dialog.parentWidget();
    const QPoint origin = owner ? owner->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    dialog.move(origin + client.topLeft());
}

void onClicked(QDialog* dialog, int id, const std::function<void()>& action) {
    QObject::connect(dialogControl<QPushButton>(dialog, id), &QPushButton::clicked, dialog, action);
}

int runModal(QDialog* dialog) {
    // The owner may destroy the dialog while it runs, for example when the program quits.
    const QPointer<QDialog> guard(dialog);
    const int result = dialog->exec();
    delete guard.data();
    return result;
}

QDialog* showModeless(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
    return dialog;
}

void refillOpenDialogs(const QWidget* owner) {
    for (const TemplateDialog* dialog : owner->findChildren<TemplateDialog*>(Qt::FindDirectChildrenOnly))
        dialog->refill();
}

QWidget* findDialogControl(const QWidget* dialog, int id) {
    return dialog->findChild<QWidget*>(controlName(id), Qt::FindDirectChildrenOnly);
}

std::string fieldText(const QWidget* dialog, int id) {
    const QWidget* control = findDialogControl(dialog, id);
    QString text;
    if (auto* edit = qobject_cast<const QLineEdit*>(control))
        text = edit->text();
    else if (auto* label = qobject_cast<const QLabel*>(control))
        text = label->text();
    else if (auto* multiLine = qobject_cast<const QPlainTextEdit*>(control))
        text = multiLine->toPlainText();
    return text.toLatin1().toStdString();
}

void setFieldText(QWidget* dialog, int id, std::string_view text) {
    QWidget* control = findDialogControl(dialog, id);
    const QString latin = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(latin);
    else if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(latin);
        fitLabel(label);
    } else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(control))
        multiLine->setPlainText(latin);
}

double textNumber(const char* text) {
    return std::strtod(text, nullptr);
}

double fieldNumber(const QWidget* dialog, int id) {
    return textNumber(fieldText(dialog, id).c_str());
}

std::string formatNumber(double value) {
    return formatNumber("%lf", value);
}

std::string formatReadout(double value) {
    constexpr std::size_t longestFixedText = 24;
    std::string text = formatNumber(value);
    if (text.size() > longestFixedText) text = formatNumber("%.6e", value);
    return text;
}

void showReadout(QWidget* dialog, int id, double value) {
    setFieldText(dialog, id, formatReadout(value));
    auto* label = qobject_cast<QLabel*>(findDialogControl(dialog, id));
    if (label == nullptr) return;
    const int right = label->x() + label->sizeHint().width() + borderWidth;
    if (right <= dialog->width()) return;
    dialog->setFixedWidth(right);
    fitLabel(label);
}
