#include "ServicosOperador.h"

#include <QApplication>

#include "ArquivoAcesso.h"
#include "ArquivosDemo.h"
#include "Exception.h"
#include "HostServices.h"
#include "LogsTill.h"
#include "Mensagem.h"
#include "MotivosCancelamento.h"
#include "ObservacaoDialog.h"
#include "RelFiscaisDialog.h"
#include "TecladoNumericoDialog.h"
#include "VerificaAcessoDialog.h"
#include "Wdc00002.h"

namespace {

// Everything this side tells the operator stops the operation.
constexpr TSinalMensagem kSinalAviso = TSinalMensagem::Erro;

// A terminal file's fields; none when it cannot be read (the caller decides
// whether that matters).
QVariantMap Terminal(const QString& arquivo)
{
    try {
        return LeArquivoTerminal(HostFolder() + QLatin1Char('/') + arquivo);
    } catch (const Exception&) {
        return {};
    }
}

void RegistraRecusa(int codigo, const QString& operador, const QString& quem, const QString& motivo,
                    const QString& acao = QStringLiteral("NEGADO"))
{
    const QVariantMap p = Terminal(kArquivoParametros);
    const QVariantMap o = Terminal(kArquivoOperador);
    const QString nome = o.value(QStringLiteral("CDOPERADOR")).toString() == operador
        ? o.value(QStringLiteral("NMOPERADOR")).toString()
        : QString();
    LogControleAcessTill(p.value(QStringLiteral("CDFILIAL")).toString(), p.value(QStringLiteral("CDCAIXA")).toString(),
                         acao, operador, nome, quem, QStringLiteral("Acesso %1 negado").arg(codigo), motivo, QString(),
                         QString(), QString(), QString(), 0, 0);
}

} // namespace

bool VerificaAcessoTill(int codigo, const QString& operador, QString& autorizador)
{
    TArquivoAcesso arquivo;
    try {
        arquivo = TArquivoAcesso::Le();
    } catch (const Exception& e) {
        Avisa(QStringLiteral("Não foi possível conferir o acesso: %1").arg(e.Message()), kSinalAviso);
        RegistraRecusa(codigo, operador, QString(), e.Message());
        return false;
    }
    if (const TUsuarioAcesso* proprio = arquivo.Usuario(operador); proprio && proprio->PodeAutorizar(codigo)) {
        autorizador = proprio->Codigo;
        return true;
    }
    if (arquivo.Usuarios().isEmpty()) {
        const QString texto = QStringLiteral("Nenhum supervisor cadastrado neste caixa (%1). Cadastre um com "
                                             "till --set-pin.")
                                  .arg(arquivo.Arquivo());
        Avisa(texto, kSinalAviso);
        RegistraRecusa(codigo, operador, QString(), texto);
        return false;
    }

    arquivo.AoBloquear = [&](const QString& quem, int falhas, qint64 segundos) {
        RegistraRecusa(
            codigo, operador, quem,
            QStringLiteral("%1 PINs errados seguidos: bloqueado por %2 minuto(s)").arg(falhas).arg(segundos / 60),
            QStringLiteral("BLOQUEIO"));
    };
    TVerificaAcessoDialog dialogo(codigo, operador, arquivo, QApplication::activeWindow());
    if (dialogo.exec() == QDialog::Accepted) {
        autorizador = dialogo.Autorizador();
        return true;
    }
    if (dialogo.Falhas() >= TVerificaAcessoDialog::kMaxFalhas) {
        RegistraRecusa(codigo, operador, dialogo.UltimoCodigo(),
                       QStringLiteral("%1 PINs errados").arg(TVerificaAcessoDialog::kMaxFalhas));
        Avisa(QStringLiteral("Acesso negado: %1 PINs errados.").arg(TVerificaAcessoDialog::kMaxFalhas), kSinalAviso);
    }
    return false;
}

void ObservacaoTill(const QVariantList& dados, QVariantList& resultado, QString& texto)
{
    texto.clear();
    const QString cdProduto = dados.value(Wdc00002::DadosObservacao::CdProduto).toString();
    QList<TMotivo> motivos;
    QString aviso;
    try {
        const QVariantMap p = LeArquivoTerminal(HostFolder() + QLatin1Char('/') + kArquivoParametros);
        const QString filial = p.value(QStringLiteral("CDFILIAL")).toString();
        const QString loja = p.value(QStringLiteral("CDLOJA")).toString();
        motivos = MotivosDoBanco(filial, loja, cdProduto);
        if (motivos.isEmpty()) {
            motivos = MotivosDoArquivo();
            if (motivos.isEmpty()) {
                Avisa(QStringLiteral("Nenhum motivo de cancelamento cadastrado no banco para a filial %1, loja %2. "
                                     "Cadastre os motivos para poder cancelar.")
                          .arg(filial, loja),
                      kSinalAviso);
                texto = QStringLiteral("erro");
                return;
            }
            aviso = QStringLiteral("Nenhum motivo cadastrado no banco para a filial %1, loja %2: motivos de %3.")
                        .arg(filial, loja, ArquivoMotivos());
        }
    } catch (const Exception& e) {
        Avisa(QStringLiteral("Não foi possível ler os motivos de cancelamento: %1").arg(e.Message()), kSinalAviso);
        texto = QStringLiteral("erro");
        return;
    }

    TObservacaoDialog dialogo(cdProduto, dados.value(Wdc00002::DadosObservacao::NmProduto).toString(), motivos, aviso,
                              QApplication::activeWindow());
    if (dialogo.exec() != QDialog::Accepted)
        return;
    if (resultado.size() < Wdc00002::ResultadoObservacao::Tamanho)
        resultado.resize(Wdc00002::ResultadoObservacao::Tamanho);
    resultado[Wdc00002::ResultadoObservacao::Grupo] = dialogo.Motivo().Grupo;
    texto = dialogo.Motivo().Texto;
}

bool TecladoNumericoTill(QString& valor, const QString& titulo, const QString& pergunta, const QString& vazio,
                         int tamanho, int, bool decimais, int, int, int)
{
    TTecladoNumericoDialog dialogo(titulo, pergunta, vazio, decimais, tamanho, QApplication::activeWindow());
    dialogo.SetValor(valor);
    if (dialogo.exec() != QDialog::Accepted)
        return false;
    valor = dialogo.Valor();
    return true;
}

void RelFiscaisTill()
{
    TRelFiscaisDialog dialogo(QApplication::activeWindow());
    dialogo.exec();
}
