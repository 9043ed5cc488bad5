#pragma once
// A till folder of its own for each test, the operator's messages captured,
// and a loopback printer the test switches on and off.
#include <QApplication>
#include <QByteArray>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
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

// Acts on the dialog of type D as soon as the next modal loop of this scope
// shows it; the action must close it (a dialog left open fails the test and is
// closed). Never fires once out of scope, so it cannot reach a later test.
template <typename D> class AoAbrir {
public:
    explicit AoAbrir(std::function<void(D&)> acao)
    {
        m_timer.setSingleShot(true);
        QObject::connect(&m_timer, &QTimer::timeout, [this, acao] {
            m_abriu = true;
            auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!d) {
                ADD_FAILURE() << "nenhum diálogo do tipo esperado aberto";
                if (QWidget* outro = QApplication::activeModalWidget())
                    outro->close();
                return;
            }
            acao(*d);
            if (d->isVisible()) {
                ADD_FAILURE() << "o diálogo continuou aberto";
                d->reject();
            }
        });
        m_timer.start(0);
    }
    bool Abriu() const { return m_abriu; }

private:
    QTimer m_timer;
    bool m_abriu = false;
};
