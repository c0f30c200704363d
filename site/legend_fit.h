#pragma once

#include "site/legend_layout.h"
#include "site/legend_panel.h"

#include <QFont>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace panel {

// A legend is laid out and drawn in hundredths of a point (1/7200 inch), the same on every printer and
// PDF, so that a text fitted here is drawn as it was fitted.
inline constexpr qreal kLegendUnitsPerMm = 7200 / 25.4;
inline constexpr int kLargestLegendText = 825; // the window's 8.25 pt
inline constexpr int kSmallestLegendText = 600; // 6 pt: smaller is refused, never cut
inline constexpr int kLegendTextStep = 25;      // a quarter point
inline constexpr int kLegendTextFlags = Qt::AlignCenter | Qt::TextWordWrap;

inline QRectF inLegendUnits(const QRectF &mm)
{
    return QRectF(mm.topLeft() * kLegendUnitsPerMm, mm.size() * kLegendUnitsPerMm);
}

// The window's font (MS Sans Serif bold, or its stand-in) at `size` hundredths of a point.
QFont legendFont(int size);

// The largest size from 8.25 pt down to 6 pt, in quarter points, at which `text` wrapped at its blanks
// stays inside `cell` (millimetres); nothing when it does not even at 6 pt.
std::optional<int> fittedLegendTextSize(const QString &text, const QRectF &cell);

struct FittedText {
    QString text;
    QRectF cell; // millimetres from the legend's top left corner
    int size = kLargestLegendText;
};

// One legend ready to draw: only the texts it prints.
struct FittedLegend {
    std::vector<FittedText> texts;
};

// A legend, or why it cannot be printed: each text that does not fit, with the panel and button named.
struct LegendFit {
    std::optional<FittedLegend> legend;
    QStringList problems;
};
LegendFit fitLegend(const LegendPanel &panel, const LegendSize &size);

} // namespace panel
