#pragma once

namespace panel {

// The id of the desktop entry, the icon, the metainfo and the MIME package.
inline constexpr char kDesktopId[] = "org.panelconfig.PanelConfig";

// Name (the organisation's too, so that QSettings() is the program's settings file), version and desktop id.
// No display name: Qt would append it to every window title.
void describeApplication();

// For what runs without a window (help, the version, the port list, usage errors): leaves out Qt's warning
// that XDG_RUNTIME_DIR is not set, given while the application object starts, as over SSH or in a service.
// Nothing of these uses the session's runtime folder. Every other message is passed on.
void quietenSessionlessStart();

} // namespace panel
