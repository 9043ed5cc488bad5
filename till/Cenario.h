#pragma once
// A scenario: one call of the package with the operator's answers and actions,
// as `till --scenario` plays it. The file is JSON in UTF-8:
//   {"call": {"nrComanda", "dsComanda", "modo", "nrMesa"},
//    "database": SETTING, "outputs": "scripted" | "till", "parameters": {FIELD: VALUE}, "operator": {FIELD: VALUE},
//    "answers": {"VerificaAcesso": [...], "Observacao": [...], "TecladoNumerico": [...], "Mensagem": [...]},
//    "actions": [{"mark": {"comanda", "item"}}, {"select": ...}, {"key": NAME}, {"titleClick": FIELD},
//                {"click": BUTTON}]}
// README.md ("Scripted runs") describes each key. Integrators and CI keep
// such files: a change here must keep every file that was valid valid.
#include <QList>
#include <QString>
#include <QStringList>
#include <Qt>

#include "ArquivosDemo.h"
#include "Exception.h"
#include "ScriptedHost.h"

struct TAcaoCenario {
    enum class TTipo { Marcar, Selecionar, Tecla, Titulo, Botao };
    TTipo Tipo = TTipo::Tecla;
    QString Lugar; // where it stands in the file, "actions[2]"
    QString Comanda; // Marcar and Selecionar: the row, as the list holds it
    QString Item;
    QString Nome; // the key, the field or the button
};

struct TCenario {
    QString NrComanda;
    QString DsComanda;
    QString Modo;
    QString NrMesa;
    QString Banco; // empty: the till's usual setting
    // Logs, tickets and customer display through the till's own services (in
    // the till's folder, to its printers) instead of only being recorded.
    bool SaidasDoCaixa = false;
    TArquivoTerminal Parametros; // the demo files' columns, the scenario's values over them
    TArquivoTerminal Operador;
    QList<ScriptedHost::Acesso> Acessos;
    QList<ScriptedHost::Motivo> Motivos;
    QList<ScriptedHost::Teclado> Teclados;
    QList<bool> Mensagens;
    QList<TAcaoCenario> Acoes;
};

// A mistake in a scenario file; the text names the file and the place in it
// ("cenario.json: actions[2].click: ...").
class ECenario : public Exception {
public:
    using Exception::Exception;
};

// Reads and checks the whole file before anything runs; raises ECenario at
// the first mistake.
TCenario LeCenario(const QString& fileName);

// A key a "key" action may name, and the key event that plays it.
struct TTeclaCenario {
    const char* Nome;
    Qt::Key Codigo;
    Qt::KeyboardModifiers Modificadores;
    const char* Texto; // the event's text
};

// The keys and buttons a scenario file may name: part of the file's format,
// so a file that reads here is one the window can play.
QStringList TeclasCenario();
QStringList BotoesCenario();
// The key of that name; null when a file may not name it.
const TTeclaCenario* TeclaCenario(const QString& nome);
