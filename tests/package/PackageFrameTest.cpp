// The load and unload frame and the event boundary it sets up: start-up
// sections in table order, the default handler showing a failure in the shared
// message box, silent aborts dropped.
#include <gtest/gtest.h>
#include <memory>

#include "Cli_kvp00917.h"
#include "EventGuard.h"
#include "Exception.h"
#include "FakeHost.h"
#include "Pkg_kvp00917.h"

namespace {

TEST(PackageFrame, UnitTableStartsTheServerUnitBeforeTheClientUnit)
{
    const PackageInfoTable* table = GetPackageInfoTable();
    ASSERT_NE(table, nullptr);
    QStringList names;
    for (int i = 0; i < table->UnitCount; ++i)
        names << QString::fromLatin1(table->Units[i].Name);
    EXPECT_LT(names.indexOf(QStringLiteral("Srv_kvp00917")), names.indexOf(QStringLiteral("Cli_kvp00917")));
    EXPECT_TRUE(names.contains(QStringLiteral("Pkg_kvp00917")));
}

TEST(PackageFrame, InitializeClearsTheCreatedFlagAndInstallsTheMessageBoxHandler)
{
    FakeHost fake;
    Cli_kvp00917::boIdCriado = true;
    Initialize();
    EXPECT_FALSE(Cli_kvp00917::boIdCriado);

    Guarded([] { throw Exception(QStringLiteral("Falha no evento")); });
    Guarded([] { Abort(); });
    Guarded([] { throw std::runtime_error("erro de biblioteca"); });
    const QList<FakeHost::Call> shown = fake.CallsOf(QStringLiteral("Mensagem"));
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[0].Args.value(0).toString(), QStringLiteral("Falha no evento"));
    EXPECT_EQ(shown[0].Args.value(4).toInt(), 3);
    EXPECT_EQ(shown[1].Args.value(0).toString(), QStringLiteral("erro de biblioteca"));

    // Unloaded, the package no longer answers for the toolkit's failures.
    Finalize();
    Guarded([] { throw Exception(QStringLiteral("depois do descarregamento")); });
    EXPECT_EQ(fake.Count(QStringLiteral("Mensagem")), 2);
}

TEST(PackageFrame, AFailingHandlerDoesNotEscapeTheGuard)
{
    SetDefaultExceptionHandler([](const QString&) { throw Exception(QStringLiteral("sem tela")); });
    EXPECT_NO_THROW(Guarded([] { throw Exception(QStringLiteral("original")); }));
    SetDefaultExceptionHandler({});
}

} // namespace
