#include "headless/text_output.h"

#include "file/full_write.h"

namespace panel {

TextOutput::TextOutput(int fd, const std::atomic<bool> *stop)
    : m_fd(fd)
    , m_stop(stop)
{
}

QByteArray TextOutput::encodedLine(const QString &line)
{
    return (line + QLatin1Char('\n')).toLocal8Bit();
}

bool TextOutput::writeLine(const QString &line)
{
    if (failed())
        return false;
    m_error = writeWhole(m_fd, encodedLine(line), m_stop);
    return !failed();
}

} // namespace panel
