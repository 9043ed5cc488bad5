#pragma once
// The server-side data module: the package's one database connection and every
// statement of the cancellation screen, as named members. The exported service
// functions (Srv_kvp00917.h) bind, run and hand back results through it.
#include <QDateTime>
#include <QList>
#include <QObject>
#include <functional>
#include <memory>

#include "ado/ADO.h"

class TADOSqlStorage;

class TrdmCancelaProd : public QObject {
    Q_OBJECT
public:
    explicit TrdmCancelaProd(QObject* owner = nullptr);
    ~TrdmCancelaProd() override;

    TADOConnection adcCancelaProd;

    // The moment the writes stamp, the machine's local time. Each write reads
    // it once, so every column one call writes carries the same moment; tests
    // put a fixed clock here.
    std::function<QDateTime()> Agora = [] { return QDateTime::currentDateTime(); };

    // Read queries with a provider (result = data packet).
    TADOQuery adqItComanda{&adcCancelaProd, QStringLiteral("adqItComanda")};
    TDataSetProvider dspItComanda{&adqItComanda, QStringLiteral("dspItComanda")};
    TADOQuery adqItComandaJuncao{&adcCancelaProd, QStringLiteral("adqItComandaJuncao")};
    TDataSetProvider dspItComandaJuncao{&adqItComandaJuncao, QStringLiteral("dspItComandaJuncao")};
    TADOQuery adqOcorCanc{&adcCancelaProd, QStringLiteral("adqOcorCanc")};
    TDataSetProvider dspOcorCanc{&adqOcorCanc, QStringLiteral("dspOcorCanc")};
    TADOQuery adqOcorrTodos{&adcCancelaProd, QStringLiteral("adqOcorrTodos")};
    TDataSetProvider dspOcorCancTodos{&adqOcorrTodos, QStringLiteral("dspOcorCancTodos")};
    TADOQuery adqBuscaPortaProd{&adcCancelaProd, QStringLiteral("adqBuscaPortaProd")};
    TDataSetProvider dspBuscaPortaProd{&adqBuscaPortaProd, QStringLiteral("dspBuscaPortaProd")};
    TADOQuery adqGarcomMesa{&adcCancelaProd, QStringLiteral("adqGarcomMesa")};
    TDataSetProvider dspGarcomMesa{&adqGarcomMesa, QStringLiteral("dspGarcomMesa")};
    TADOQuery adqImprLoja{&adcCancelaProd, QStringLiteral("adqImprLoja")};
    TDataSetProvider dspImprLoja{&adqImprLoja, QStringLiteral("dspImprLoja")};
    TADOQuery adqImprLoja2{&adcCancelaProd, QStringLiteral("adqImprLoja2")};
    TDataSetProvider dspImprLoja2{&adqImprLoja2, QStringLiteral("dspImprLoja2")};
    TADOQuery adqProdutoNormal{&adcCancelaProd, QStringLiteral("adqProdutoNormal")};
    TDataSetProvider dspProdutoNormal{&adqProdutoNormal, QStringLiteral("dspProdutoNormal")};
    TADOQuery adqProdutoFilho{&adcCancelaProd, QStringLiteral("adqProdutoFilho")};
    TDataSetProvider dspProdutoFilho{&adqProdutoFilho, QStringLiteral("dspProdutoFilho")};
    TADOQuery adqProdutosAdicionaisFilhos{&adcCancelaProd, QStringLiteral("adqProdutosAdicionaisFilhos")};
    TDataSetProvider dspProdutosAdicionaisFilhos{&adqProdutosAdicionaisFilhos,
                                                 QStringLiteral("dspProdutosAdicionaisFilhos")};
    TADOQuery adqNomeProdutoPai{&adcCancelaProd, QStringLiteral("adqNomeProdutoPai")};
    TDataSetProvider dspNomeProdutoPai{&adqNomeProdutoPai, QStringLiteral("dspNomeProdutoPai")};
    TADOQuery adqImpBackup{&adcCancelaProd, QStringLiteral("adqImpBackup")};
    TDataSetProvider dspImpBackup{&adqImpBackup, QStringLiteral("dspImpBackup")};

