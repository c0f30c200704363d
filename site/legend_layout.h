#pragma once

#include "model/codes.h"

#include <QRectF>
#include <QSizeF>
#include <QString>
#include <optional>

// Where a legend's texts stand, in millimetres from its top left corner.
namespace panel {

// The whole legend, in millimetres. The default is the face plate's own size (575 x 1061 pixels at
// 300 dots per inch).
struct LegendSize {
    qreal width = 49;
    qreal height = 90;
};

inline constexpr qreal kSmallestLegendSide = 10;  // mm
inline constexpr qreal kLargestLegendSide = 1000; // mm

// "WxH" in millimetres ("49x90", "50.5X100"); nothing, with the reason in `problem`, for anything else.
std::optional<LegendSize> parseLegendSize(const QString &text, QString *problem);
QString describeLegendSize(const LegendSize &size); // "49 x 90 mm"

// The cell of button k (0 for SW1): two columns, SW1 SW3 SW5 on the left, at the heights of the button
// rows on the face plate.
QRectF designationCell(const LegendSize &size, int button);
// The panel name's cell, below the buttons as on the face plate.
QRectF panelNameCell(const LegendSize &size);

} // namespace panel
