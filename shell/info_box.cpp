#include "shell/info_box.h"

#include "graph/plot_settings.h"
#include "graph/view_model.h"
#include "shell/dialog_template.h"
#include "shell/drag_move.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int boxWidth = 100;
constexpr int boxHeight = 136;
constexpr QPoint boxPosition{600, 10};
constexpr int fieldLeft = 20;
constexpr int fieldWidth = 80;
constexpr int fieldHeight = 20;
constexpr int iconLeft = 1;
constexpr int iconSize = 16;
constexpr int rowTop[InfoBox::rowCount] = {2, 24, 46, 68, 90, 112};
constexpr int rowPitch = 22;
constexpr const char* iconName[InfoBox::rowCount] = {"X", "Y", "D", "SLOPE", "R", "TH"};
constexpr const char* blanks = "         ";
constexpr const char* initialText[InfoBox::rowCount] = {"xxx.xxxxx", "xxx.xxxxx", blanks,
                                                        blanks,      blanks,      blanks};

// Images rather than pixmaps: they may exist before the application object does.
std::array<QImage, InfoBox::rowCount> readoutIcons;

QString formatValue(double value) {
    return QString::fromStdString(formatReadout(value));
}

const QString noValue = QStringLiteral("no value");

// The widest the trace's rows may make the box: names are cut with "…" to fit, numbers never.
constexpr int traceTextCap = 200;

// "NAME = value" for the trace's angle or parameter; empty on an explicit graph.
QString parameterText(const TraceReadout& readout, const QFontMetrics& metrics) {
    if (readout.curve.kind == CurveKind::Polar) return QStringLiteral("θ = ") + formatValue(readout.place);
    if (readout.curve.kind != CurveKind::Parametric) return {};
    const QString value = QStringLiteral(" = ") + formatValue(readout.place);
    const QString name = QString::fromLatin1(plotSettings.parameterName.c_str());
    return metrics.elidedText(name, Qt::ElideRight, std::max(0, traceTextCap - metrics.horizontalAdvance(value))) +
           value;
}

} // namespace

void loadReadoutIcons() {
    for (int row : {InfoBox::Slope, InfoBox::X, InfoBox::Y, InfoBox::R, InfoBox::D, InfoBox::Theta})
        readoutIcons[row] = QImage(QStringLiteral(":/icons/%1.png").arg(QLatin1String(iconName[row])));
}

double polarAngle(double x, double y) {
    double theta = std::atan(y / x);
    if (x < 0)
        theta += std::numbers::pi;
    else if (x > 0 && y < 0)
        theta += 2 * std::numbers::pi;
    return theta;
}

InfoBox::InfoBox(QWidget* graphArea) : QFrame(graphArea) {
    setObjectName(QStringLiteral("infoBox"));
    setWindowTitle(QStringLiteral("x and y.. "));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setCursor(Qt::ArrowCursor);
    setGeometry(QRect(boxPosition, QSize(boxWidth, boxHeight)));
    // Its position in the graph area is at hand, so the grab point simply stays under the mouse.
    enableDragMove(this, size());

    const int border = frameWidth();
    for (int row = 0; row < rowCount; ++row) {
        auto* field = new QLabel(QLatin1String(initialText[row]), this);
        field->setObjectName(QLatin1String(iconName[row]));
        field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        field->setAlignment(Qt::AlignCenter);
        field->setGeometry(border + fieldLeft, border + rowTop[row], fieldWidth, fieldHeight);
        fields_[row] = field;
    }
    const int traceTop = border + rowTop[rowCount - 1] + rowPitch;
    traceName_ = new QLabel(this);
    traceName_->setObjectName(QStringLiteral("traceName"));
    traceParameter_ = new QLabel(this);
    traceParameter_->setObjectName(QStringLiteral("traceParameter"));
    for (QLabel* label : {traceName_, traceParameter_}) {
        label->setTextFormat(Qt::PlainText); // a function's text, never markup
        label->setGeometry(border + iconLeft, label == traceName_ ? traceTop : traceTop + rowPitch,
                           fieldLeft + fieldWidth - iconLeft, fieldHeight);
        label->hide();
    }
    hide();
}

QString InfoBox::fieldText(Row row) const {
    return fields_[row]->text();
}

void InfoBox::setField(Row row, double value) {
    fields_[row]->setText(formatValue(value));
}

// A field never cuts its number: all six widen to the widest text, and the box with them; they
// narrow back to their own size once the numbers fit again. The trace's rows, while shown, add
// their height; their names are cut to traceTextCap, their numbers never.
void InfoBox::fitFields() {
    int width = fieldWidth;
    for (const QLabel* field : fields_)
        width = std::max(width, field->sizeHint().width());
    int height = boxHeight;
    for (QLabel* label : {traceName_, traceParameter_}) {
        if (label->isHidden()) continue;
        width = std::max(width, label->sizeHint().width() - fieldLeft + iconLeft);
        label->resize(fieldLeft + width - iconLeft, fieldHeight);
        height += rowPitch;
    }
    const int border = frameWidth();
    for (int row = 0; row < rowCount; ++row)
        fields_[row]->setGeometry(border + fieldLeft, border + rowTop[row], width, fieldHeight);
    setFixedSize(boxWidth - fieldWidth + width, height);
}

void InfoBox::setPointFields(double x, double y) {
    setField(X, x);
    setField(Y, y);
    setField(R, std::sqrt(x * x + y * y));
    setField(Theta, polarAngle(x, y));
}

void InfoBox::updateReadouts(QPoint mouse, std::optional<QPoint> anchor) {
    const double wx = worldX(mouse.x());
    const double wy = worldY(mouse.y());
    setPointFields(wx, wy);
    if (anchor) {
        const double dx = worldX(anchor->x()) - wx;
        const double dy = worldY(anchor->y()) - wy;
        setField(D, std::sqrt(dx * dx + dy * dy));
        setField(Slope, dy / dx);
    }
    fitFields();
}

void InfoBox::showTrace(const std::optional<TraceReadout>& readout) {
    traceName_->setVisible(readout.has_value());
    traceParameter_->setVisible(readout.has_value() && !isExplicit(readout->curve.kind));
    if (readout) {
        // A function's text may run to hundreds of characters; the whole of it is in the tip.
        const QString name = QString::fromLatin1(readout->name.c_str());
        traceName_->setText(traceName_->fontMetrics().elidedText(name, Qt::ElideRight, traceTextCap));
        traceName_->setToolTip(name);
        traceParameter_->setText(parameterText(*readout, traceParameter_->fontMetrics()));
        if (const std::optional<WorldPoint>& p = readout->point) {
            setPointFields(p->x, p->y);
        } else {
            if (isExplicit(readout->curve.kind))
                setField(X, readout->place);
            else
                fields_[X]->setText(noValue);
            for (Row row : {Y, R, Theta})
                fields_[row]->setText(noValue);
        }
    }
    fitFields();
}

void InfoBox::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    const int border = frameWidth();
    for (int row = 0; row < rowCount; ++row)
        painter.drawImage(QRect(border + iconLeft, border + rowTop[row], iconSize, iconSize),
                          readoutIcons[row]);
}
