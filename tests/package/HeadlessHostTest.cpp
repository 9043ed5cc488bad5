// Hosts with no screen to ask on. A plain C host on a machine without any
// display, with a database that opens: the order would need a window nobody can
// see or answer, so both calls must come back with a clear text instead of
// waiting for ever. A Qt host without widgets: questions nobody sees are a "no".
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(HeadlessHostTest, WithoutAnyDisplayTheCallSaysSoInsteadOfWaitingOnAnInvisibleWindow)
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

    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("KVP_DATABASE"), banco);
    host.setProcessEnvironment(env);
    host.setWorkingDirectory(pasta.path());
    host.start(bin + QStringLiteral("/c_host"), {bin});
    const bool terminou = host.waitForFinished(60000);
    if (!terminou)
        host.kill();
    ASSERT_TRUE(terminou) << "the call waited on a window nobody can see";

    const QString out = QString::fromUtf8(host.readAllStandardOutput());
    EXPECT_EQ(host.exitCode(), 0) << out.toStdString();
    EXPECT_EQ(out.count(QStringLiteral("Não há tela para mostrar o cancelamento de produto")), 2) << out.toStdString();
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
    EXPECT_EQ(QString::fromUtf8(host.readAllStandardError()).count(QStringLiteral("Confirma o cancelamento do produto ?")), 4);
}
