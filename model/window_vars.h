#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

namespace panel {

constexpr int kButtons = 6;

// One button's codes: switch code as last derived (s), module datum (m), channel datum (c),
// code gathered for writing (w) and the designation read from a file (desig).
struct ButtonVars {
    qint16 s = 0;
    qint16 m = 0;
    qint16 c = 0;
    qint16 w = 0;
    QString desig;
};

// The working values of a panel operation and of decoding a switch code. The window keeps them for
// its whole life; a panel operation run from the command line has its own.
struct OperationVars {
    qint16 timer_flag = 0;
    qint16 error_flag = 0;
    qint16 address_l = 0;
    qint16 data_l = 0;
    qint16 A = 0;
    qint16 temp1 = 0;
    qint16 h_index = 0;
    qint16 l_index = 0;
};

// The window-level variables: every integer is 16-bit signed and starts at 0, every string empty.
struct WindowVars : OperationVars {
    std::array<ButtonVars, kButtons> button;
    qint16 BL = 0;
    qint16 feature = 0;
    qint16 indpercent = 0;
    qint16 blpercent = 0;
    QString panel;
    QString fdesig;
    QString ind;
    QString blp;
    QString wmodel;
    QString rmodel;
};

} // namespace panel
