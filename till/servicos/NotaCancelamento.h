#pragma once
// The cancellation notice printed on the production printers: the order's
// values and labels as the cancel command passes them, and the rows of one
// printer.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

struct TTiqueteCancelamento {
    QString Endereco; // the printer's address, as the rows carry it
    QList<QVariantList> Linhas; // rows of the ticket packet for that printer
};

// The rows that ask for a ticket (IDIMPCANITEM "S"), one ticket per address in
// the order the addresses first appear. Rows asking for one but naming no
// address go to semEndereco (product names).
QList<TTiqueteCancelamento> SeparaTiquetes(const QVariantList& dados, QStringList& semEndereco);

// The ESC/POS bytes of one ticket, its text in the given code page.
QByteArray CompoeTiquete(const QVariantList& dados, const TTiqueteCancelamento& tiquete, const QString& pagina);

// What a ticket withdraws, for the operator: the order number (the return
// value), the table (empty when none) and "2 x FEIJOADA" per row.
QString DescricaoTiquete(const QVariantList& dados, const TTiqueteCancelamento& tiquete, QString& mesa,
                         QStringList& produtos);
