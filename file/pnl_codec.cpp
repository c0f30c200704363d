#include "file/pnl_codec.h"

#include "file/windows1252.h"

#include <algorithm>
#include <type_traits>

namespace panel {
namespace {

// Calls visit(field) on each field of the record, in file order.
template <typename Record, typename Visit>
void visitFields(Record &r, Visit &&visit)
{
    visit(r.model);
    visit(r.panel);
    for (std::size_t i = 0; i < r.desig.size(); ++i) {
        visit(r.desig[i]);
        visit(r.code[i]);
    }
    visit(r.bl);
    visit(r.fdesig);
    visit(r.feature);
    visit(r.ind);
    visit(r.indpercent);
    visit(r.blp);
    visit(r.blpercent);
}

template <typename T>
constexpr bool isText = std::is_same_v<std::decay_t<T>, QString>;

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool endsField(char c) { return c == ',' || isLineEnd(c); }

enum class Scan { Ok, RanOut, TooLong, Binary };

struct RawField {
    QByteArrayView value;
    bool reachesInputEnd = false; // an unquoted value that may go on past the bytes given
};

// Cuts the input into fields one at a time, never looking further than the field at hand.
class FieldScanner
{
public:
    explicit FieldScanner(QByteArrayView bytes) : m_bytes(bytes) {}

    Scan next(RawField *field, bool last)
    {
        const qsizetype size = m_bytes.size();
        // Line ends before a field are skipped too: "a",<CR LF>"b" is two fields, not three.
        while (m_pos < size && (isBlank(m_bytes[m_pos]) || isLineEnd(m_bytes[m_pos])))
            ++m_pos;
        if (isNulAt(m_pos))
            return Scan::Binary;
        if (m_pos == size)
            return Scan::RanOut;

        if (m_bytes[m_pos] == '"') {
            const qsizetype start = m_pos + 1;
            const qsizetype close = scan(start, [](char c) { return c != '"'; });
            if (isNulAt(close))
                return Scan::Binary;
            if (close - start > kMaxFieldBytes)
                return Scan::TooLong;
            if (close == size)
                return Scan::RanOut;
            *field = {m_bytes.sliced(start, close - start), false};
            m_pos = close + 1;
            if (last)
                return Scan::Ok;
            // Anything between the closing quote and the delimiter is ignored.
            const qsizetype stop = scan(m_pos, [](char c) { return !endsField(c); });
            if (isNulAt(stop))
                return Scan::Binary;
            if (stop - m_pos > kMaxFieldBytes)
                return Scan::TooLong;
            m_pos = stop;
        } else {
            const qsizetype start = m_pos;
            const qsizetype stop = scan(start, [](char c) { return !endsField(c); });
            if (isNulAt(stop))
                return Scan::Binary;
            if (stop - start > kMaxFieldBytes)
                return Scan::TooLong;
            qsizetype end = stop;
            while (end > start && isBlank(m_bytes[end - 1]))
                --end;
            *field = {m_bytes.sliced(start, end - start), stop == size};
            m_pos = stop;
        }
        if (m_pos < size && m_bytes[m_pos] == ',')
            ++m_pos;
        return Scan::Ok;
    }

private:
    // First position from `from` where keep() fails or a NUL stands, looking at most one byte
    // past the field cap so that a huge field costs no more than a short one.
    template <typename Keep>
    qsizetype scan(qsizetype from, Keep keep) const
    {
        const qsizetype limit = std::min(m_bytes.size(), from + kMaxFieldBytes + 1);
        while (from < limit && m_bytes[from] != '\0' && keep(m_bytes[from]))
            ++from;
        return from;
    }

    bool isNulAt(qsizetype pos) const { return pos < m_bytes.size() && m_bytes[pos] == '\0'; }

    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

// The leading decimal number, 0 when there is none; nullopt when it does not fit 16 bits.
std::optional<qint16> leadingNumber(QByteArrayView text)
{
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    qint32 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 32768)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 32767)
        return std::nullopt;
    return qint16(value);
}

QString tooLongReason()
{
    return QStringLiteral("The file is too long to be a panel file.");
}

} // namespace

std::optional<QByteArray> encodePanelFile(const PanelFileRecord &record)
{
    QByteArray line;
    bool storable = true;
    visitFields(record, [&](const auto &field) {
        if constexpr (isText<decltype(field)>) {
            const auto bytes = isStorableText(field) ? toWindows1252(field) : std::nullopt;
            if (!bytes || bytes->size() > kMaxFieldBytes) {
                storable = false;
                return;
            }
            line += '"';
            line += *bytes;
            line += '"';
        } else {
            line += QByteArray::number(field);
        }
        line += ',';
    });
    if (!storable)
        return std::nullopt;
    line.chop(1);
    line += "\r\n";
    return line;
}

PanelFileParse parsePanelFile(QByteArrayView bytes, bool truncated)
{
    FieldScanner scanner(bytes);
    PanelFileRecord record;
    QString reason;
    int index = 0;
    visitFields(record, [&](auto &field) {
        if (!reason.isEmpty())
            return;
        ++index;
        const bool last = index == kPanelFieldCount;
        RawField raw;
        switch (scanner.next(&raw, last)) {
        case Scan::Ok:
            break;
        case Scan::RanOut:
            if (truncated)
                reason = tooLongReason();
            else if (index == 1)
                reason = QStringLiteral("The file is empty.");
            else
                reason = QStringLiteral("The file ends before field %1 of %2 is complete.")
                             .arg(index)
                             .arg(kPanelFieldCount);
            return;
        case Scan::TooLong:
            reason = QStringLiteral("Field %1 is longer than %2 bytes.").arg(index).arg(kMaxFieldBytes);
            return;
        case Scan::Binary:
            reason = QStringLiteral("The file holds binary data (a NUL byte in field %1).").arg(index);
            return;
        }
        // The last number may go on in the bytes that were not read.
        if (last && truncated && raw.reachesInputEnd) {
            reason = tooLongReason();
            return;
        }
        if constexpr (isText<decltype(field)>) {
            field = fromWindows1252(raw.value);
        } else {
            const auto number = leadingNumber(raw.value);
            if (number)
                field = *number;
            else
                reason = QStringLiteral("Field %1 is outside the 16-bit range.").arg(index);
        }
    });
    if (!reason.isEmpty())
        return {std::nullopt, reason};
    return {std::move(record), {}};
}

} // namespace panel
