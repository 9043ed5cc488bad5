#pragma once
// A procedure variable of a host package: the host (or a test fake) assigns a
// plain function; calling one that nobody assigned raises an error naming it,
// instead of jumping through a null pointer.
#include <QString>

#include "Exception.h"

template <typename Signature> class HostProc;

template <typename R, typename... Args> class HostProc<R(Args...)> {
public:
    using Fn = R (*)(Args...);

    explicit constexpr HostProc(const char* name) : m_name(name) {}

    HostProc& operator=(Fn fn)
    {
        m_fn = fn;
        return *this;
    }
    explicit operator bool() const { return m_fn != nullptr; }
    Fn get() const { return m_fn; }
    const char* name() const { return m_name; }

    R operator()(Args... args) const
    {
        if (!m_fn)
            throw Exception(QStringLiteral("Serviço do host não disponível: %1").arg(QLatin1String(m_name)));
        return m_fn(std::forward<Args>(args)...);
    }

private:
    const char* m_name;
    Fn m_fn = nullptr;
};
