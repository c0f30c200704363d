#pragma once

#include "model/editor_model.h"

#include <QStringList>

namespace panel {

// A view of an editor that nobody sees: nothing is shown, and every message the window would show in a
// box is kept, in order (the command line tells them as warnings).
class CollectingView : public EditorView
{
public:
    void showPosition(EditorList, int, int) override {}
    void showCheckState(int) override {}
    void showChannelList(int, bool) override {}
    void showDesignation(int, const QString &, bool) override {}
    void showPanelName(const QString &) override {}
    void message(const QString &text, const QString &) override { m_messages << text; }

    const QStringList &messages() const { return m_messages; }

private:
    QStringList m_messages;
};

} // namespace panel
