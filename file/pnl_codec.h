#pragma once

#include "file/pnl_record.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// The .pnl line: 21 comma-separated fields, texts in double quotes, numbers in decimal, CR LF.
namespace panel {

inline constexpr char kModelTag[] = "00-04412-MDL";
inline constexpr int kPanelFieldCount = 21;
// Longest field value read or written, in bytes, quotes not counted.
inline constexpr int kMaxFieldBytes = 4096;

// nullopt when a text is not storable (see isStorableText) or longer than kMaxFieldBytes.
std::optional<QByteArray> encodePanelFile(const PanelFileRecord &record);

struct PanelFileParse {
    std::optional<PanelFileRecord> record;
    QString reason; // why there is no record
};

// Reads the first 21 fields and ignores whatever follows them. `truncated` says the bytes were
// cut short of the file's end, so running out of them means the file is too long.
// The model tag is not checked here.
PanelFileParse parsePanelFile(QByteArrayView bytes, bool truncated = false);

} // namespace panel
