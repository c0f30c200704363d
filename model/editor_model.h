#pragma once

#include "model/codes.h"
#include "model/panel_config.h"

#include <QString>
#include <array>
#include <optional>

namespace panel {

// The lists whose selection the configuration is made of.
enum class EditorList { Module, Channel, Indicator, Backlight };

// What the configuration being edited looks like, told as it changes: the window shows it in its
// controls, the command line only keeps the messages. Nothing here runs a rule again.
class EditorView
{
public:
    virtual ~EditorView() = default;

    // A list's selected row (-1: none); k is the button for a module or channel list.
    virtual void showPosition(EditorList list, int k, int position) = 0;
    virtual void showCheckState(int state) = 0;
    virtual void showChannelList(int k, bool shown) = 0;
    virtual void showDesignation(int k, const QString &text, bool shown) = 0;
    virtual void showPanelName(const QString &name) = 0;
    // A modal message; an empty title means the application's own.
    virtual void message(const QString &text, const QString &title) = 0;
};

// The configuration being edited, with no widgets: the fourteen list positions, the independent-lighting
// box, the six designations and the panel name, and the codes the selection rules keep in step with them.
// Setting a position or the box's state is a choice, the user's or the program's alike: the control
// takes it and its rule runs at once and to completion, rules that set controls nesting inside it.
class EditorModel
{
public:
    explicit EditorModel(EditorView &view);

    // As the window is built: nothing chosen, every channel list and designation shown, the box ticked.
    // The load steps then untick it and put both intensities at "100".
    void runStartUpSteps();

    void setModulePosition(int k, int position);
    void setChannelPosition(int k, int position);
    void setIndicatorPosition(int position);
    void setBacklightPosition(int position);
    // Any non-zero state ticks the box. Setting the state the box already has runs nothing.
    void setCheckState(int state);
    // Typed texts: no rule runs.
    void setDesignationText(int k, const QString &text);
    void setPanelNameText(const QString &text);

    // What a panel read and a file open show.
    void show_switch_code(int k, qint16 code);
    void clear_designation(int k);
    void show_panel_name(const QString &name);
    void show_independent_lighting(int state) { setCheckState(state); }
    void show_indicator_code(qint16 code);
    void show_backlight_code(qint16 code);
    // An opened file: the panel name, each button's designation and code, then the lighting settings.
    void show_named_config(const NamedPanelConfig &named);
    // After a read that failed part-way: the back-light code is again the one its list shows.
    void keep_backlight_code_shown();

    // The codes the selections give, for writing or saving (gather_switch_codes): nothing when a button is
    // incomplete. The designations and the panel name come with it.
    std::optional<PanelConfig> gather_config();
    std::optional<NamedPanelConfig> gather_named_config();

    int modulePosition(int k) const { return m_module[k]; }
    int channelPosition(int k) const { return m_channel[k]; }
    int indicatorPosition() const { return m_indicatorPosition; }
    int backlightPosition() const { return m_backlightPosition; }
    int checkState() const { return m_check; }
    bool channelListShown(int k) const { return m_channelShown[k]; }
    bool designationShown(int k) const { return m_designationShown[k]; }
    const QString &designation(int k) const { return m_designation[k]; }
    const QString &panelName() const { return m_panelName; }

    const ButtonCodes &button(int k) const { return m_button[k]; }
    qint16 indpercent() const { return m_indpercent; }
    qint16 blpercent() const { return m_blpercent; }
    qint16 feature() const { return m_feature; }

private:
    void moduleRule(int k);
    void channelRule(int k);
    void indicatorRule();
    void backlightRule();
    void independentLightingRule();
    void check_independent_lighting();

    EditorView &m_view;

    std::array<int, kButtons> m_module{-1, -1, -1, -1, -1, -1};
    std::array<int, kButtons> m_channel{-1, -1, -1, -1, -1, -1};
    std::array<bool, kButtons> m_channelShown{true, true, true, true, true, true};
    std::array<bool, kButtons> m_designationShown{true, true, true, true, true, true};
    std::array<QString, kButtons> m_designation;
    QString m_panelName;
    int m_indicatorPosition = -1;
    int m_backlightPosition = -1;
    int m_check = 1;

    std::array<ButtonCodes, kButtons> m_button{};
    qint16 m_indpercent = 0;
    qint16 m_blpercent = 0;
    qint16 m_feature = 0;
    int l_index = 0; // the channel position of the last decode, kept for "N/A" and "BL/MR"
};

} // namespace panel
