#pragma once
// The cancellation reasons the till offers for a product: the ones linked to
// it in the database, else the store's whole list, as the cancellation module
// reads them; read on a connection of the till's own (the module's data
// module is not the till's to use).
#include <QList>
#include <QString>

struct TMotivo {
    QString Grupo;
    QString Codigo;
    QString Texto;
};

// Raises, with an operator-readable text, when the database cannot be read.
QList<TMotivo> MotivosDoBanco(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto);

// MotivosCancelamento.txt in the host folder, "group|text" a line: the
// stand-in for a database that has no reasons at all. Empty without the file.
QList<TMotivo> MotivosDoArquivo();
QString ArquivoMotivos();
