#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace panel {

// What the panel and file operations tell whoever runs them: the window, or the command line.
// Showing a selection runs the rules that the window runs for it, in the order called.
class OperationReport
{
public:
    virtual ~OperationReport() = default;

    // The status of the operation, shown; its colour (0xBBGGRR) changes only when given.
    virtual void reportStatus(const QString &text, std::optional<quint32> colour = std::nullopt) = 0;
    virtual void hideStatus() = 0;
    // A modal message; an empty title means the application's own.
    virtual void message(const QString &text, const QString &title) = 0;

    // Button k's module list set to a position, then its channel list.
    virtual void showButton(int k, int modulePosition, int channelPosition) = 0;
    // Button k's designation, shown; nothing empties and hides it (the panel holds no names).
    virtual void showDesignation(int k, const std::optional<QString> &text) = 0;
    virtual void showPanelName(const QString &name) = 0;
    // The lighting settings: the box's state, then the indicator code (which sets the back-light code
    // to it), then the back-light code.
    virtual void showIndependentLighting(int state) = 0;
    virtual void showIndicator(qint16 code) = 0;
    virtual void showBacklight(qint16 code) = 0;
};

} // namespace panel
