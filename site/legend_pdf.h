#pragma once

#include "site/legend_sheet.h"

#include <QByteArray>
#include <QMarginsF>
#include <QString>
#include <optional>

namespace panel {

// The PDF's pages: A4 upright with this margin all round.
inline constexpr qreal kLegendPageMargin = 5; // mm

// The legends as a PDF document, held in memory until it is saved whole; nothing, with the reason,
// when a legend of this size does not fit on a page or the PDF could not be made.
struct LegendPdf {
    std::optional<QByteArray> bytes;
    int pages = 0;
    QString problem;
};
LegendPdf legendPdf(const std::vector<FittedLegend> &legends, const LegendSize &size);

// How many legends of `size` an A4 page of the PDF holds (0: none).
int legendsPerPdfPage(const LegendSize &size);

} // namespace panel
