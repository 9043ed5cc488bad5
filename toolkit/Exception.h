#pragma once
// The exception family the whole module raises and catches. Client code raises,
// server functions turn every exception into a failure text, and the event guard
// of the window swallows EAbort silently.
#include <QString>
#include <exception>

#include "toolkit_export.h"

class TOOLKIT_EXPORT Exception : public std::exception {
public:
    explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& Message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }
    virtual ~Exception();

private:
    QString m_message;
    QByteArray m_utf8;
};

// Silent abort: unwinds an action after its message was already shown.
class TOOLKIT_EXPORT EAbort : public Exception {
public:
    EAbort() : Exception(QStringLiteral("Operation aborted")) {}
};

class TOOLKIT_EXPORT EDatabaseError : public Exception {
public:
    using Exception::Exception;
};

class TOOLKIT_EXPORT EConvertError : public Exception {
public:
    using Exception::Exception;
};

[[noreturn]] TOOLKIT_EXPORT void Abort();
