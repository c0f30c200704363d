#pragma once

#include "site/legend_fit.h"

#include <QPointF>
#include <QSizeF>
#include <optional>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace panel {

// The room each legend takes on a page: itself and around it a gutter that holds its cut marks.
inline constexpr qreal kLegendGutter = 10;     // mm between two legends
inline constexpr qreal kCutMarkOffset = 1;     // mm from the corner to the start of its mark
inline constexpr qreal kCutMarkLength = 3;     // mm
inline constexpr qreal kCutMarkWidth = 0.1;    // mm

// Legends in rows and columns, the grid centred on the page's printable area.
struct LegendGrid {
    int columns = 0;
    int rows = 0;
    QPointF origin; // top left corner of the first legend, mm from the printable area's corner
    QSizeF step;    // from one legend to the next, mm

    int perPage() const { return columns * rows; }
    QPointF place(int index) const; // of the index-th legend of a page
};

// As many legends as fit on a printable area of `page` millimetres; nothing when not even one does.
std::optional<LegendGrid> legendGrid(const QSizeF &page, const LegendSize &size);

// One legend with its cut marks, its top left corner at `at` (mm), on a painter that draws in
// hundredths of a point.
void paintLegend(QPainter &painter, const FittedLegend &legend, const LegendSize &size, const QPointF &at);

// The legends in order, as many to a page as fit; false, drawing nothing, when not even one fits.
bool paintLegends(QPagedPaintDevice &device, const std::vector<FittedLegend> &legends, const LegendSize &size);

} // namespace panel
