#pragma once

#include <functional>
#include <utility>

namespace panel {

// The click rule shared by the fourteen lists and the check box: it runs once for each choice the
// user makes with the mouse or the keyboard, and, when the program sets the control, at once and to
// completion before the setter returns. Rules may set controls themselves; those runs nest.
class RuleControl
{
public:
    void setRule(std::function<void()> rule) { m_rule = std::move(rule); }

protected:
    void runRule() const
    {
        if (m_rule)
            m_rule();
    }

private:
    std::function<void()> m_rule;
};

} // namespace panel
