#include "file/journal_reader.h"

#include <QByteArray>
#include <QJsonDocument>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace panel {

namespace {

constexpr qint64 kBlock = qint64(64) * 1024;
// A journal line is well under a few kilobytes; anything this long is no line of its own.
constexpr qsizetype kLongestLine = qsizetype(1024) * 1024;

// The bytes from offset to offset + size, or an empty array (with errno) when they cannot be read.
QByteArray readBlock(int fd, qint64 offset, qint64 size)
{
    QByteArray block(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, block.data() + got, size_t(size - got), off_t(offset + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO; // the file got shorter while it was read
            return QByteArray();
        }
        got += n;
    }
    return block;
}

class LineTaker
{
public:
    LineTaker(const std::function<bool(const QJsonObject &)> &take, const JournalLineFilter &wanted)
        : m_take(take)
        , m_wanted(wanted)
    {
    }

    // One whole line; false once no more are wanted.
    bool line(const QByteArray &bytes, bool tooLong)
    {
        if (tooLong) {
            ++unreadable;
            return true;
        }
        if (bytes.trimmed().isEmpty() || (m_wanted && !m_wanted(bytes)))
            return true;
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            ++unreadable;
            return true;
        }
        return m_take(document.object());
    }

    int unreadable = 0;

private:
    const std::function<bool(const QJsonObject &)> &m_take;
    const JournalLineFilter &m_wanted;
};

} // namespace

JournalRead readNewestFirst(int fd, const std::function<bool(const QJsonObject &)> &take,
                            const JournalLineFilter &worthParsing)
{
    JournalRead read;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        read.error = QString::fromLocal8Bit(std::strerror(errno));
        return read;
    }
    LineTaker taker(take, worthParsing);
    QByteArray partial; // the end of a line whose start lies in an earlier block
    bool tooLong = false;
    bool wanted = true;
    for (qint64 offset = status.st_size; offset > 0 && wanted;) {
        const qint64 size = qMin(kBlock, offset);
        offset -= size;
        const QByteArray block = readBlock(fd, offset, size);
        if (block.isEmpty()) {
            read.error = QString::fromLocal8Bit(std::strerror(errno));
            read.unreadable = taker.unreadable;
            return read;
        }
        // What follows the last line feed of the file is a line too: one cut short, most likely.
        qsizetype end = block.size();
        for (qsizetype feed = block.lastIndexOf('\n'); feed >= 0 && wanted; feed = feed > 0 ? block.lastIndexOf('\n', feed - 1) : -1) {
            wanted = taker.line(block.mid(feed + 1, end - feed - 1) + partial, tooLong);
            partial.clear();
            tooLong = false;
            end = feed;
        }
        if (!tooLong) {
            partial.prepend(block.left(end));
            if (partial.size() > kLongestLine) {
                tooLong = true;
                partial.clear();
            }
        }
    }
    if (wanted)
        taker.line(partial, tooLong); // the file's first line
    read.unreadable = taker.unreadable;
    return read;
}

} // namespace panel
