#pragma once

class QLabel;
class QPalette;
class QWidget;

namespace panel {

struct ControlRow;

// One control of the control table, made with its rows, texts and start-up state, but not yet named
// or placed.
QWidget *makeControl(const ControlRow &row, QWidget *parent);
// Its name, place, font and tooltip; captions and titles are drawn smaller where they would not fit.
void placeControl(QWidget *control, const ControlRow &row);
// "SW1" to "SW6" in the highlight text colour on the grey of disabled text.
void colourButtonCaption(QLabel *caption, const QPalette &window);

} // namespace panel
