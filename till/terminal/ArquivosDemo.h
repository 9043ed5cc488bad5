#pragma once
// The terminal files a till keeps in its folder: the parameters file and the
// operator file, each a dataset file of the toolkit with one row, and the
// access file (one row per user who may authorise); and the values of a
// demonstration till.
#include <QList>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include "DataPacket.h"

// One column of a terminal file and its value in the file's row.
struct TColunaTerminal {
    TFieldDef Def;
    QVariant Valor;
};
using TArquivoTerminal = QList<TColunaTerminal>;

extern const QString kArquivoParametros; // PARAMETROSQRV.CDS, relative to the till's folder
extern const QString kArquivoOperador; // Dados/Cadastros/ControleAcess.cds
extern const QString kArquivoAcesso; // Dados/Cadastros/Supervisores.cds

// The access file's columns: the user's code and name, the access codes the
// user may authorise ("31,32", or "*" for every one), and the PIN as a salted
// PBKDF2-HMAC-SHA256 digest (salt and digest in base64, with its iteration count).
QList<TFieldDef> CamposAcesso();

TArquivoTerminal ParametrosDemo();
TArquivoTerminal OperadorDemo();
// The demo supervisor of the access file (code 0099, PIN 1234, every access code).
QVariantList SupervisorDemo();

// Writes the file (and its folders), replacing one already there. Raises on a
// write failure.
void GravaArquivoTerminal(const QString& fileName, const TArquivoTerminal& colunas);

// Writes the access file as only the till's user may read it (0600, in a
// folder of mode 0700), whatever the umask: the PIN digests in it fall to a
// search of every short PIN once read. Replaced only once whole; raises on a
// write failure.
void GravaArquivoAcesso(const QString& fileName, const QList<QVariantList>& usuarios);

// Field name to value of the file's first row (none when it has no row).
// Raises, naming the file, when it cannot be read.
QVariantMap LeArquivoTerminal(const QString& fileName);

// Writes the demonstration files into folder, printing each path; an existing
// file is kept unless overwrite.
void GravaArquivosDemo(const QString& folder, bool overwrite);
