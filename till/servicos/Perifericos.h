#pragma once
// The till's peripherals file (perifericos.ini in the host folder): each
// production printer's name, backup and code page, the customer display's device,
// and how long a printer may take to answer.
#include <QHash>
#include <QString>
#include <QStringList>

struct TImpressoraConf {
    QString Nome; // what the operator calls it ("Cozinha", "Bar"); empty: its address
    QString Reserva; // backup address; empty: none
    QString Pagina = QStringLiteral("IBM860"); // code page of the printed text
};

struct TPerifericos {
    QHash<QString, TImpressoraConf> Impressoras; // by the address the ticket rows carry
    QString DisplayDispositivo; // empty: no pole display fitted
    QString DisplayPagina = QStringLiteral("IBM860");
    int EsperaMs = 3000; // a printer's time to answer
    QStringList Problemas; // lines the till could not read

    TImpressoraConf Impressora(const QString& endereco) const { return Impressoras.value(endereco); }
    // The printer's name for the operator, else its address.
    QString NomeImpressora(const QString& endereco) const
    {
        const QString nome = Impressoras.value(endereco).Nome;
        return nome.isEmpty() ? endereco : nome;
    }
};

QString ArquivoPerifericos();
// A missing file is no error: no backups, the default code page, no display.
TPerifericos LePerifericos();
TPerifericos LePerifericos(const QString& arquivo);
