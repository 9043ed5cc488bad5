#include "RdmCancelaProd.h"

#include "ADOSqlStorage.h"
#include "Connection.h"
#include "Srv_kvp00917.h"

namespace Srv_kvp00917 {
TrdmCancelaProd* rdmCancelaProd = nullptr;
}

void ConectaModuloDados()
{
    if (!rdmCancelaProd)
        rdmCancelaProd = new TrdmCancelaProd(nullptr);
    rdmCancelaProd->adcCancelaProd.SetConnected(true);
}

void IniciaTransacao()
{
    if (!rdmCancelaProd)
        throw EDatabaseError(QStringLiteral("Módulo de dados não criado."));
    rdmCancelaProd->StartTrans();
}

void ConfirmaTransacao()
{
    if (rdmCancelaProd)
        rdmCancelaProd->CommitTrans();
}

void DesfazTransacao()
{
    if (rdmCancelaProd)
        rdmCancelaProd->RollbackTrans();
}

TrdmCancelaProd::TrdmCancelaProd(QObject* owner) : QObject(owner)
{
    setObjectName(QStringLiteral("rdmCancelaProd"));
    adcCancelaProd.LoginPrompt = false;
    adcCancelaProd.Provider = QStringLiteral("MSDAORA.1");
    // One session for the host process across calls: a new connection per
    // call cost more than all the statements of an opening together.
    adcCancelaProd.KeepSession = QStringLiteral("adcCancelaProd");
    adcCancelaProd.BeforeConnect = [this](TADOConnection& sender) { adcCancelaProdBeforeConnect(sender); };
    adcCancelaProd.AfterConnect = [this](TADOConnection& sender) { adcCancelaProdAfterConnect(sender); };

    DefineSqlComandas();
    DefineSqlCancelamento();
    DefineSqlSituacao();
    DefineSqlImpressoras();
}

TrdmCancelaProd::~TrdmCancelaProd()
{
    qDeleteAll(m_storages);
    m_storages.clear();
}

TADOSqlStorage* TrdmCancelaProd::AddStorage(TADOStatement* linked, const QString& name)
{
    auto* storage = new TADOSqlStorage(linked, name);
    m_storages.append(storage);
    return storage;
}

void TrdmCancelaProd::ApplyDialect(TSqlDialect dialect)
{
    for (TADOSqlStorage* storage : std::as_const(m_storages))
        storage->Apply(dialect);
}

void TrdmCancelaProd::adcCancelaProdBeforeConnect(TADOConnection& sender)
{
    sender.ConnectionString = _GetStringConexQrv(QString());
}

void TrdmCancelaProd::adcCancelaProdAfterConnect(TADOConnection& sender)
{
    // Raises, before any statement, on a database of another schema version.
    PreparaSessao(sender);
    // Every statement must carry the text of this database before the first one runs.
    ApplyDialect(sender.Dialect());
}

void TrdmCancelaProd::MtsDataModuleActivate()
{
    TryConnect(adcCancelaProd);
}

void TrdmCancelaProd::MtsDataModuleDeactivate()
{
    adcCancelaProd.Close();
}

void TrdmCancelaProd::StartTrans()
{
    if (!adcCancelaProd.InTransaction())
        adcCancelaProd.BeginTrans();
}

void TrdmCancelaProd::CommitTrans()
{
    if (adcCancelaProd.InTransaction())
        adcCancelaProd.CommitTrans();
}

void TrdmCancelaProd::RollbackTrans()
{
    if (adcCancelaProd.InTransaction())
        adcCancelaProd.RollbackTrans();
}
