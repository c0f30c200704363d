#include "file/config_file_ops.h"

#include "model/editor_model.h"
#include "model/operation_report.h"
#include "file/pnl_file.h"
#include "model/codes.h"
#include "model/status_texts.h"

namespace panel {

QString savedUnconfirmedText()
{
    return QStringLiteral("THE CONFIGURATION FILE HAS BEEN SAVED, BUT IT COULD NOT BE CONFIRMED ON DISK");
}

QString openRefusedText()
{
    const QChar lf(10);
    return QStringLiteral("AN ERROR HAS OCCURRED READING THE FILE BECAUSE THE FILE") + lf
        + QStringLiteral("WAS NOT CREATED FOR THE 00-04412-(MDL) SWITCH PANEL") + lf
        + QStringLiteral("----------THE FILE READ OPERATION IS BEING ABANDONED!-----------");
}

namespace {

// Every value the window must take from a file can be shown: no switch code below 0.
bool showable(const PanelFileRecord &record)
{
    for (qint16 code : record.code) {
        if (code < 0)
            return false;
    }
    return true;
}

} // namespace

QString qtNameFilter(const QString &filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    const QString description = filter.left(bar);
    const QString pattern = filter.mid(bar + 1);
    const QString inParentheses = QLatin1Char('(') + pattern + QLatin1Char(')');
    return description.contains(inParentheses) ? description : description + QLatin1Char(' ') + inParentheses;
}

ConfigFileRead read_config_file(const QString &path)
{
    const PanelFileParse parsed = loadPanelFile(path);
    if (!parsed.record)
        return {std::nullopt, parsed.reason};
    if (parsed.record->model != QLatin1String(kModelTag))
        return {std::nullopt, QStringLiteral("the model tag is not %1").arg(QLatin1String(kModelTag))};
    if (!showable(*parsed.record))
        return {std::nullopt, QStringLiteral("a switch code is below 0")};
    return {parsed.record, QString()};
}

NamedPanelConfig named_config_of(const PanelFileRecord &record)
{
    NamedPanelConfig named;
    named.panel = record.panel;
    for (int k = 0; k < kButtons; ++k) {
        named.designation[k] = record.desig[k];
        named.config.code[k] = record.code[k];
    }
    named.config.feature = record.feature;
    named.config.indicator = record.indpercent;
    named.config.backlight = record.blpercent;
    return named;
}

PanelFileRecord record_of(const NamedPanelConfig &named)
{
    PanelFileRecord record;
    record.model = QString::fromLatin1(kModelTag);
    record.panel = named.panel;
    for (int k = 0; k < kButtons; ++k) {
        record.desig[k] = named.designation[k];
        record.code[k] = named.config.code[k];
    }
    record.bl = kBacklightCode;
    record.fdesig = QStringLiteral("feature");
    record.feature = named.config.feature;
    record.ind = QStringLiteral("ind%");
    record.indpercent = named.config.indicator;
    record.blp = QStringLiteral("bl%");
    record.blpercent = named.config.backlight;
    return record;
}

SaveOutcome save_named_config(const QString &path, const NamedPanelConfig &named, ExistingFile existing,
                              mode_t newMode)
{
    return savePanelFile(path, record_of(named), existing, newMode);
}

bool open_config_file_named(OperationReport &report, EditorModel &editor, const QString &path)
{
    report.hideStatus();
    const ConfigFileRead read = read_config_file(path);
    if (!read.record) {
        report.message(openRefusedText(), QStringLiteral("FILE/MODEL MIS-MATCH"));
        return false;
    }
    // The file is accepted whole: only now do the controls and their codes change.
    editor.show_named_config(named_config_of(*read.record));
    return true;
}

} // namespace panel
