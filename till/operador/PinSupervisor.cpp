#include "PinSupervisor.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QRegularExpression>

namespace {

constexpr int kTamanhoSal = 16;
constexpr int kTamanhoHash = 32;

QByteArray Deriva(const QString& pin, const QByteArray& sal, int iteracoes)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, pin.toUtf8(), sal, iteracoes, kTamanhoHash);
}

bool IguaisEmTempoConstante(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char diferenca = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diferenca |= static_cast<unsigned char>(a.at(i) ^ b.at(i));
    return diferenca == 0;
}

} // namespace

bool PinValido(const QString& pin)
{
    static const QRegularExpression forma(QStringLiteral("^\\d{4,12}$"));
    return forma.match(pin).hasMatch();
}

TPinGuardado GuardaPin(const QString& pin, int iteracoes)
{
    TPinGuardado g;
    quint32 sal[kTamanhoSal / sizeof(quint32)];
    QRandomGenerator::system()->fillRange(sal);
    g.Sal = QByteArray(reinterpret_cast<const char*>(sal), kTamanhoSal);
    g.Iteracoes = iteracoes;
    g.Hash = Deriva(pin, g.Sal, iteracoes);
    return g;
}

bool ConferePin(const QString& pin, const TPinGuardado& guardado)
{
    if (guardado.Sal.isEmpty() || guardado.Iteracoes <= 0 || guardado.Hash.size() != kTamanhoHash)
        return false;
    return IguaisEmTempoConstante(Deriva(pin, guardado.Sal, guardado.Iteracoes), guardado.Hash);
}
