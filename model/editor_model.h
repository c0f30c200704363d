#pragma once

#include "model/codes.h"
#include "model/editor_state.h"
#include "model/panel_config.h"

#include <QString>
#include <QUndoStack>
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

    int modulePosition(int k) const { return m_state.module[k]; }
    int channelPosition(int k) const { return m_state.channel[k]; }
    int indicatorPosition() const { return m_state.indicatorPosition; }
    int backlightPosition() const { return m_state.backlightPosition; }
    int checkState() const { return m_state.check; }
    bool channelListShown(int k) const { return m_state.channelShown[k]; }
    bool designationShown(int k) const { return m_state.designationShown[k]; }
    const QString &designation(int k) const { return m_state.designation[k]; }
    const QString &panelName() const { return m_state.panelName; }

    const EditorState &state() const { return m_state; }
    const ButtonCodes &button(int k) const { return m_state.button[k]; }
    qint16 indpercent() const { return m_state.indpercent; }
    qint16 blpercent() const { return m_state.blpercent; }
    qint16 feature() const { return m_state.feature; }

    // Undo and redo of what the editor shows. Each choice and each typed text is a step of its own (typing
    // in one box goes into one step); whatever runs between beginStep and endStep (a READ, an OPEN) is one
    // step, whether it ended well or not. A step brings back the state as it was, codes included, and tells
    // the view; no rule runs and nothing is said.
    QUndoStack &steps() { return m_steps; }
    void beginStep(const QString &text);
    void endStep();

    // Whether what the editor shows differs from what it showed when last marked: saved to or opened from
    // a file, written to or read from a panel (at start-up: the start-up state).
    void markUnchanged() { m_unchanged = m_state; }
    bool changedSinceMarked() const { return !m_state.showsTheSameAs(m_unchanged); }

private:
    friend class EditorStep;
    class StepScope;
    void beginStep(const QString &text, int merge);
    // Puts the state back as it was and shows all of it.
    void restore(const EditorState &state);

    void moduleRule(int k);
    void channelRule(int k);
    void indicatorRule();
    void backlightRule();
    void independentLightingRule();
    void check_independent_lighting();

    EditorView &m_view;

    EditorState m_state;
    QUndoStack m_steps;
    int m_stepDepth = 0;        // steps under way, the outermost one is kept
    QString m_stepText;         // of the outermost step under way
    EditorState m_stepBefore;   // the state it started from
    int m_stepMerge = -1;       // typing in one box merges into one step
    EditorState m_unchanged;    // as last saved, opened, written or read
};

} // namespace panel
