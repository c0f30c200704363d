#include "site/legend_fit.h"

#include "model/font_family.h"

#include <QFontMetricsF>

namespace panel {

namespace {

// Rounding of the glyphs' advances may add a hair to a measured line; that much is not a text too long.
constexpr qreal kTolerance = 0.5; // hundredths of a point

QString millimetres(qreal value) { return QString::number(value, 'f', 1); }

} // namespace

QFont legendFont(int size)
{
    QFont font(windowFamily());
    font.setBold(true);
    font.setPixelSize(size);
    // Unhinted, the text measures the same at every size and on every device it is drawn on.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

std::optional<int> fittedLegendTextSize(const QString &text, const QRectF &cell)
{
    const QRectF box = inLegendUnits(cell);
    const QRectF allowed = box.adjusted(-kTolerance, -kTolerance, kTolerance, kTolerance);
    for (int size = kLargestLegendText; size >= kSmallestLegendText; size -= kLegendTextStep) {
        if (allowed.contains(QFontMetricsF(legendFont(size)).boundingRect(box, kLegendTextFlags, text)))
            return size;
    }
    return std::nullopt;
}

LegendFit fitLegend(const LegendPanel &panel, const LegendSize &size)
{
    LegendFit fit;
    FittedLegend legend;
    const auto place = [&](const QString &text, const QRectF &cell, const QString &what) {
        if (text.trimmed().isEmpty())
            return;
        if (const std::optional<int> fitted = fittedLegendTextSize(text, cell)) {
            legend.texts.push_back({text, cell, *fitted});
            return;
        }
        fit.problems << QStringLiteral("panel \"%1\": %2 \"%3\" does not fit its %4 x %5 mm cell even at 6 pt")
                            .arg(panel.name, what, text, millimetres(cell.width()), millimetres(cell.height()));
    };
    place(panel.name, panelNameCell(size), QStringLiteral("the panel name"));
    for (int k = 0; k < kButtons; ++k) {
        if (const std::optional<QString> &designation = panel.designation[size_t(k)])
            place(*designation, designationCell(size, k), QStringLiteral("SW%1's designation").arg(k + 1));
    }
    if (fit.problems.isEmpty())
        fit.legend = std::move(legend);
    return fit;
}

} // namespace panel
