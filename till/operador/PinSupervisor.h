#pragma once
// A PIN as the access file keeps it: never in clear, but as a PBKDF2-HMAC-SHA256
// digest with a random salt of its own, so that two users with the same PIN
// keep different digests and a stolen file gives no PIN away at a glance.
#include <QByteArray>
#include <QString>

struct TPinGuardado {
    QByteArray Sal;
    QByteArray Hash;
    int Iteracoes = 0;
};

// Iterations for a new PIN: a guess costs a fraction of a second on a till.
inline constexpr int kIteracoesPin = 100000;

// 4 to 12 digits.
bool PinValido(const QString& pin);

// A fresh salt from the system's random source, then the digest.
TPinGuardado GuardaPin(const QString& pin, int iteracoes = kIteracoesPin);

// The PIN against the kept digest, in a time that does not depend on where
// they first differ. A digest that is not whole (empty salt, no iterations)
// never matches.
bool ConferePin(const QString& pin, const TPinGuardado& guardado);
