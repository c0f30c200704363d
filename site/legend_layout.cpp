#include "site/legend_layout.h"

#include <QRegularExpression>

namespace panel {

namespace {

// The face plate in the window, in twips: the picture's top and height, the top of each button row
// (its designation box) and the height from the box to the bottom of its lists, and the panel name
// with its caption.
constexpr qreal kPlateTop = 360;
constexpr qreal kPlateHeight = 5055;
constexpr qreal kRowTops[] = {1320, 2400, 3480};
constexpr qreal kRowHeight = 885;
constexpr qreal kNameTop = 4560;
constexpr qreal kNameHeight = 525;

// The legend's margin at either side and the gap between its two columns, as parts of its width.
constexpr qreal kSideMargin = 0.04;
constexpr qreal kColumnGap = 0.04;

qreal onLegend(const LegendSize &size, qreal twipsFromTop) { return size.height * (twipsFromTop - kPlateTop) / kPlateHeight; }

QString millimetres(qreal value) { return QString::number(value, 'g', 4); }

} // namespace

std::optional<LegendSize> parseLegendSize(const QString &text, QString *problem)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*(\\d+(?:\\.\\d+)?)\\s*[xX]\\s*(\\d+(?:\\.\\d+)?)\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        *problem = QStringLiteral("the legend size is width x height in millimetres, such as 49x90; given: \"%1\"").arg(text);
        return std::nullopt;
    }
    const LegendSize size{match.captured(1).toDouble(), match.captured(2).toDouble()};
    for (const qreal side : {size.width, size.height}) {
        if (side < kSmallestLegendSide || side > kLargestLegendSide) {
            *problem = QStringLiteral("each side of a legend is %1 to %2 mm; given: %3")
                           .arg(millimetres(kSmallestLegendSide), millimetres(kLargestLegendSide), describeLegendSize(size));
            return std::nullopt;
        }
    }
    return size;
}

QString describeLegendSize(const LegendSize &size)
{
    return QStringLiteral("%1 x %2 mm").arg(millimetres(size.width), millimetres(size.height));
}

QRectF designationCell(const LegendSize &size, int button)
{
    const qreal width = size.width * (1 - 2 * kSideMargin - kColumnGap) / 2;
    const qreal left = size.width * kSideMargin + (button % 2) * (width + size.width * kColumnGap);
    const qreal top = onLegend(size, kRowTops[button / 2]);
    return QRectF(left, top, width, onLegend(size, kPlateTop + kRowHeight));
}

QRectF panelNameCell(const LegendSize &size)
{
    const qreal left = size.width * kSideMargin;
    return QRectF(left, onLegend(size, kNameTop), size.width - 2 * left, onLegend(size, kPlateTop + kNameHeight));
}

} // namespace panel
