// The four command buttons: read and write the panel, open and save a configuration file.
#include "ui/form1.h"

#include "file/config_file_ops.h"
#include "link/panel_operations.h"

namespace panel {

void Form1::readConfig() { read_config(*this, m_line); }
void Form1::writeConfig() { write_config(*this, m_line); }
void Form1::readFile() { open_config_file(*this); }
void Form1::writeFile() { save_config_file(*this); }

} // namespace panel
