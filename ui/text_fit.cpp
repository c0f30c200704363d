#include "ui/text_fit.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>

namespace panel {

namespace {

// The margin a frame keeps on either side of its title (Fusion's and the common style's).
constexpr int kTitleMargin = 8;

QFont ofPixelSize(QFont font, int pixels)
{
    font.setPixelSize(pixels);
    return font;
}

int pixelSizeOf(const QFont &font)
{
    return font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
}

bool titleFits(const QFont &font, int width, const QString &title)
{
    const int advance = QFontMetrics(font).size(Qt::TextShowMnemonic, title + QLatin1Char(' ')).width();
    return advance <= width - 2 * kTitleMargin;
}

int linesOf(const QFontMetrics &metrics, const QRect &drawn)
{
    return qMax(1, (drawn.height() + metrics.leading()) / metrics.lineSpacing());
}

} // namespace

bool textFits(const QFont &font, const QRect &box, int flags, const QString &text, int maxLines)
{
    const QFontMetrics metrics(font);
    const QRect drawn = metrics.boundingRect(box, flags, text); // laid out once, for both tests
    return box.contains(drawn) && (maxLines == 0 || linesOf(metrics, drawn) <= maxLines);
}

QFont shrunkToFit(const QFont &font, int smallest, const std::function<bool(const QFont &)> &fits)
{
    int size = pixelSizeOf(font);
    if (size <= smallest || fits(font))
        return font;
    for (--size; size > smallest; --size) {
        if (const QFont smaller = ofPixelSize(font, size); fits(smaller))
            return smaller;
    }
    return ofPixelSize(font, smallest);
}

QFont fittedFont(const QFont &font, const QRect &box, int flags, const QString &text, int maxLines)
{
    return shrunkToFit(font, kSmallestTextPixelSize,
                       [&](const QFont &candidate) { return textFits(candidate, box, flags, text, maxLines); });
}

void fitLabel(QLabel *label, const QFont &font)
{
    const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    label->setFont(fittedFont(font, label->contentsRect(), flags, label->text()));
}

void fitGroupBoxTitle(QGroupBox *box, const QFont &font)
{
    box->setFont(shrunkToFit(font, kSmallestTextPixelSize,
                             [box](const QFont &candidate) { return titleFits(candidate, box->width(), box->title()); }));
}

} // namespace panel
