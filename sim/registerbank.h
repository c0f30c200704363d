#pragma once

#include <QString>
#include <array>

// The panel's 64 one-byte registers, with the factory configuration and an optional
// state file that keeps them across restarts.
class RegisterBank
{
public:
    static constexpr int Count = 64;
    static constexpr int IdentityAddress = 63;
    static constexpr quint8 FactoryIdentity = 73;

    RegisterBank();

    static bool isValidAddress(int address) { return address >= 0 && address < Count; }

    quint8 value(int address) const;
    void setValue(int address, quint8 value);

    // A missing file is not an error: the factory values stay in place.
    bool load(const QString &path, QString *error);
    bool save(const QString &path, QString *error) const;

    static QString factoryDescription();

private:
    std::array<quint8, Count> m_values {};
};
