#pragma once

#include <QSize>

// The size of panelconfig's window (ui/form1.cpp), which the yardstick windows take so that they paint as
// many pixels as it does.
inline constexpr QSize kPanelWindowSize(736, 383);
