#include "Cenario.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

const TTeclaCenario kTeclas[] = {
    {"Space", Qt::Key_Space, Qt::NoModifier, " "}, {"Escape", Qt::Key_Escape, Qt::NoModifier, "\x1b"},
    {"F1", Qt::Key_F1, Qt::NoModifier, ""},        {"Ctrl+Delete", Qt::Key_Delete, Qt::ControlModifier, ""},
    {"Up", Qt::Key_Up, Qt::NoModifier, ""},        {"Down", Qt::Key_Down, Qt::NoModifier, ""},
};

// The cancellation window's buttons, by their object names.
const char* const kBotoes[] = {"sbtCancelar",  "sbtProdCanc", "sbtSair",      "BlendedBitBtn1",
                               "sbtRolarCima", "sbtUltimo",   "sbtRolarBaixo"};

QString Lugar(const QString& pai, const QString& chave)
{
    return pai.isEmpty() ? chave : pai + QLatin1Char('.') + chave;
}

QString Lugar(const QString& pai, qsizetype indice)
{
    return QStringLiteral("%1[%2]").arg(pai).arg(indice);
}

QString Lista(const QStringList& nomes)
{
    return nomes.join(QStringLiteral(", "));
}

// Walks the file's JSON, raising at the first mistake with its place.
class Leitor {
public:
    explicit Leitor(QString arquivo) : m_arquivo(std::move(arquivo)) {}

    [[noreturn]] void Erro(const QString& lugar, const QString& texto) const
    {
        throw ECenario(lugar.isEmpty() ? QStringLiteral("%1: %2").arg(m_arquivo, texto)
                                       : QStringLiteral("%1: %2: %3").arg(m_arquivo, lugar, texto));
    }

