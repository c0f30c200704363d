#pragma once

#include "model/panel_config.h"
#include "site/journal_line.h"

#include <QString>
#include <optional>

namespace panel {

enum class PanelState { NotWritten, Written, Verified, ChangedSinceWritten, Differs, Failed, Unknown };

// "not written", "written", "verified", "changed since written", "differs", "failed", "unknown".
QString stateWords(PanelState state);

// What the history tells of one panel name.
struct PanelStatus {
    PanelState state = PanelState::NotWritten;
    std::optional<PanelOperation> seen;  // the operation the state was seen in
    std::optional<PanelOperation> write; // the last write that succeeded
    std::optional<PanelOperation> check; // a verify or read after it
    bool checkMatched = false;
    // What was written, when no file tells the configuration (every panel of the history).
    std::optional<NamedPanelConfig> written;
};

// Follows one panel name through the journal, newest line first, until its state is settled: the last
// operation of the name, the last write of it that succeeded and the newest verify or read after that.
// The file's configuration, when there is one, is what writes and checks are compared with; without
// it, the last write's is.
class PanelTrail
{
public:
    explicit PanelTrail(std::optional<NamedPanelConfig> file = std::nullopt);

    // The next older operation of this panel name; false once nothing older can change the state.
    bool take(const PanelOperation &operation);
    bool settled() const { return m_write.has_value(); }
    PanelStatus status() const;

private:
    std::optional<NamedPanelConfig> m_file;
    std::optional<PanelOperation> m_last;
    std::optional<PanelOperation> m_check;
    std::optional<PanelOperation> m_write;
};

} // namespace panel
