#pragma once
// A till folder of its own for each test, the operator's messages captured
// (questions answered yes), and a loopback printer the test switches on and off.
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

#include "HostServices.h"
#include "ImpressaoCancelamento.h"
#include "Mensagem.h"
#include "RelogioCaixa.h"

// Over any test fixture: ComPastaTill<::testing::Test>, ComPastaTill<DbEngineTest>.
template <typename Base> class ComPastaTill : public Base {
protected:
    void SetUp() override
    {
        Base::SetUp();
        if (::testing::Test::IsSkipped() || ::testing::Test::HasFatalFailure())
            return;
        ASSERT_TRUE(pasta.isValid());
        SetHostFolderOverride(pasta.path());
        SetMensagemHandler([this](const MensagemArgs& a) {
            mensagens << a.Texto;
            return true;
        });
    }
    void TearDown() override
    {
        // The till's sender works in this test's folder: it stops with it.
        EncerraEnvioTiquetes();
        SetMensagemHandler({});
        SetHostFolderOverride(QString());
        Base::TearDown();
    }
    void EscrevePerifericos(const QString& texto) { Escreve(QStringLiteral("perifericos.ini"), texto); }
    void Escreve(const QString& arquivo, const QString& texto)
    {
        QFile f(pasta.filePath(arquivo));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(texto.toUtf8());
    }

    QTemporaryDir pasta;
    QStringList mensagens;
};
using SaidasTillTest = ComPastaTill<::testing::Test>;

// The till's clock stopped at a moment while in scope, the machine's again after.
class RelogioParado {
public:
    explicit RelogioParado(const QDateTime& momento) { Para(momento); }
    ~RelogioParado() { DefineRelogioCaixa({}); }
    RelogioParado(const RelogioParado&) = delete;
    RelogioParado& operator=(const RelogioParado&) = delete;
    void Para(const QDateTime& momento)
    {
        DefineRelogioCaixa([momento] { return momento; });
    }
};

// A TCP socket bound on 127.0.0.1 (a free port, or the one given): refuses
// connections until Escuta().
class ImpressoraLoopback {
public:
    explicit ImpressoraLoopback(quint16 porta = 0);
    ~ImpressoraLoopback();
    QString Endereco() const;
    quint16 Porta() const { return m_porta; }
    void Escuta();
    // The bytes of the next connection (up to its end); empty when none came
    // within ms.
    QByteArray Recebe(int ms = 10000);

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
