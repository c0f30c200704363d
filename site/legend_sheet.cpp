#include "site/legend_sheet.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace panel {

namespace {

QPointF units(const QPointF &mm) { return mm * kLegendUnitsPerMm; }

void paintCutMarks(QPainter &painter, const QRectF &legend)
{
    QPen pen(Qt::black, kCutMarkWidth * kLegendUnitsPerMm);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    const qreal near = kCutMarkOffset;
    const qreal far = kCutMarkOffset + kCutMarkLength;
    for (const QPointF &corner : {legend.topLeft(), legend.topRight(), legend.bottomLeft(), legend.bottomRight()}) {
        // Outward from the corner, along both edges that meet there.
        const qreal x = corner.x() == legend.left() ? -1 : 1;
        const qreal y = corner.y() == legend.top() ? -1 : 1;
        painter.drawLine(units(corner + QPointF(x * near, 0)), units(corner + QPointF(x * far, 0)));
        painter.drawLine(units(corner + QPointF(0, y * near)), units(corner + QPointF(0, y * far)));
    }
}

} // namespace

QPointF LegendGrid::place(int index) const
{
    const int column = index % columns;
    const int row = index / columns;
    return origin + QPointF(column * step.width(), row * step.height());
}

std::optional<LegendGrid> legendGrid(const QSizeF &page, const LegendSize &size)
{
    LegendGrid grid;
    grid.step = QSizeF(size.width + kLegendGutter, size.height + kLegendGutter);
    grid.columns = int(std::floor(page.width() / grid.step.width()));
    grid.rows = int(std::floor(page.height() / grid.step.height()));
    if (grid.perPage() == 0)
        return std::nullopt;
    const QSizeF used(grid.columns * grid.step.width() - kLegendGutter, grid.rows * grid.step.height() - kLegendGutter);
    grid.origin = QPointF((page.width() - used.width()) / 2, (page.height() - used.height()) / 2);
    return grid;
}

void paintLegend(QPainter &painter, const FittedLegend &legend, const LegendSize &size, const QPointF &at)
{
    painter.save();
    paintCutMarks(painter, QRectF(at, QSizeF(size.width, size.height)));
    painter.setPen(Qt::black);
    for (const FittedText &text : legend.texts) {
        painter.setFont(legendFont(text.size));
        // Fitted, so it stays inside; were it to overflow by a hair, it is still printed whole.
        painter.drawText(inLegendUnits(text.cell.translated(at)), kLegendTextFlags | Qt::TextDontClip, text.text);
    }
    painter.restore();
}

bool paintLegends(QPagedPaintDevice &device, const std::vector<FittedLegend> &legends, const LegendSize &size)
{
    const std::optional<LegendGrid> grid = legendGrid(device.pageLayout().paintRect(QPageLayout::Millimeter).size(), size);
    if (!grid)
        return false;
    QPainter painter(&device);
    if (!painter.isActive())
        return false;
    // From here on a unit is a hundredth of a point, whatever the device's resolution.
    painter.scale(device.logicalDpiX() / 7200.0, device.logicalDpiY() / 7200.0);
    painter.setRenderHint(QPainter::Antialiasing);
    for (size_t i = 0; i < legends.size(); ++i) {
        const int onPage = int(i) % grid->perPage();
        if (i > 0 && onPage == 0)
            device.newPage();
        paintLegend(painter, legends[i], size, grid->place(onPage));
    }
    return true;
}

} // namespace panel
