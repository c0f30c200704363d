#include "model/editor_model.h"

#include "model/selection_rules.h"

#include <QUndoCommand>
#include <utility>

namespace panel {

namespace {

// A position that names no row of a list of `rows` is no selection.
int rowOrNone(int position, int rows) { return position >= 0 && position < rows ? position : -1; }

// Typing in a box merges into one step: the box's number, past any command's id.
constexpr int kTypingMerge = 1000;

QString buttonName(int k) { return QStringLiteral("SW%1").arg(k + 1); }

} // namespace

// One step of the editor: the state before it and after it.
class EditorStep : public QUndoCommand
{
public:
    EditorStep(EditorModel &editor, const QString &text, const EditorState &before, int merge)
        : QUndoCommand(text)
        , m_editor(editor)
        , m_before(before)
        , m_after(editor.m_state)
        , m_merge(merge)
    {
    }

    // The first redo is the step itself, already done.
    void redo() override
    {
        if (std::exchange(m_done, true))
            m_editor.restore(m_after);
    }
    void undo() override { m_editor.restore(m_before); }
    int id() const override { return m_merge; }
    bool mergeWith(const QUndoCommand *other) override
    {
        m_after = static_cast<const EditorStep *>(other)->m_after;
        return true;
    }

private:
    EditorModel &m_editor;
    EditorState m_before;
    EditorState m_after;
    int m_merge;
    bool m_done = false;
};

// A choice or a typed text: a step of its own unless a larger one is under way.
class EditorModel::StepScope
{
public:
    StepScope(EditorModel &editor, const QString &text, int merge = -1)
        : m_editor(editor)
    {
        m_editor.beginStep(text, merge);
    }
    ~StepScope() { m_editor.endStep(); }
    StepScope(const StepScope &) = delete;
    StepScope &operator=(const StepScope &) = delete;

private:
    EditorModel &m_editor;
};

void EditorModel::beginStep(const QString &text) { beginStep(text, -1); }

void EditorModel::beginStep(const QString &text, int merge)
{
    if (m_stepDepth++ > 0)
        return;
    m_stepText = text;
    m_stepBefore = m_state;
    m_stepMerge = merge;
}

void EditorModel::endStep()
{
    if (--m_stepDepth > 0 || m_state == m_stepBefore)
        return;
    m_steps.push(new EditorStep(*this, m_stepText, m_stepBefore, m_stepMerge));
}

void EditorModel::restore(const EditorState &state)
{
    m_state = state;
    for (int k = 0; k < kButtons; ++k) {
        m_view.showPosition(EditorList::Module, k, m_state.module[k]);
        m_view.showPosition(EditorList::Channel, k, m_state.channel[k]);
        m_view.showChannelList(k, m_state.channelShown[k]);
        m_view.showDesignation(k, m_state.designation[k], m_state.designationShown[k]);
    }
    m_view.showPosition(EditorList::Indicator, 0, m_state.indicatorPosition);
    m_view.showPosition(EditorList::Backlight, 0, m_state.backlightPosition);
    m_view.showCheckState(m_state.check);
    m_view.showPanelName(m_state.panelName);
}

// Steps beyond these are forgotten, oldest first: a long day's edits, without memory growing for ever.
constexpr int kUndoLimit = 1000;

EditorModel::EditorModel(EditorView &view)
    : m_view(view)
{
    m_state.designation.fill(kDesignationStart);
    m_steps.setUndoLimit(kUndoLimit);
}

void EditorModel::runStartUpSteps()
{
    setCheckState(0);
    setIndicatorPosition(0);
    setBacklightPosition(0);
    m_state.indpercent = kFullIntensityCode;
    m_state.blpercent = kFullIntensityCode;
    m_steps.clear(); // nothing to undo before the start
    markUnchanged();
}

void EditorModel::setModulePosition(int k, int position)
{
    const StepScope step(*this, buttonName(k) + QStringLiteral(" module"));
    m_state.module[k] = rowOrNone(position, kModuleRowCount);
    m_view.showPosition(EditorList::Module, k, m_state.module[k]);
    moduleRule(k);
}

void EditorModel::setChannelPosition(int k, int position)
{
    const StepScope step(*this, buttonName(k) + QStringLiteral(" channel"));
    m_state.channel[k] = rowOrNone(position, kChannelRowCount);
    m_view.showPosition(EditorList::Channel, k, m_state.channel[k]);
    channelRule(k);
}

void EditorModel::setIndicatorPosition(int position)
{
    const StepScope step(*this, QStringLiteral("indicator intensity"));
    m_state.indicatorPosition = rowOrNone(position, kIntensityRowCount);
    m_view.showPosition(EditorList::Indicator, 0, m_state.indicatorPosition);
    indicatorRule();
}

void EditorModel::setBacklightPosition(int position)
{
    const StepScope step(*this, QStringLiteral("back-light intensity"));
    m_state.backlightPosition = rowOrNone(position, kIntensityRowCount);
    m_view.showPosition(EditorList::Backlight, 0, m_state.backlightPosition);
    backlightRule();
}

void EditorModel::setCheckState(int state)
{
    const int ticked = state != 0 ? 1 : 0;
    if (ticked == m_state.check)
        return;
    const StepScope step(*this, QStringLiteral("independent lighting"));
    m_state.check = ticked;
    m_view.showCheckState(m_state.check);
    independentLightingRule();
}

void EditorModel::setDesignationText(int k, const QString &text)
{
    const StepScope step(*this, buttonName(k) + QStringLiteral(" designation"), kTypingMerge + k);
    m_state.designation[k] = text;
}

void EditorModel::setPanelNameText(const QString &text)
{
    const StepScope step(*this, QStringLiteral("panel name"), kTypingMerge + kButtons);
    m_state.panelName = text;
}

// The module rule: "N/A" and "BL/MR" hide the channel list and are the code themselves; a letter shows
// it and adds the channel datum kept from before.
void EditorModel::moduleRule(int k)
{
    check_independent_lighting();
    const int p = m_state.module[k];
    if (p < 0)
        return; // no row to take a datum from
    ButtonCodes &b = m_state.button[k];
    if (p == kModuleNaPosition || p == kModuleBlMrPosition) {
        b.s = moduleRows()[p].datum;
        m_state.channelShown[k] = false;
    } else {
        m_state.channelShown[k] = true;
        b.m = moduleRows()[p].datum;
        b.s = qint16(b.c + b.m); // at most 150 + 9
    }
    m_view.showChannelList(k, m_state.channelShown[k]);
}

// The channel rule adds whatever module datum is kept, and shows the designation.
void EditorModel::channelRule(int k)
{
    const int q = m_state.channel[k];
    if (q < 0)
        return;
    ButtonCodes &b = m_state.button[k];
    b.c = channelRows()[q].datum;
    b.s = qint16(b.m + b.c);
    m_state.designationShown[k] = true;
    m_view.showDesignation(k, m_state.designation[k], true);
}

// Lowering the indicator below the back-light pulls the back-light down with it.
void EditorModel::indicatorRule()
{
    if (m_state.indicatorPosition < 0)
        return;
    m_state.indpercent = intensityRows()[m_state.indicatorPosition].datum;
    if (backlightAboveIndicator(m_state.indpercent, m_state.blpercent)) {
        m_view.message(indicatorMessage(), QString());
        setBacklightPosition(m_state.indicatorPosition);
        m_state.indpercent = intensityRows()[m_state.indicatorPosition].datum;
    }
}

// Raising the back-light above the indicator is taken back to the indicator's percentage.
void EditorModel::backlightRule()
{
    if (m_state.backlightPosition < 0)
        return;
    m_state.blpercent = intensityRows()[m_state.backlightPosition].datum;
    if (backlightAboveIndicator(m_state.indpercent, m_state.blpercent)) {
        m_view.message(backlightMessage(), QString());
        setBacklightPosition(m_state.indicatorPosition);
        m_state.blpercent = intensityRows()[m_state.backlightPosition].datum;
    }
}

void EditorModel::independentLightingRule()
{
    check_independent_lighting();
    m_state.feature = qint16(m_state.check);
}

// Independent lighting needs a button on "BL/MR": without one the box is unticked again.
void EditorModel::check_independent_lighting()
{
    if (m_state.check == 1 && !lightingAllowed(m_state.module)) {
        m_view.message(lightingMessage(), kLightingTitle);
        setCheckState(0);
    }
    m_state.feature = qint16(m_state.check);
}

void EditorModel::show_switch_code(int k, qint16 code)
{
    const SwitchPositions decoded = decode_switch_code(code, m_state.l_index);
    m_state.l_index = decoded.l_index;
    setModulePosition(k, decoded.h_index);
    setChannelPosition(k, decoded.l_index);
}

void EditorModel::clear_designation(int k)
{
    m_state.designation[k].clear();
    m_state.designationShown[k] = false;
    m_view.showDesignation(k, m_state.designation[k], false);
}

void EditorModel::show_panel_name(const QString &name)
{
    m_state.panelName = name;
    m_view.showPanelName(name);
}

// The back-light code becomes the indicator's before the indicator list moves, so that its rule finds
// them equal; the stored back-light code comes after, with show_backlight_code.
void EditorModel::show_indicator_code(qint16 code)
{
    m_state.indpercent = code;
    m_state.blpercent = m_state.indpercent;
    setIndicatorPosition(intensity_position(m_state.indpercent));
}

void EditorModel::show_backlight_code(qint16 code)
{
    m_state.blpercent = code;
    setBacklightPosition(intensity_position(m_state.blpercent));
}

void EditorModel::show_named_config(const NamedPanelConfig &named)
{
    show_panel_name(named.panel);
    for (int k = 0; k < kButtons; ++k) {
        m_state.designation[k] = named.designation[k];
        m_state.designationShown[k] = true;
        m_view.showDesignation(k, m_state.designation[k], true);
        show_switch_code(k, named.config.code[k]);
    }
    show_independent_lighting(named.config.feature == 1 ? 1 : 0);
    show_indicator_code(named.config.indicator);
    show_backlight_code(named.config.backlight);
}

void EditorModel::keep_backlight_code_shown()
{
    if (m_state.backlightPosition >= 0)
        m_state.blpercent = intensityRows()[m_state.backlightPosition].datum;
}

std::optional<PanelConfig> EditorModel::gather_config()
{
    Selections selections;
    for (int k = 0; k < kButtons; ++k)
        selections[k] = {m_state.module[k], m_state.channel[k]};
    qint16 error_flag = 0;
    gather_switch_codes(selections, m_state.button, error_flag);
    if (error_flag == 1)
        return std::nullopt;
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k)
        config.code[k] = m_state.button[k].w;
    config.feature = m_state.feature;
    config.indicator = m_state.indpercent;
    config.backlight = m_state.blpercent;
    return config;
}

std::optional<NamedPanelConfig> EditorModel::gather_named_config()
{
    const std::optional<PanelConfig> config = gather_config();
    if (!config)
        return std::nullopt;
    return NamedPanelConfig{*config, m_state.panelName, m_state.designation};
}

} // namespace panel
