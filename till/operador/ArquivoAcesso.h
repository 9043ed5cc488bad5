#pragma once
// The till's access file (Dados/Cadastros/Supervisores.cds in the host folder):
// who may authorise which access codes, and their PINs as salted digests.
#include <QList>
#include <QString>

#include "PinSupervisor.h"

struct TUsuarioAcesso {
    QString Codigo;
    QString Nome;
    QString Acessos; // "31,32", or "*" for every access code
    TPinGuardado Pin;

    bool PodeAutorizar(int acesso) const;
};

// "*" or a list of access codes separated by commas.
bool AcessosValidos(const QString& acessos);

class TArquivoAcesso {
public:
    enum class TConferencia { Autorizado, PinErrado, SemPermissao };

    static QString Caminho(); // in the host folder

    // A missing file holds nobody. Raises, naming the file, when it cannot be
    // read or lacks a column.
    static TArquivoAcesso Le(const QString& arquivo = Caminho());
    // Raises, naming the file, when it cannot be written; an old file is
    // replaced only once the new one is whole.
    void Grava() const;

    const QString& Arquivo() const { return m_arquivo; }
    const QList<TUsuarioAcesso>& Usuarios() const { return m_usuarios; }
    const TUsuarioAcesso* Usuario(const QString& codigo) const;

    // A new PIN (salted afresh) for the user, added when new; acessos and nome
    // replace the user's when not empty. Raises on a PIN that is not 4 to 12
    // digits, on bad access codes, and on a new user without access codes.
    void DefinePin(const QString& codigo, const QString& pin, const QString& acessos, const QString& nome);

    // An unknown code answers as a wrong PIN, after as much work, so the
    // screen tells nobody which codes exist.
    TConferencia Confere(const QString& codigo, const QString& pin, int acesso) const;

private:
    QString m_arquivo;
    QList<TUsuarioAcesso> m_usuarios;
};

// till --set-pin CODIGO [--codes N,M | --codes '*'] [--name NOME]: the PIN is
// read from standard input (asked twice, not echoed, on a terminal). 0 done, 1
// refused (the reason on standard error), 2 wrong arguments.
int DefinePinSupervisor(const QStringList& args);
