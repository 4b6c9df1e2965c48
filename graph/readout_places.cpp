#include "graph/readout_places.h"

#include "graph/picture_state.h"

#include <string>
#include <vector>

namespace {

std::vector<ReadoutPlace>& places = pictureState.readoutPlaces;

// Slots tried on each side before the readout keeps its wanted place after all.
constexpr int maxSlots = 12;

bool isFree(const QRect& box) {
    for (const ReadoutPlace& place : places) {
        if (place.box.intersects(box)) return false;
    }
    return true;
}

} // namespace

void clearReadoutPlaces() {
    places.clear();
}

void reserveReadoutBox(const QRect& box) {
    places.push_back({box, std::string(), box});
}

QPoint takeReadoutPlace(const QRect& wanted, std::string_view text, int areaHeight) {
    for (const ReadoutPlace& place : places) {
        if (place.wanted == wanted && place.text == text) return place.box.topLeft();
    }
    QRect box = wanted;
    if (!isFree(box)) {
        const int step = wanted.height();
        for (int slot = 1; slot <= maxSlots && step > 0; ++slot) {
            const QRect above = wanted.translated(0, -slot * step);
            const QRect below = wanted.translated(0, slot * step);
            if (above.top() >= 0 && isFree(above)) {
                box = above;
                break;
            }
            if (below.bottom() < areaHeight && isFree(below)) {
                box = below;
                break;
            }
        }
    }
    places.push_back({wanted, std::string(text), box});
    return box.topLeft();
}
