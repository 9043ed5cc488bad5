// Hosts with no screen to ask on. A plain C host on a machine without any
// display, with a database that opens: every call comes back instead of waiting
// on a window nobody can see, and the host can tell how it ended
// (CancelaProdutoFim) even where the error text is empty. A Qt host without
// widgets: questions nobody sees are a "no".
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "PackageTestSupport.h"
#include "Schema.h"
#include "kvp00917.h"

TEST(HeadlessHostTest, WithoutAnyDisplayEveryCallEndsAndSaysHow)
{
    const QString bin = qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
    ASSERT_TRUE(QFileInfo(bin + QStringLiteral("/c_host")).isExecutable()) << bin.toStdString();
    ASSERT_TRUE(QFileInfo(bin + QStringLiteral("/kvp-dbinit")).isExecutable()) << bin.toStdString();

    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString banco = pasta.filePath(QStringLiteral("kvp.db"));
    QProcess dbinit;
    dbinit.start(bin + QStringLiteral("/kvp-dbinit"), {banco});
    ASSERT_TRUE(dbinit.waitForFinished(60000));
    ASSERT_EQ(dbinit.exitCode(), 0) << dbinit.readAllStandardError().toStdString();
    // A database of this schema version without any sales table: the session
    // opens, the item list cannot be loaded.
    const QString vazio = pasta.filePath(QStringLiteral("vazio.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("vazio"));
        db.setDatabaseName(vazio);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec(KvpSchema::CreateVersionTableStatement(TSqlDialect::SQLite)));
        ASSERT_TRUE(q.exec(KvpSchema::RecordVersionStatement(kVersaoEsquema)));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("vazio"));

    const struct {
        const char* nome;
        QString banco;
        QStringList chamada;
        int fim;
        QString texto; // part of the error text (FALHOU) or of the message (MENSAGEM)
    } casos[] = {
        {"window needed",
         banco,
         {},
         CANCELAPRODUTO_FALHOU,
         QStringLiteral("Não há tela para mostrar o cancelamento de produto")},
        {"item list not loaded", vazio, {}, CANCELAPRODUTO_MENSAGEM, QStringLiteral("no such table")},
        // An order without items: the cancel-all completes without a text.
        {"cancel-all delivery",
         banco,
         {QStringLiteral("9001"), QStringLiteral("DLV_9001"), QStringLiteral("DLV_T"), QStringLiteral("T")},
         CANCELAPRODUTO_CONCLUIDO,
         QStringLiteral("sem erro")},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        const CHostRun host = RodaCHost(bin, pasta.path(), caso.banco, caso.chamada, 60000);
        ASSERT_TRUE(host.Terminou) << "the call waited on a window nobody can see";

        // Both calls ended alike, each with reports that agree (c_host checks).
        const QString& out = host.Saida;
        const QString& err = host.Erros;
        EXPECT_EQ(host.Codigo, 0) << out.toStdString() << err.toStdString();
        const QString relato = caso.fim == CANCELAPRODUTO_FALHOU ? QStringLiteral("erro: ")
            : caso.fim == CANCELAPRODUTO_MENSAGEM                ? QStringLiteral("mensagem: ")
                                                                 : QStringLiteral("sem erro");
        for (int chamada = 1; chamada <= 2; ++chamada) {
            EXPECT_TRUE(out.contains(
                QStringLiteral("chamada %1: fim %2\nchamada %1: %3").arg(chamada).arg(caso.fim).arg(relato)))
                << out.toStdString();
        }
        EXPECT_EQ(out.count(caso.texto), 2) << out.toStdString();
        // The message that ended a call is the one the operator was shown.
        if (caso.fim == CANCELAPRODUTO_MENSAGEM) {
            const QString mensagem = out.section(QStringLiteral("chamada 1: mensagem: "), 1)
                                         .section(QStringLiteral("\nchamada 2: fim"), 0, 0);
            EXPECT_EQ(err.count(mensagem), 2) << err.toStdString();
        }
    }
}

TEST(HeadlessHostTest, QuestionsNobodyCanSeeAreANoAndNoticesGoToStandardError)
{
    // The test programs own a QApplication: the host without widgets runs apart.
    const QString bin = qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
    const QString program = bin + QStringLiteral("/headless_question");
    ASSERT_TRUE(QFileInfo(program).isExecutable()) << program.toStdString();

    QProcess host;
    host.start(program);
    ASSERT_TRUE(host.waitForFinished(60000));
    EXPECT_EQ(host.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(host.readAllStandardOutput()),
              QStringLiteral("pergunta: não\npergunta de aviso: não\npergunta pelo tipo: não\naviso: sim\n"));
    EXPECT_EQ(
        QString::fromUtf8(host.readAllStandardError()).count(QStringLiteral("Confirma o cancelamento do produto ?")),
        4);
}
