#include "link/panel_operations.h"

#include "link/panel_host.h"
#include "link/panel_link.h"
#include "link/serial_line.h"
#include "model/editor_model.h"
#include "model/operation_report.h"
#include "model/panel_read.h"
#include "model/status_texts.h"

#include <utility>

namespace panel {

namespace {

using Read = PanelLink::Read;

PanelOutcome fail(OperationReport &report, PanelOutcome outcome, const QString &text)
{
    report.reportStatus(text, kRed);
    return outcome;
}

// Hails the panel and checks its identity register. Done when the operation may go on.
PanelOutcome reachPanel(OperationReport &report, PanelLink &link, const QString &mismatchText)
{
    if (!link.hail_panel())
        return fail(report, PanelOutcome::NoResponse, kNoResponse);
    link.pause_tick();
    link.address_l = kIdentityRegister;
    const Read identity = link.read_register();
    // Only a value received whole can prove the panel's identity.
    if (identity == Read::Missing)
        return fail(report, PanelOutcome::BadData, kBadData);
    if (identity == Read::NotFitting || link.A != kPanelIdentity) {
        report.message(mismatchText, kMismatchTitle);
        return PanelOutcome::IdentityMismatch;
    }
    return PanelOutcome::Done;
}

// Register reads of a whole-panel read, each shown in the editor as it comes; false at the first failure.
bool readRegisters(EditorModel &editor, PanelLink &link)
{
    for (const int reg : kReadRegisters) {
        link.pause_tick();
        link.address_l = qint16(reg);
        const Read read = link.read_register();
        // An out-of-range value still reaches the lists; a missing one does not.
        show_register(editor, reg, read == Read::Received ? std::optional<qint16>(link.A) : std::nullopt);
        if (read != Read::Received || link.error_flag == 1)
            return false;
    }
    return true;
}

bool openPort(OperationReport &report, SerialLine &line, PanelLink &link)
{
    QString error;
    if (link.open_panel_port(&error))
        return true;
    report.reportStatus(portNotOpenedText(line.deviceName(), error), kRed);
    return false;
}

PanelOutcome read_whole_config(PanelLink &link, OperationReport &report, SerialLine &line, EditorModel &editor)
{
    report.reportStatus(kStartingRead, kYellow);
    editor.show_panel_name(QString());

    if (!openPort(report, line, link))
        return PanelOutcome::PortNotOpened;
    if (const PanelOutcome reached = reachPanel(report, link, kReadMismatch); reached != PanelOutcome::Done)
        return reached;
    if (!readRegisters(editor, link)) {
        // Failed after the indicator: the back-light code must be the one its list shows, or the next
        // write would send a value the window does not show.
        editor.keep_backlight_code_shown();
        return fail(report, PanelOutcome::BadData, kBadData);
    }
    link.pause_tick();
    report.reportStatus(kReadSuccessful, kGreen);
    return PanelOutcome::Done;
}

PanelOutcome write_whole_config(PanelLink &link, OperationReport &report, SerialLine &line,
                                const std::optional<PanelConfig> &config, EditorModel *backup, PanelResult &result)
{
    report.reportStatus(kStartingWrite, kYellow);

    if (!openPort(report, line, link))
        return PanelOutcome::PortNotOpened;
    if (!config)
        return fail(report, PanelOutcome::Incomplete, kIncompleteData);
    if (const PanelOutcome reached = reachPanel(report, link, kWriteMismatch); reached != PanelOutcome::Done)
        return reached;

    if (backup) {
        result.backupTaken = readRegisters(*backup, link);
        result.backup = std::exchange(link.seen, SeenRegisters{});
        if (!result.backupTaken)
            return fail(report, PanelOutcome::BadData, kBadData);
    }

    const std::array<qint16, kConfigRegisters> values = config->registers();
    link.error_flag = 0;
    for (int reg = 0; reg < kConfigRegisters && link.error_flag == 0; ++reg) {
        link.pause_tick();
        link.address_l = qint16(reg);
        link.data_l = values[reg];
        link.write_register();
    }
    if (link.error_flag != 0)
        return fail(report, PanelOutcome::BadData, kBadData);
    link.pause_tick();
    report.reportStatus(kProgrammed, kGreen);
    return PanelOutcome::Done;
}

// A failure of an operation that was being abandoned is its being stopped, whatever it looked like.
PanelOutcome stoppedOr(const PanelHost &host, PanelOutcome outcome)
{
    return outcome != PanelOutcome::Done && host.operationAbandoned() ? PanelOutcome::Stopped : outcome;
}

} // namespace

int exitCodeOf(PanelOutcome outcome)
{
    switch (outcome) {
    case PanelOutcome::Done:
        return kExitDone;
    case PanelOutcome::PortNotOpened:
        return kExitPortFailure;
    case PanelOutcome::IdentityMismatch:
        return kExitOtherPanel;
    case PanelOutcome::NoResponse:
    case PanelOutcome::BadData:
    case PanelOutcome::Incomplete:
    case PanelOutcome::Stopped:
        break;
    }
    return kExitLineFailure;
}

PanelResult read_config(PanelHost &host, OperationReport &report, SerialLine &line, EditorModel &editor)
{
    PanelResult result;
    {
        PanelLink link(host, report, line);
        result.outcome = stoppedOr(host, read_whole_config(link, report, line, editor));
        result.registers = link.seen;
    }
    return result;
}

PanelResult write_config(PanelHost &host, OperationReport &report, SerialLine &line,
                         const std::optional<PanelConfig> &config, EditorModel *backup)
{
    PanelResult result;
    {
        PanelLink link(host, report, line);
        result.outcome = stoppedOr(host, write_whole_config(link, report, line, config, backup, result));
        result.registers = link.seen;
    }
    return result;
}

} // namespace panel