    // Read queries used inside a service.
    TADOQuery adqComandaVen{&adcCancelaProd, QStringLiteral("adqComandaVen")};
    TADOQuery adqPesqAcres{&adcCancelaProd, QStringLiteral("adqPesqAcres")};
    TADOQuery adqBuscaSomaAcrescimo{&adcCancelaProd, QStringLiteral("adqBuscaSomaAcrescimo")};
    TADOQuery adqItem{&adcCancelaProd, QStringLiteral("adqItem")};
    TADOQuery adqItPedidoQrvRel{&adcCancelaProd, QStringLiteral("adqItPedidoQrvRel")};
    TADOQuery adqVerificaStatus{&adcCancelaProd, QStringLiteral("adqVerificaStatus")};
    TADOQuery adqVerificaStatus2{&adcCancelaProd, QStringLiteral("adqVerificaStatus2")};
    TADOQuery adqValidaMesa{&adcCancelaProd, QStringLiteral("adqValidaMesa")};
    TADOQuery adqInfoProdProduz{&adcCancelaProd, QStringLiteral("adqInfoProdProduz")};
    TADOQuery adqImpCancInteg{&adcCancelaProd, QStringLiteral("adqImpCancInteg")};
    TADOQuery adqTotAdiantamento{&adcCancelaProd, QStringLiteral("adqTotAdiantamento")};

    // Write commands.
    TADOCommand acmInsItemCan{&adcCancelaProd, QStringLiteral("acmInsItemCan")};
    TADOCommand acmUpdQuant{&adcCancelaProd, QStringLiteral("acmUpdQuant")};
    TADOCommand acmUpdStatus{&adcCancelaProd, QStringLiteral("acmUpdStatus")};
    TADOCommand acmUpdQtdeItPedidoQrv{&adcCancelaProd, QStringLiteral("acmUpdQtdeItPedidoQrv")};
    TADOCommand acmUpdQtdeItPedidoQrvRel{&adcCancelaProd, QStringLiteral("acmUpdQtdeItPedidoQrvRel")};
    TADOCommand acmUpdSitItPedidoQrv{&adcCancelaProd, QStringLiteral("acmUpdSitItPedidoQrv")};
    TADOCommand acmUpdSitItPedidoQrvRel{&adcCancelaProd, QStringLiteral("acmUpdSitItPedidoQrvRel")};
    TADOCommand acmUpdBeneficio{&adcCancelaProd, QStringLiteral("acmUpdBeneficio")};
    TADOCommand acmUpdQtdeBeneficio{&adcCancelaProd, QStringLiteral("acmUpdQtdeBeneficio")};
    TADOCommand acmUpdComanda{&adcCancelaProd, QStringLiteral("acmUpdComanda")};
    TADOCommand acmUpdPedidos{&adcCancelaProd, QStringLiteral("acmUpdPedidos")};
    TADOCommand AcmUpnAcres{&adcCancelaProd, QStringLiteral("AcmUpnAcres")};

    // Dialect storages: one text per database kind for their statement; the
    // data module gives every statement the text of the database in use once
    // the connection is open (see ApplyDialect).
    TADOSqlStorage* assItComanda = nullptr;
    TADOSqlStorage* assItComandaJuncao = nullptr;
    TADOSqlStorage* assUpdQtdeBeneficio = nullptr;

    // Connection events.
    void adcCancelaProdBeforeConnect(TADOConnection& sender);
    void adcCancelaProdAfterConnect(TADOConnection& sender);
    // Not tied to any event or caller inside the package.
    void MtsDataModuleActivate();
    void MtsDataModuleDeactivate();

    void StartTrans();
    void CommitTrans();
    void RollbackTrans();

    // Every storage of this module (the three above and those added for other
    // statements that need a text per dialect).
    const QList<TADOSqlStorage*>& Storages() const { return m_storages; }
    TADOSqlStorage* AddStorage(TADOStatement* linked, const QString& name);
    void ApplyDialect(TSqlDialect dialect);

private:
    // Statement texts, one file per concern.
    void DefineSqlComandas(); // item lists, table, waiter, balance, reasons
    void DefineSqlCancelamento(); // quantity split and whole cancellation
    void DefineSqlSituacao(); // tab state, surcharge, benefit
    void DefineSqlImpressoras(); // printers and products

    QList<TADOSqlStorage*> m_storages;
};
