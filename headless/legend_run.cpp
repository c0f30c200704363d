#include "headless/legend_run.h"

#include "file/atomic_file.h"
#include "headless/terminal_text.h"
#include "headless/text_output.h"
#include "link/panel_operations.h"
#include "site/legend_pdf.h"
#include "site/legend_sources.h"

#include <QDir>
#include <QFileInfo>

namespace panel {

namespace {

int refused(TextOutput &err, const QStringList &problems)
{
    for (const QString &problem : problems)
        err.writeLine(QStringLiteral("panelconfig: ") + shownOnTerminal(problem));
    err.writeLine(QStringLiteral("panelconfig: no legend written"));
    return kExitFileFailure;
}

QString outputProblem(const LegendRequest &request)
{
    const QFileInfo output(request.output);
    if (!QFileInfo(output.absolutePath()).isDir())
        return QStringLiteral("%1: no such folder").arg(QDir::toNativeSeparators(output.absolutePath()));
    if (QString reason = notSavableReason(request.output); !reason.isEmpty())
        return reason;
    if (!request.replace && (output.exists() || output.isSymLink()))
        return QStringLiteral("FILE EXISTS: %1 (--force replaces it)").arg(request.output);
    return QString();
}

} // namespace

int writeLegends(const LegendRequest &request, TextOutput &out, TextOutput &err)
{
    if (const QString problem = outputProblem(request); !problem.isEmpty())
        return refused(err, {problem});
    const LegendSources sources = readLegendSources(request.inputs);
    QStringList problems = sources.problems;
    std::vector<FittedLegend> legends;
    for (const LegendSource &source : sources.files) {
        if (!source.panel) {
            problems << QStringLiteral("%1: FILE REFUSED: %2").arg(source.path, source.refusal);
            continue;
        }
        const LegendFit fit = fitLegend(*source.panel, request.size);
        for (const QString &problem : fit.problems)
            problems << QStringLiteral("%1: %2").arg(source.path, problem);
        if (fit.legend)
            legends.push_back(*fit.legend);
    }
    if (!problems.isEmpty())
        return refused(err, problems);

    const LegendPdf pdf = legendPdf(legends, request.size);
    if (!pdf.bytes)
        return refused(err, {pdf.problem});
    const SaveOutcome saved = saveAtomically(request.output, *pdf.bytes,
                                             request.replace ? ExistingFile::Replace : ExistingFile::Keep);
    if (!saved.saved())
        return refused(err, {saved.kind == SaveOutcome::Exists ? QStringLiteral("FILE EXISTS: %1").arg(request.output)
                                                                : QStringLiteral("%1: %2").arg(request.output, saved.reason)});
    if (saved.kind == SaveOutcome::SavedUnconfirmed)
        err.writeLine(QStringLiteral("panelconfig: warning: %1: %2").arg(shownOnTerminal(request.output), saved.reason));
    out.writeLine(shownOnTerminal(QStringLiteral("%1: %2 legend%3 of %4 on %5 page%6")
                                      .arg(request.output)
                                      .arg(legends.size())
                                      .arg(legends.size() == 1 ? QString() : QStringLiteral("s"))
                                      .arg(describeLegendSize(request.size))
                                      .arg(pdf.pages)
                                      .arg(pdf.pages == 1 ? QString() : QStringLiteral("s"))));
    return kExitDone;
}

} // namespace panel
