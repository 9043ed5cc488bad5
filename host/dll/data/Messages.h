#pragma once
// Message table: lines of "key|text"; texts are looked up by key.
#include <QString>
#include <QStringList>

#include "dll_export.h"

class DLL_EXPORT TMessages {
public:
    TMessages() = default;
    explicit TMessages(QStringList lines) : Messages(std::move(lines)) {}

    QStringList Messages;

    // The text after the bar of the first line whose key matches exactly; empty
    // when no line has that key.
    QString Msg(const QString& key) const;
};
