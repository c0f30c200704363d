#pragma once

#include "model/editor_model.h"

class QWidget;

namespace panel {

class Dialogs;
struct Form1Controls;

// The editor model shown in the window's controls: each change sets its widget as it is, without the
// widget telling the model again; a message is a modal box.
class WidgetView : public EditorView
{
public:
    WidgetView(QWidget &window, const Form1Controls &controls, Dialogs &dialogs);

    void showPosition(EditorList list, int k, int position) override;
    void showCheckState(int state) override;
    void showChannelList(int k, bool shown) override;
    void showDesignation(int k, const QString &text, bool shown) override;
    void showPanelName(const QString &name) override;
    void message(const QString &text, const QString &title) override;

private:
    QWidget &m_window;
    const Form1Controls &m_controls;
    Dialogs &m_dialogs;
};

} // namespace panel
