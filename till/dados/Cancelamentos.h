#pragma once
// The cancellation report as data: one line per cancelled item line and the
// totals by reason, by operator and overall. Quantities are kept in
// thousandths and money in cents, so that totals add up exactly whatever the
// engine hands back (SQLite keeps amounts as binary floating point).
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>

struct TCancelamento {
    QDateTime Momento; // when it was cancelled; invalid when the line has no time
    QString Filial;
    QString Comanda;
    QString DsComanda; // the tab as people know it
    QString Mesa;
    QString Item;
    QString Produto;
    QString NomeProduto;
    qint64 QuantidadeMilesimos = 0;
    qint64 ValorCentavos = 0; // quantity times unit price, less the line's discount
    QString Operador;
    QString Autorizador;
    QString GrupoMotivo;
    QString Motivo;
};

struct TTotalCancelamentos {
    QString Chave; // the reason or the operator, as shown
    int Itens = 0;
    qint64 QuantidadeMilesimos = 0;
    qint64 ValorCentavos = 0;
};

struct TRelatorioCancelamentos {
    QDate De; // null: no lower bound
    QDate Ate; // null: no upper bound
    QList<TCancelamento> Linhas;
    QList<TTotalCancelamentos> PorMotivo; // in order of the key
    QList<TTotalCancelamentos> PorOperador;
    TTotalCancelamentos Geral;
};

// The report of these lines: the totals computed from them.
TRelatorioCancelamentos MontaRelatorio(const QDate& de, const QDate& ate, QList<TCancelamento> linhas);

// Exact amounts from the values the database returns.
qint64 EmMilesimos(double quantidade);
qint64 EmCentavos(double valor);
// Quantity times unit price rounded to the cent (half away from zero), less the discount.
qint64 ValorCancelado(qint64 quantidadeMilesimos, qint64 precoCentavos, qint64 descontoCentavos);

// Texts in a locale: a quantity without trailing zeros ("1", "0,5"), money
// with two decimals, the group separator only when asked for.
QString TextoQuantidade(qint64 milesimos, const QLocale& locale, bool comGrupos = true);
QString TextoValor(qint64 centavos, const QLocale& locale, bool comGrupos = true);
// "de 01/12/2026 a 08/12/2026", "a partir de ...", "até ...", "todo o período".
QString TextoPeriodo(const QDate& de, const QDate& ate, const QLocale& locale);
// The keys of the totals: the reason or operator, or a placeholder when empty.
QString MotivoMostrado(const TCancelamento& c);
QString OperadorMostrado(const TCancelamento& c);
