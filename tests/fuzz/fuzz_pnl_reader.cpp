#include "file/pnl_codec.h"

#include <cstdint>
#include <cstdlib>
#include <cstdio>

// Parses any bytes; a record that comes out must survive being written and read again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bool truncated : {false, true}) {
        const panel::PanelFileParse parsed = panel::parsePanelFile(bytes, truncated);
        if (parsed.record.has_value() != parsed.reason.isEmpty()) {
            std::fprintf(stderr, "a parse must give a record or a reason, not both or neither\n");
            std::abort();
        }
        if (!parsed.record)
            continue;
        const auto line = panel::encodePanelFile(*parsed.record);
        if (!line)
            continue;
        const panel::PanelFileParse again = panel::parsePanelFile(*line);
        if (!again.record || *again.record != *parsed.record) {
            std::fprintf(stderr, "round trip changed the record: %s\n", qPrintable(again.reason));
            std::abort();
        }
    }
    return 0;
}
