// The cancel-all delivery call through the C entry on the demo database: the
// host has no window to look at, so the error text is its only report.
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Cli_kvp00917.h"
#include "FakeHost.h"
#include "HostServices.h"
#include "PackageTestSupport.h"
#include "Pkg_kvp00917.h"

TEST(CancelAllDemoTest, TheCEntryReportsSuccessOnlyWhenEveryItemOfTheOrderWasCancelled)
{
    const QString bin = qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString banco = pasta.filePath(QStringLiteral("demo.db"));
    QProcess dbinit;
    dbinit.start(bin + QStringLiteral("/kvp-dbinit"), {banco, QStringLiteral("--demo")});
    ASSERT_TRUE(dbinit.waitForFinished(60000));
    ASSERT_EQ(dbinit.exitCode(), 0) << dbinit.readAllStandardError().toStdString();

    const QByteArray antes = qgetenv("KVP_DATABASE");
    qputenv("KVP_DATABASE", banco.toUtf8());
    SetHostFolderOverride(pasta.path());
    GravaParametros(pasta.path(), {});
    GravaOperador(pasta.path());
    FakeHost fake;
    Initialize();

    // Order 9001: 000001 cancelled whole, then the keypad for the two cans is closed.
    fake.TecladoRespostas = {{false, {}}};
    ::CancelaProduto("9001", "DLV_9001", "DLV_T", "T");
    const QString primeira = QString::fromUtf8(CancelaProdutoErro());
    fake.TecladoRespostas = {{true, QStringLiteral("2")}};
    ::CancelaProduto("9001", "DLV_9001", "DLV_T", "T");
    const QString segunda = QString::fromUtf8(CancelaProdutoErro());

    Finalize();
    SetHostFolderOverride(QString());
    qputenv("KVP_DATABASE", antes);

    EXPECT_EQ(primeira,
              QStringLiteral("Nem todos os itens do pedido foram cancelados. Não cancelados: "
                             "000002 Guaraná lata; 000003 Pudim de leite condensado."));
    EXPECT_EQ(segunda, QString());
    // Each run told the kitchen and the bar of what it cancelled.
    EXPECT_EQ(fake.Count(QStringLiteral("DisparaImprimeCancProduto")), 4);
    EXPECT_EQ(fake.Count(QStringLiteral("Mensagem")), 0);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("demoCheck"));
        db.setDatabaseName(banco);
        ASSERT_TRUE(db.open());
        QSqlQuery q(QStringLiteral(
                        "SELECT COUNT(*) FROM ITCOMANDAVEN WHERE NRCOMANDA = '9001' AND IDSTPRCOMVEN <> '6'"),
                    db);
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("demoCheck"));
}
