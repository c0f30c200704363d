#pragma once

namespace panel {

// The id of the desktop entry, the icon, the metainfo and the MIME package.
inline constexpr char kDesktopId[] = "org.panelconfig.PanelConfig";

// Name, version and desktop id. No display name: Qt would append it to every window title.
void describeApplication();

} // namespace panel
