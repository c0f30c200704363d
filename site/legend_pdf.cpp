#include "site/legend_pdf.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace panel {

namespace {

constexpr int kPdfResolution = 1200;

QPageLayout pdfPage()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(kLegendPageMargin, kLegendPageMargin, kLegendPageMargin, kLegendPageMargin),
                       QPageLayout::Millimeter);
}

} // namespace

int legendsPerPdfPage(const LegendSize &size)
{
    const std::optional<LegendGrid> grid = legendGrid(pdfPage().paintRect(QPageLayout::Millimeter).size(), size);
    return grid ? grid->perPage() : 0;
}

LegendPdf legendPdf(const std::vector<FittedLegend> &legends, const LegendSize &size)
{
    LegendPdf pdf;
    const int perPage = legendsPerPdfPage(size);
    if (perPage == 0) {
        pdf.problem = QStringLiteral("a legend of %1 does not fit on an A4 page with its cut marks").arg(describeLegendSize(size));
        return pdf;
    }
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(pdfPage());
        writer.setTitle(QStringLiteral("Button legends"));
        writer.setCreator(QStringLiteral("panelconfig"));
        if (!paintLegends(writer, legends, size)) {
            pdf.problem = QStringLiteral("the PDF could not be drawn");
            return pdf;
        }
    } // the writer finishes the document as it goes
    pdf.bytes = bytes;
    pdf.pages = legends.empty() ? 1 : int((legends.size() + size_t(perPage) - 1) / size_t(perPage));
    return pdf;
}

} // namespace panel
