#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The root key under which the About box looks for the system-information program.
inline constexpr quint32 HKEY_LOCAL_MACHINE = 0x80000002;

// The few registry values the About box reads, as text; nothing is ever written.
class Registry {
public:
    virtual ~Registry() = default;
    virtual std::optional<QString> value(quint32 root, const QString& keyName,
                                         const QString& valueName) const = 0;
};

// This system's answers: the MSINFO "PATH" value is the first system-information program found
// on the search path; no other value exists.
class SystemInfoRegistry : public Registry {
public:
    // The programs looked for, in this order.
    static const QStringList kPrograms;

    // `searchPath` empty: the directories of $PATH.
    explicit SystemInfoRegistry(QStringList searchPath = {}) : searchPath(std::move(searchPath)) {}
    std::optional<QString> value(quint32 root, const QString& keyName,
                                 const QString& valueName) const override;

private:
    QStringList searchPath;
};
