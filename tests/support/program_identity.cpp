// Every test runs under the program's own name, so that its settings and data are where the program keeps
// them (inside the fresh folders each test run gets).
#include "app/application.h"

#include <QCoreApplication>

static void nameAsTheProgram() { panel::describeApplication(); }
Q_COREAPP_STARTUP_FUNCTION(nameAsTheProgram)
