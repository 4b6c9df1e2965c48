#include "shell/info_box.h"

#include "graph/number_text.h"
#include "graph/view_model.h"
#include "shell/dialog_template.h"
#include "shell/drag_move.h"

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
constexpr const char* iconName[InfoBox::rowCount] = {"X", "Y", "D", "SLOPE", "R", "TH"};
constexpr const char* blanks = "         ";
constexpr const char* initialText[InfoBox::rowCount] = {"xxx.xxxxx", "xxx.xxxxx", blanks,
                                                        blanks,      blanks,      blanks};

// Images rather than pixmaps: they may exist before the application object does.
std::array<QImage, InfoBox::rowCount> readoutIcons;

// Longest fixed-point text a readout shows: a magnitude of about 1e17 and beyond would need a
// box wider than the graph area, so it is shown in exponent form instead, still whole.
constexpr std::size_t longestFixedText = 24;

QString formatValue(double value) {
    std::string text = formatNumber(value);
    if (text.size() > longestFixedText) text = formatNumber("%.6e", value);
    return QString::fromStdString(text);
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
    hide();
}

QString InfoBox::fieldText(Row row) const {
    return fields_[row]->text();
}

void InfoBox::setField(Row row, double value) {
    fields_[row]->setText(formatValue(value));
}

// A field never cuts its number: all six widen to the widest text, and the box with them; they
// narrow back to their own size once the numbers fit again.
void InfoBox::fitFields() {
    int width = fieldWidth;
    for (const QLabel* field : fields_)
        width = std::max(width, field->sizeHint().width());
    const int border = frameWidth();
    for (int row = 0; row < rowCount; ++row)
        fields_[row]->setGeometry(border + fieldLeft, border + rowTop[row], width, fieldHeight);
    setFixedSize(boxWidth - fieldWidth + width, boxHeight);
}

void InfoBox::updateReadouts(QPoint mouse, std::optional<QPoint> anchor) {
    const double wx = worldX(mouse.x());
    const double wy = worldY(mouse.y());
    setField(X, wx);
    setField(Y, wy);
    setField(R, std::sqrt(wx * wx + wy * wy));
    setField(Theta, polarAngle(wx, wy));
    if (anchor) {
        const double dx = worldX(anchor->x()) - wx;
        const double dy = worldY(anchor->y()) - wy;
        setField(D, std::sqrt(dx * dx + dy * dy));
        setField(Slope, dy / dx);
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
