// The selection rules: they keep the window-level codes in step with the lists and the check box,
// and refuse inconsistent lighting settings with a message and a correction.
#include "ui/form1.h"

#include "model/selection_rules.h"
#include "ui/rule_check_box.h"
#include "ui/selection_list.h"
#include "ui/text_box.h"

namespace panel {

void Form1::connectRules()
{
    for (int k = 0; k < kButtons; ++k) {
        m_buttons[k].module->setRule([this, k] { moduleRule(k); });
        m_buttons[k].channel->setRule([this, k] { channelRule(k); });
    }
    List21->setRule([this] { indicatorRule(); });
    List22->setRule([this] { backlightRule(); });
    Check1->setRule([this] { independentLightingRule(); });
}

void Form1::moduleRule(int k)
{
    check_independent_lighting();
    ButtonControls &b = m_buttons[k];
    ButtonVars &v = m_vars.button[k];
    const int p = b.module->position();
    if (p < 0)
        return; // no row to take a datum from
    if (p == kModuleNaPosition || p == kModuleBlMrPosition) {
        v.s = qint16(b.module->itemDatum(p));
        b.channel->hide();
    } else {
        b.channel->show();
        v.m = qint16(b.module->itemDatum(p));
        v.s = qint16(v.c + v.m); // at most 150 + 9
    }
}

void Form1::channelRule(int k)
{
    ButtonControls &b = m_buttons[k];
    ButtonVars &v = m_vars.button[k];
    const int q = b.channel->position();
    if (q < 0)
        return;
    v.c = qint16(b.channel->itemDatum(q));
    v.s = qint16(v.m + v.c);
    b.desig->show();
}

void Form1::indicatorRule()
{
    const int p = List21->position();
    if (p < 0)
        return;
    m_vars.indpercent = qint16(List21->itemDatum(p));
    if (backlightAboveIndicator(m_vars.indpercent, m_vars.blpercent)) {
        message(indicatorMessage(), QString());
        List22->setPosition(List21->position());
        m_vars.indpercent = qint16(List21->itemDatum(List21->position()));
    }
}

void Form1::backlightRule()
{
    const int p = List22->position();
    if (p < 0)
        return;
    m_vars.blpercent = qint16(List22->itemDatum(p));
    if (backlightAboveIndicator(m_vars.indpercent, m_vars.blpercent)) {
        message(backlightMessage(), QString());
        List22->setPosition(List21->position());
        m_vars.blpercent = qint16(List22->itemDatum(List22->position()));
    }
}

void Form1::independentLightingRule()
{
    check_independent_lighting();
    m_vars.feature = qint16(Check1->state());
}

void Form1::check_independent_lighting()
{
    std::array<int, kButtons> modules{};
    for (int k = 0; k < kButtons; ++k)
        modules[k] = m_buttons[k].module->position();
    if (Check1->state() == 1 && !lightingAllowed(modules)) {
        message(lightingMessage(), kLightingTitle);
        Check1->setState(0);
    }
    m_vars.feature = qint16(Check1->state());
}

} // namespace panel
