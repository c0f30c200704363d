#pragma once

namespace panel {

class PanelWindow;
class SerialLine;

// Reads registers 63 and 0 to 9 of the panel into the window, reporting in the status box.
void read_config(PanelWindow &window, SerialLine &line);
// Writes and verifies registers 0 to 9 from the window's selections, reporting in the status box.
void write_config(PanelWindow &window, SerialLine &line);

} // namespace panel