    // An object whose keys are all among `chaves`, and that has every one of `obrigatorias`.
    QJsonObject Objeto(const QJsonValue& v, const QString& lugar, const QStringList& chaves,
                       const QStringList& obrigatorias = {}) const
    {
        if (!v.isObject())
            Erro(lugar, QStringLiteral("deve ser um objeto"));
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            if (!chaves.contains(it.key()))
                Erro(Lugar(lugar, it.key()), QStringLiteral("chave desconhecida (use %1)").arg(Lista(chaves)));
        }
        for (const QString& chave : obrigatorias) {
            if (!o.contains(chave))
                Erro(lugar, QStringLiteral("falta a chave \"%1\"").arg(chave));
        }
        return o;
    }

    QJsonArray Vetor(const QJsonValue& v, const QString& lugar) const
    {
        if (!v.isArray())
            Erro(lugar, QStringLiteral("deve ser uma lista [...]"));
        return v.toArray();
    }

    QString Texto(const QJsonValue& v, const QString& lugar) const
    {
        if (!v.isString())
            Erro(lugar, QStringLiteral("deve ser um texto entre aspas"));
        return v.toString();
    }

    bool Booleano(const QJsonValue& v, const QString& lugar) const
    {
        if (!v.isBool())
            Erro(lugar, QStringLiteral("deve ser true ou false"));
        return v.toBool();
    }

    // The value of a terminal file's column, by the column's type.
    QVariant ValorColuna(const QJsonValue& v, const QString& lugar, TFieldType tipo) const
    {
        if (v.isNull())
            return QVariant();
        switch (tipo) {
        case TFieldType::ftString: return Texto(v, lugar);
        case TFieldType::ftBoolean: return Booleano(v, lugar);
        case TFieldType::ftInteger:
            if (!v.isDouble() || v.toDouble() != std::trunc(v.toDouble()) || std::abs(v.toDouble()) > 2147483647.0)
                Erro(lugar, QStringLiteral("deve ser um número inteiro"));
            return int(v.toDouble());
        case TFieldType::ftFloat:
            if (!v.isDouble())
                Erro(lugar, QStringLiteral("deve ser um número"));
            return v.toDouble();
        case TFieldType::ftDateTime: {
            const QDateTime dt = QDateTime::fromString(Texto(v, lugar), Qt::ISODate);
            if (!dt.isValid())
                Erro(lugar, QStringLiteral("deve ser uma data e hora como \"2024-05-01T19:30:00\""));
            return dt;
        }
        }
        return QVariant();
    }

    // The scenario's values over a terminal file's columns; a field the file
    // does not have is a mistake, not a new column.
    void Sobrepoe(TArquivoTerminal& arquivo, const QJsonValue& v, const QString& lugar,
                  const QString& nomeArquivo) const
    {
        if (!v.isObject())
            Erro(lugar, QStringLiteral("deve ser um objeto"));
        const QJsonObject o = v.toObject();
        for (auto it = o.begin(); it != o.end(); ++it) {
            const QString lugarCampo = Lugar(lugar, it.key());
            auto coluna = std::find_if(arquivo.begin(), arquivo.end(), [&](const TColunaTerminal& c) {
                return c.Def.Name.compare(it.key(), Qt::CaseInsensitive) == 0;
            });
            if (coluna == arquivo.end())
                Erro(lugarCampo, QStringLiteral("o arquivo %1 não tem este campo").arg(nomeArquivo));
            coluna->Valor = ValorColuna(it.value(), lugarCampo, coluna->Def.DataType);
        }
    }

    void Respostas(TCenario& c, const QJsonValue& v, const QString& lugar) const
    {
        const QJsonObject o = Objeto(v, lugar,
                                     {QStringLiteral("VerificaAcesso"), QStringLiteral("Observacao"),
                                      QStringLiteral("TecladoNumerico"), QStringLiteral("Mensagem")});
        const auto cada = [&](const char* servico, const auto& le) {
            const QString lugarLista = Lugar(lugar, QLatin1String(servico));
            if (!o.contains(QLatin1String(servico)))
                return;
            const QJsonArray lista = Vetor(o.value(QLatin1String(servico)), lugarLista);
            for (qsizetype i = 0; i < lista.size(); ++i)
                le(lista.at(i), Lugar(lugarLista, i));
        };
        const QString kResult = QStringLiteral("result");
        cada("VerificaAcesso", [&](const QJsonValue& r, const QString& l) {
            const QJsonObject a = Objeto(r, l, {kResult, QStringLiteral("autorizador")});
            ScriptedHost::Acesso acesso;
            if (a.contains(kResult))
                acesso.Permitido = Booleano(a.value(kResult), Lugar(l, kResult));
            if (a.contains(QStringLiteral("autorizador")))
                acesso.Autorizador = Texto(a.value(QStringLiteral("autorizador")),
                                           Lugar(l, QStringLiteral("autorizador")));
            c.Acessos << acesso;
        });
        cada("Observacao", [&](const QJsonValue& r, const QString& l) {
            const QJsonObject m = Objeto(r, l, {QStringLiteral("grupo"), QStringLiteral("motivo")});
            ScriptedHost::Motivo motivo;
            if (m.contains(QStringLiteral("grupo")))
                motivo.Grupo = Texto(m.value(QStringLiteral("grupo")), Lugar(l, QStringLiteral("grupo")));
            if (m.contains(QStringLiteral("motivo")))
                motivo.Texto = Texto(m.value(QStringLiteral("motivo")), Lugar(l, QStringLiteral("motivo")));
            c.Motivos << motivo;
        });
        cada("TecladoNumerico", [&](const QJsonValue& r, const QString& l) {
            const QJsonObject t = Objeto(r, l, {kResult, QStringLiteral("valor")});
            ScriptedHost::Teclado teclado;
            teclado.Confirmado = true;
            if (t.contains(kResult))
                teclado.Confirmado = Booleano(t.value(kResult), Lugar(l, kResult));
            if (t.contains(QStringLiteral("valor")))
                teclado.Valor = Texto(t.value(QStringLiteral("valor")), Lugar(l, QStringLiteral("valor")));
            c.Teclados << teclado;
        });
        cada("Mensagem", [&](const QJsonValue& r, const QString& l) { c.Mensagens << Booleano(r, l); });
    }

    TAcaoCenario Acao(const QJsonValue& v, const QString& lugar) const
    {
        using TTipo = TAcaoCenario::TTipo;
        static const QList<QPair<QString, TTipo>> kAcoes = {
            {QStringLiteral("mark"), TTipo::Marcar}, {QStringLiteral("select"), TTipo::Selecionar},
            {QStringLiteral("key"), TTipo::Tecla},   {QStringLiteral("titleClick"), TTipo::Titulo},
            {QStringLiteral("click"), TTipo::Botao},
        };
        QStringList nomes;
        for (const auto& a : kAcoes)
            nomes << a.first;
        const QJsonObject o = Objeto(v, lugar, nomes);
        if (o.size() != 1)
            Erro(lugar, QStringLiteral("uma ação tem uma só chave, uma destas: %1").arg(Lista(nomes)));

        TAcaoCenario acao;
        const QString nome = o.begin().key();
        acao.Lugar = Lugar(lugar, nome);
        for (const auto& a : kAcoes) {
            if (a.first == nome)
                acao.Tipo = a.second;
        }
        const QJsonValue valor = o.begin().value();
        switch (acao.Tipo) {
        case TTipo::Marcar:
        case TTipo::Selecionar: {
            const QJsonObject linha = Objeto(valor, acao.Lugar, {QStringLiteral("comanda"), QStringLiteral("item")},
                                             {QStringLiteral("comanda"), QStringLiteral("item")});
            acao.Comanda = Texto(linha.value(QStringLiteral("comanda")), Lugar(acao.Lugar, QStringLiteral("comanda")));
            acao.Item = Texto(linha.value(QStringLiteral("item")), Lugar(acao.Lugar, QStringLiteral("item")));
            break;
        }
        case TTipo::Tecla:
            acao.Nome = Texto(valor, acao.Lugar);
            if (!TeclasCenario().contains(acao.Nome))
                Erro(acao.Lugar,
                     QStringLiteral("tecla desconhecida \"%1\" (use %2)").arg(acao.Nome, Lista(TeclasCenario())));
            break;
        case TTipo::Titulo:
            acao.Nome = Texto(valor, acao.Lugar);
            if (acao.Nome.isEmpty())
                Erro(acao.Lugar, QStringLiteral("falta o nome do campo da coluna"));
            break;
        case TTipo::Botao:
            acao.Nome = Texto(valor, acao.Lugar);
            if (!BotoesCenario().contains(acao.Nome))
                Erro(acao.Lugar,
                     QStringLiteral("botão desconhecido \"%1\" (use %2)").arg(acao.Nome, Lista(BotoesCenario())));
            break;
        }
        return acao;
    }

