#pragma once
// A till folder of its own for each test, the operator's messages captured,
// and a loopback printer the test switches on and off.
#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class SaidasTillTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void EscrevePerifericos(const QString& texto);

    QTemporaryDir pasta;
    QStringList mensagens;
};

// A TCP socket bound on 127.0.0.1: refuses connections until Escuta().
class ImpressoraLoopback {
public:
    ImpressoraLoopback();
    ~ImpressoraLoopback();
    QString Endereco() const;
    void Escuta();
    // The bytes of the next connection (up to its end); empty after 10 s.
    QByteArray Recebe();

private:
    int m_fd = -1;
    quint16 m_porta = 0;
};
