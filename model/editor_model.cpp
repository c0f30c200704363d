#include "model/editor_model.h"

#include "model/selection_rules.h"

namespace panel {

namespace {

// A position that names no row of a list of `rows` is no selection.
int rowOrNone(int position, int rows) { return position >= 0 && position < rows ? position : -1; }

} // namespace

EditorModel::EditorModel(EditorView &view)
    : m_view(view)
{
    m_designation.fill(kDesignationStart);
}

void EditorModel::runStartUpSteps()
{
    setCheckState(0);
    setIndicatorPosition(0);
    setBacklightPosition(0);
    m_indpercent = kFullIntensityCode;
    m_blpercent = kFullIntensityCode;
}

void EditorModel::setModulePosition(int k, int position)
{
    m_module[k] = rowOrNone(position, kModuleRowCount);
    m_view.showPosition(EditorList::Module, k, m_module[k]);
    moduleRule(k);
}

void EditorModel::setChannelPosition(int k, int position)
{
    m_channel[k] = rowOrNone(position, kChannelRowCount);
    m_view.showPosition(EditorList::Channel, k, m_channel[k]);
    channelRule(k);
}

void EditorModel::setIndicatorPosition(int position)
{
    m_indicatorPosition = rowOrNone(position, kIntensityRowCount);
    m_view.showPosition(EditorList::Indicator, 0, m_indicatorPosition);
    indicatorRule();
}

void EditorModel::setBacklightPosition(int position)
{
    m_backlightPosition = rowOrNone(position, kIntensityRowCount);
    m_view.showPosition(EditorList::Backlight, 0, m_backlightPosition);
    backlightRule();
}

void EditorModel::setCheckState(int state)
{
    const int ticked = state != 0 ? 1 : 0;
    if (ticked == m_check)
        return;
    m_check = ticked;
    m_view.showCheckState(m_check);
    independentLightingRule();
}

void EditorModel::setDesignationText(int k, const QString &text) { m_designation[k] = text; }

void EditorModel::setPanelNameText(const QString &text) { m_panelName = text; }

// The module rule: "N/A" and "BL/MR" hide the channel list and are the code themselves; a letter shows
// it and adds the channel datum kept from before.
void EditorModel::moduleRule(int k)
{
    check_independent_lighting();
    const int p = m_module[k];
    if (p < 0)
        return; // no row to take a datum from
    ButtonCodes &b = m_button[k];
    if (p == kModuleNaPosition || p == kModuleBlMrPosition) {
        b.s = moduleRows()[p].datum;
        m_channelShown[k] = false;
    } else {
        m_channelShown[k] = true;
        b.m = moduleRows()[p].datum;
        b.s = qint16(b.c + b.m); // at most 150 + 9
    }
    m_view.showChannelList(k, m_channelShown[k]);
}

// The channel rule adds whatever module datum is kept, and shows the designation.
void EditorModel::channelRule(int k)
{
    const int q = m_channel[k];
    if (q < 0)
        return;
    ButtonCodes &b = m_button[k];
    b.c = channelRows()[q].datum;
    b.s = qint16(b.m + b.c);
    m_designationShown[k] = true;
    m_view.showDesignation(k, m_designation[k], true);
}

// Lowering the indicator below the back-light pulls the back-light down with it.
void EditorModel::indicatorRule()
{
    if (m_indicatorPosition < 0)
        return;
    m_indpercent = intensityRows()[m_indicatorPosition].datum;
    if (backlightAboveIndicator(m_indpercent, m_blpercent)) {
        m_view.message(indicatorMessage(), QString());
        setBacklightPosition(m_indicatorPosition);
        m_indpercent = intensityRows()[m_indicatorPosition].datum;
    }
}

// Raising the back-light above the indicator is taken back to the indicator's percentage.
void EditorModel::backlightRule()
{
    if (m_backlightPosition < 0)
        return;
    m_blpercent = intensityRows()[m_backlightPosition].datum;
    if (backlightAboveIndicator(m_indpercent, m_blpercent)) {
        m_view.message(backlightMessage(), QString());
        setBacklightPosition(m_indicatorPosition);
        m_blpercent = intensityRows()[m_backlightPosition].datum;
    }
}

void EditorModel::independentLightingRule()
{
    check_independent_lighting();
    m_feature = qint16(m_check);
}

// Independent lighting needs a button on "BL/MR": without one the box is unticked again.
void EditorModel::check_independent_lighting()
{
    if (m_check == 1 && !lightingAllowed(m_module)) {
        m_view.message(lightingMessage(), kLightingTitle);
        setCheckState(0);
    }
    m_feature = qint16(m_check);
}

void EditorModel::show_switch_code(int k, qint16 code)
{
    const SwitchPositions decoded = decode_switch_code(code, l_index);
    l_index = decoded.l_index;
    setModulePosition(k, decoded.h_index);
    setChannelPosition(k, decoded.l_index);
}

void EditorModel::clear_designation(int k)
{
    m_designation[k].clear();
    m_designationShown[k] = false;
    m_view.showDesignation(k, m_designation[k], false);
}

void EditorModel::show_panel_name(const QString &name)
{
    m_panelName = name;
    m_view.showPanelName(name);
}

// The back-light code becomes the indicator's before the indicator list moves, so that its rule finds
// them equal; the stored back-light code comes after, with show_backlight_code.
void EditorModel::show_indicator_code(qint16 code)
{
    m_indpercent = code;
    m_blpercent = m_indpercent;
    setIndicatorPosition(intensity_position(m_indpercent));
}

void EditorModel::show_backlight_code(qint16 code)
{
    m_blpercent = code;
    setBacklightPosition(intensity_position(m_blpercent));
}

void EditorModel::show_named_config(const NamedPanelConfig &named)
{
    show_panel_name(named.panel);
    for (int k = 0; k < kButtons; ++k) {
        m_designation[k] = named.designation[k];
        m_designationShown[k] = true;
        m_view.showDesignation(k, m_designation[k], true);
        show_switch_code(k, named.config.code[k]);
    }
    show_independent_lighting(named.config.feature == 1 ? 1 : 0);
    show_indicator_code(named.config.indicator);
    show_backlight_code(named.config.backlight);
}

void EditorModel::keep_backlight_code_shown()
{
    if (m_backlightPosition >= 0)
        m_blpercent = intensityRows()[m_backlightPosition].datum;
}

std::optional<PanelConfig> EditorModel::gather_config()
{
    Selections selections;
    for (int k = 0; k < kButtons; ++k)
        selections[k] = {m_module[k], m_channel[k]};
    qint16 error_flag = 0;
    gather_switch_codes(selections, m_button, error_flag);
    if (error_flag == 1)
        return std::nullopt;
    PanelConfig config;
    for (int k = 0; k < kButtons; ++k)
        config.code[k] = m_button[k].w;
    config.feature = m_feature;
    config.indicator = m_indpercent;
    config.backlight = m_blpercent;
    return config;
}

std::optional<NamedPanelConfig> EditorModel::gather_named_config()
{
    const std::optional<PanelConfig> config = gather_config();
    if (!config)
        return std::nullopt;
    return NamedPanelConfig{*config, m_panelName, m_designation};
}

} // namespace panel
