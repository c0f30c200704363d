#include "model/selection_rules.h"

#include <algorithm>

namespace panel {

namespace {

QString twoTexts(const char *first, const char *second)
{
    return QString::fromLatin1(first) + QChar(10) + QString::fromLatin1(second);
}

} // namespace

bool lightingAllowed(const std::array<int, kButtons> &modulePositions)
{
    return std::any_of(modulePositions.cbegin(), modulePositions.cend(),
                       [](int position) { return position == kModuleBlMrPosition; });
}

QString indicatorMessage()
{
    return twoTexts("NORMAL INDICATOR INTENSITY must be set equal to", "or greater than NORMAL BACKLIGHTING INTENSITY.");
}

QString backlightMessage()
{
    return twoTexts("NORMAL BACKLIGHTING INTENSITY must be set equal to", "or less than NORMAL INDICATOR INTENSITY.");
}

QString lightingMessage()
{
    return twoTexts("ONE OF THE SWITCHES ON THE PANEL MUST BE ASSIGNED TO THE",
                    "MR/BL CHANNEL IF YOU ARE SELECTING INDEPENDENT LIGHTING.");
}

} // namespace panel
