#pragma once
// The terminal files a till keeps in its folder: the parameters file and the
// operator file, each a dataset file of the toolkit with one row; and the
// values of a demonstration till.
#include <QList>
#include <QString>
#include <QVariant>

#include "DataPacket.h"

// One column of a terminal file and its value in the file's row.
struct TColunaTerminal {
    TFieldDef Def;
    QVariant Valor;
};
using TArquivoTerminal = QList<TColunaTerminal>;

extern const QString kArquivoParametros; // PARAMETROSQRV.CDS, relative to the till's folder
extern const QString kArquivoOperador; // Dados/Cadastros/ControleAcess.cds

TArquivoTerminal ParametrosDemo();
TArquivoTerminal OperadorDemo();

// Writes the file (and its folders), replacing one already there. Raises on a
// write failure.
void GravaArquivoTerminal(const QString& fileName, const TArquivoTerminal& colunas);

// Writes the demonstration files into folder, printing each path; an existing
// file is kept unless overwrite.
void GravaArquivosDemo(const QString& folder, bool overwrite);
