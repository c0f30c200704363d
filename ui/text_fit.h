#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <functional>

class QGroupBox;
class QLabel;

namespace panel {

// The layout is drawn for Liberation Sans (or Arial). Where a text would not fit its control in the font at
// hand, a wider face for one, it is drawn in a smaller size of the same font until it fits; the text itself
// never changes.
inline constexpr int kSmallestTextPixelSize = 7;

// `font` itself when fits() holds for it, else in the largest pixel size below its own, down to `smallest`,
// for which fits() holds; the smallest size when none does.
QFont shrunkToFit(const QFont &font, int smallest, const std::function<bool(const QFont &)> &fits);

// The largest size, no larger than `font`'s, at which `text` laid out in `box` with the Qt::AlignmentFlag and
// Qt::TextFlag `flags` stays inside `box` in at most `maxLines` lines (0: as many as the box holds); the
// smallest size when none does.
QFont fittedFont(const QFont &font, const QRect &box, int flags, const QString &text, int maxLines = 0);

// Whether `text` laid out in `box` with `flags` stays inside it at `font`, in at most `maxLines` lines.
bool textFits(const QFont &font, const QRect &box, int flags, const QString &text, int maxLines = 0);

// A caption's font set to the size at which its text fits the label's contents.
void fitLabel(QLabel *label, const QFont &font);

// A frame's title set to the size at which it fits across the frame; its controls keep their own fonts.
void fitGroupBoxTitle(QGroupBox *box, const QFont &font);

} // namespace panel
