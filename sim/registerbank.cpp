#include "registerbank.h"

#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace {

struct FactoryValue
{
    int address;
    quint8 value;
    const char *meaning;
};

// Button codes are 10 * module + channel; 159 is BL/MR and 160 is "not used".
constexpr FactoryValue kFactory[] = {
    { 0, 0, "SW1: module 0, channel 0" },
    { 1, 1, "SW2: module 0, channel 1" },
    { 2, 10, "SW3: module 1, channel 0" },
    { 3, 11, "SW4: module 1, channel 1" },
    { 4, 159, "SW5: BL/MR" },
    { 5, 160, "SW6: not used" },
    { 6, 159, "backlight (BL)" },
    { 7, 1, "independent lighting on" },
    { 8, 10, "indicator intensity code" },
    { 9, 5, "backlight intensity code" },
    { RegisterBank::IdentityAddress, RegisterBank::FactoryIdentity, "identity" },
};

} // namespace

RegisterBank::RegisterBank()
{
    for (const FactoryValue &entry : kFactory)
        m_values[entry.address] = entry.value;
}

quint8 RegisterBank::value(int address) const
{
    return isValidAddress(address) ? m_values[address] : 0;
}

void RegisterBank::setValue(int address, quint8 value)
{
    if (isValidAddress(address))
        m_values[address] = value;
}

// One "address value" pair per line; '#' starts a comment line.
bool RegisterBank::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }

    std::array<quint8, Count> loaded = m_values;
    int lineNumber = 0;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        bool addressOk = false;
        bool valueOk = false;
        const int address = fields.value(0).toInt(&addressOk);
        const int value = fields.value(1).toInt(&valueOk);
        if (fields.size() != 2 || !addressOk || !valueOk || !isValidAddress(address)
            || value < 0 || value > 255) {
            *error = QStringLiteral("%1:%2: expected \"address value\"").arg(path).arg(lineNumber);
            return false;
        }
        loaded[address] = quint8(value);
    }
    m_values = loaded;
    return true;
}

bool RegisterBank::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    QTextStream out(&file);
    out << "# panelsim registers: address value\n";
    for (int address = 0; address < Count; ++address)
        out << address << ' ' << m_values[address] << '\n';
    out.flush();
    if (!file.commit()) {
        *error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

QString RegisterBank::factoryDescription()
{
    QString text = QStringLiteral("Factory registers (all others 0):\n");
    for (const FactoryValue &entry : kFactory) {
        text += QStringLiteral("  %1 = %2  %3\n")
                        .arg(entry.address, 2)
                        .arg(entry.value, 3)
                        .arg(QLatin1String(entry.meaning));
    }
    return text;
}
