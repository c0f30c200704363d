// The legend of the configuration shown, printed from the window's menu.
#include "ui/form1.h"

#include "model/editor_model.h"
#include "site/legend_panel.h"
#include "site/legend_sheet.h"
#include "ui/dialogs.h"

namespace panel {

namespace {

const QString kPrintLegend = QStringLiteral("Print legend");

} // namespace

void Form1::printLegend()
{
    const LegendSize size;
    const LegendFit fit = fitLegend(legendOf(m_editor->state()), size);
    if (!fit.legend) {
        m_dialogs.message(this, QStringLiteral("THE LEGEND CANNOT BE PRINTED:") + QChar(10) + fit.problems.join(QChar(10)),
                          kPrintLegend);
        return;
    }
    const std::vector<FittedLegend> legends{*fit.legend};
    m_dialogs.previewPrint(this, kPrintLegend, [&legends, &size](QPagedPaintDevice &device) {
        paintLegends(device, legends, size);
    });
}

} // namespace panel
