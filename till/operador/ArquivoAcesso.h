#pragma once
// The till's access file (Dados/Cadastros/Supervisores.cds in the host folder):
// who may authorise which access codes, and their PINs as salted digests.
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

#include "PinSupervisor.h"
#include "RelogioCaixa.h"

struct TUsuarioAcesso {
    QString Codigo;
    QString Nome;
    QString Acessos; // "31,32", or "*" for every access code
    TPinGuardado Pin;

    bool PodeAutorizar(int acesso) const;
};

// "*" or a list of access codes separated by commas.
bool AcessosValidos(const QString& acessos);

// A user code as the access file's column holds it: digits, at most its width.
bool CodigoUsuarioValido(const QString& codigo);

// Wrong PINs in a row that lock a code out, and for how long the first time;
// each further wrong PIN once locked doubles it (up to a day). From kvp.ini:
// [Supervisores] FalhasParaBloqueio= and MinutosDeBloqueio=; a value missing
// or not a positive number keeps the default.
struct TRegrasBloqueio {
    int Falhas = 5;
    int Minutos = 5;
};
TRegrasBloqueio LeRegrasBloqueio();

class TArquivoAcesso {
public:
    enum class TConferencia { Autorizado, PinErrado, SemPermissao, Bloqueado };

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
    // screen tells nobody which codes exist. Wrong PINs in a row are counted
    // per code in a file of the till's own next to this one (kept across
    // dialogs and restarts, shared by tills sharing the folder); a code locked
    // out answers Bloqueado without its PIN being looked at, and a right PIN
    // clears its count.
    TConferencia Confere(const QString& codigo, const QString& pin, int acesso,
                         const QDateTime& agora = AgoraCaixa().toUTC()) const;
    // How long the code is still locked out; 0 when it is not.
    qint64 SegundosBloqueado(const QString& codigo, const QDateTime& agora = AgoraCaixa().toUTC()) const;
    QString ArquivoTentativas() const;

    TRegrasBloqueio Regras;
    // Told when a wrong PIN locks a code out: the code, the wrong PINs in a
    // row and the seconds of the lock-out.
    std::function<void(const QString& codigo, int falhas, qint64 segundos)> AoBloquear;

private:
    QString m_arquivo;
    QList<TUsuarioAcesso> m_usuarios;
};

// till --set-pin CODIGO [--codes N,M | --codes '*'] [--name NOME]: the PIN is
// read from standard input (asked twice, not echoed, on a terminal). 0 done;
// 2 refused input (a code that is not digits within the column's width, a PIN
// that is not 4 to 12 digits, bad access codes, a name too long, an option
// given twice), with the reason on standard error and nothing written; 1 the
// file could not be read or written.
int DefinePinSupervisor(const QStringList& args);
