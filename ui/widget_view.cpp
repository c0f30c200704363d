#include "ui/widget_view.h"

#include "ui/dialogs.h"
#include "ui/form1_controls.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/text_box.h"

namespace panel {

WidgetView::WidgetView(QWidget &window, const Form1Controls &controls, Dialogs &dialogs)
    : m_window(window)
    , m_controls(controls)
    , m_dialogs(dialogs)
{
}

void WidgetView::showPosition(EditorList list, int k, int position)
{
    switch (list) {
    case EditorList::Module:
        m_controls.button[k].module->showPosition(position);
        break;
    case EditorList::Channel:
        m_controls.button[k].channel->showPosition(position);
        break;
    case EditorList::Indicator:
        m_controls.List21->showPosition(position);
        break;
    case EditorList::Backlight:
        m_controls.List22->showPosition(position);
        break;
    }
}

void WidgetView::showCheckState(int state) { m_controls.Check1->showState(state); }

void WidgetView::showChannelList(int k, bool shown) { m_controls.button[k].channel->setVisible(shown); }

void WidgetView::showDesignation(int k, const QString &text, bool shown)
{
    TextBox *box = m_controls.button[k].desig;
    if (box->text() != text)
        box->setTextFromProgram(text);
    box->setVisible(shown);
}

void WidgetView::showPanelName(const QString &name) { m_controls.Text2->setTextFromProgram(name); }

void WidgetView::message(const QString &text, const QString &title) { m_dialogs.message(&m_window, text, title); }

} // namespace panel
