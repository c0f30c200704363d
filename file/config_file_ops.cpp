#include "file/config_file_ops.h"

#include "file/config_file_window.h"
#include "file/pnl_file.h"
#include "model/codes.h"
#include "model/status_texts.h"

namespace panel {

namespace {

const QString kFilter = QStringLiteral("TALMIRAX CONFIGURATION FILES (*.pnl)|*.pnl");

QString openRefusedText()
{
    const QChar lf(10);
    return QStringLiteral("AN ERROR HAS OCCURRED READING THE FILE BECAUSE THE FILE") + lf
        + QStringLiteral("WAS NOT CREATED FOR THE 00-04412-(MDL) SWITCH PANEL") + lf
        + QStringLiteral("----------THE FILE READ OPERATION IS BEING ABANDONED!-----------");
}

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

void save_config_file(ConfigFileWindow &window)
{
    WindowVars &v = window.vars();
    window.setStatusVisible(false);
    v.error_flag = 0;
    window.gather_switch_codes();
    v.wmodel = QString::fromLatin1(kModelTag);
    v.BL = kBacklightCode;
    if (v.error_flag == 1) {
        window.setStatusVisible(true);
        window.setStatusColour(kRed);
        window.setStatusText(kIncompleteData);
        return;
    }
    const QString name = window.panelName();
    if (name.isEmpty()) {
        window.message(QStringLiteral("Name must be entered in PANEL NAME field"), QString());
        return;
    }
    const std::optional<QString> path = window.chooseFile(true, QStringLiteral("WRITE CONFIGURATION FILE"),
                                                          qtNameFilter(kFilter), name + QStringLiteral(".pnl"));
    if (!path || path->isEmpty())
        return;

    PanelFileRecord record;
    record.model = v.wmodel;
    record.panel = name;
    for (int k = 0; k < kButtons; ++k) {
        record.desig[k] = window.designation(k);
        record.code[k] = v.button[k].w;
    }
    record.bl = v.BL;
    record.fdesig = QStringLiteral("feature");
    record.feature = v.feature;
    record.ind = QStringLiteral("ind%");
    record.indpercent = v.indpercent;
    record.blp = QStringLiteral("bl%");
    record.blpercent = v.blpercent;

    const QString failure = savePanelFile(*path, record);
    if (!failure.isEmpty()) {
        window.message(QStringLiteral("THE CONFIGURATION FILE COULD NOT BE SAVED") + QChar(10) + *path
                           + QStringLiteral(": ") + failure,
                       QString());
    }
}

void open_config_file(ConfigFileWindow &window)
{
    window.setStatusVisible(false);
    const std::optional<QString> path =
        window.chooseFile(false, QStringLiteral("READ CONFIGURATION FILE"), qtNameFilter(kFilter), std::nullopt);
    if (!path || path->isEmpty())
        return;
    open_config_file_named(window, *path);
}

void open_config_file_named(ConfigFileWindow &window, const QString &path)
{
    window.setStatusVisible(false);
    const PanelFileParse parsed = loadPanelFile(path);
    if (!parsed.record || parsed.record->model != QLatin1String(kModelTag) || !showable(*parsed.record)) {
        window.message(openRefusedText(), QStringLiteral("FILE/MODEL MIS-MATCH"));
        return;
    }

    // The file is accepted whole: only now do the window's variables and controls change.
    const PanelFileRecord &r = *parsed.record;
    WindowVars &v = window.vars();
    v.rmodel = r.model;
    v.panel = r.panel;
    for (int k = 0; k < kButtons; ++k) {
        v.button[k].desig = r.desig[k];
        v.button[k].s = r.code[k];
    }
    v.BL = r.bl;
    v.fdesig = r.fdesig;
    v.feature = r.feature;
    v.ind = r.ind;
    v.indpercent = r.indpercent;
    v.blp = r.blp;
    v.blpercent = r.blpercent;

    window.setPanelName(v.panel);
    for (int k = 0; k < kButtons; ++k) {
        window.setDesignation(k, v.button[k].desig);
        v.A = v.button[k].s;
        decode_switch_code(v);
        window.setModulePosition(k, v.h_index);
        window.setChannelPosition(k, v.l_index);
    }
    // The module rules have set feature from the box by now: the file's flag decides the box.
    window.setIndependentLighting(r.feature == 1 ? 1 : 0);
    window.show_indicator_code();
    v.blpercent = r.blpercent;
    window.show_backlight_code();
}

} // namespace panel