private:
    QString m_arquivo;
};

} // namespace

QStringList TeclasCenario()
{
    QStringList nomes;
    for (const TTeclaCenario& t : kTeclas)
        nomes << QLatin1String(t.Nome);
    return nomes;
}

QStringList BotoesCenario()
{
    QStringList nomes;
    for (const char* b : kBotoes)
        nomes << QLatin1String(b);
    return nomes;
}

const TTeclaCenario* TeclaCenario(const QString& nome)
{
    for (const TTeclaCenario& t : kTeclas) {
        if (nome == QLatin1String(t.Nome))
            return &t;
    }
    return nullptr;
}

TCenario LeCenario(const QString& fileName)
{
    const Leitor leitor(fileName);
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        leitor.Erro(QString(), QStringLiteral("não foi possível ler o cenário: %1").arg(file.errorString()));
    const QByteArray bytes = file.readAll();

    QJsonParseError erro;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &erro);
    if (erro.error != QJsonParseError::NoError) {
        // Qt's offset stands just past the character at fault.
        const QByteArray antes = bytes.left(qMax(0, erro.offset - 1));
        const qsizetype linha = antes.count('\n') + 1;
        const qsizetype coluna = antes.size() - (antes.lastIndexOf('\n') + 1) + 1;
        leitor.Erro(QStringLiteral("linha %1, coluna %2").arg(linha).arg(coluna),
                    QStringLiteral("JSON inválido (%1)").arg(erro.errorString()));
    }

    if (!doc.isObject())
        leitor.Erro(QString(), QStringLiteral("o cenário deve ser um objeto JSON { ... }"));
    const QJsonObject raiz = leitor.Objeto(doc.object(), QString(),
                                           {QStringLiteral("call"), QStringLiteral("database"),
                                            QStringLiteral("outputs"), QStringLiteral("parameters"),
                                            QStringLiteral("operator"), QStringLiteral("answers"),
                                            QStringLiteral("actions")},
                                           {QStringLiteral("call")});

    TCenario c;
    const QString kCall = QStringLiteral("call");
    const QJsonObject call = leitor.Objeto(raiz.value(kCall), kCall,
                                           {QStringLiteral("nrComanda"), QStringLiteral("dsComanda"),
                                            QStringLiteral("modo"), QStringLiteral("nrMesa")},
                                           {QStringLiteral("nrComanda"), QStringLiteral("dsComanda"),
                                            QStringLiteral("modo")});
    const auto argumento = [&](const char* nome) {
        const QString chave = QLatin1String(nome);
        return call.contains(chave) ? leitor.Texto(call.value(chave), Lugar(kCall, chave)) : QString();
    };
    c.NrComanda = argumento("nrComanda");
    c.DsComanda = argumento("dsComanda");
    c.Modo = argumento("modo");
    c.NrMesa = argumento("nrMesa");

    if (raiz.contains(QStringLiteral("database"))) {
        c.Banco = leitor.Texto(raiz.value(QStringLiteral("database")), QStringLiteral("database")).trimmed();
        if (c.Banco.isEmpty())
            leitor.Erro(QStringLiteral("database"),
                        QStringLiteral("não pode ser vazio; sem a chave, vale o banco de sempre"));
    }

    if (raiz.contains(QStringLiteral("outputs"))) {
        const QString saidas = leitor.Texto(raiz.value(QStringLiteral("outputs")), QStringLiteral("outputs"));
        if (saidas != QLatin1String("scripted") && saidas != QLatin1String("till"))
            leitor.Erro(QStringLiteral("outputs"), QStringLiteral("deve ser \"scripted\" ou \"till\""));
        c.SaidasDoCaixa = saidas == QLatin1String("till");
    }

    c.Parametros = ParametrosDemo();
    c.Operador = OperadorDemo();
    if (raiz.contains(QStringLiteral("parameters")))
        leitor.Sobrepoe(c.Parametros, raiz.value(QStringLiteral("parameters")), QStringLiteral("parameters"),
                        kArquivoParametros);
    if (raiz.contains(QStringLiteral("operator")))
        leitor.Sobrepoe(c.Operador, raiz.value(QStringLiteral("operator")), QStringLiteral("operator"),
                        QFileInfo(kArquivoOperador).fileName());

    if (raiz.contains(QStringLiteral("answers")))
        leitor.Respostas(c, raiz.value(QStringLiteral("answers")), QStringLiteral("answers"));

    if (raiz.contains(QStringLiteral("actions"))) {
        const QJsonArray acoes = leitor.Vetor(raiz.value(QStringLiteral("actions")), QStringLiteral("actions"));
        for (qsizetype i = 0; i < acoes.size(); ++i)
            c.Acoes << leitor.Acao(acoes.at(i), Lugar(QStringLiteral("actions"), i));
    }
    return c;
}
