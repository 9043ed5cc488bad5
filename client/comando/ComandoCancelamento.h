#pragma once
// The cancellation command of one order, without a screen: the terminal's
// files, the item list and its marks, the checks and prompts before the first
// write, the item loop with its paths, the writes, the production tickets and
// the notice. The window shows its list and marks rows; a cancel-all call
// runs it alone. The operator's questions and notices go to a
// TOperadorCancelamento; the till's services are called through the procedure
// variables of Wdc00001 and Wdc00002.
//
// The definitions are split by concern: ComandoCancelamentoInicio.cpp (start-up,
// parameters, message table, the cancel-all run), ComandoCancelamentoLista.cpp
// (the item list and its marks), ComandoCancelamento.cpp (start, checks,
// exits), ComandoCancelamentoPerguntas.cpp (the per-item prompts),
// ComandoCancelamentoItens.cpp (the item loop and its four paths),
// ComandoCancelamentoEscritas.cpp (the writes, logs and display of one row),
// ComandoCancelamentoTiquetes.cpp (the production ticket rows),
// ComandoCancelamentoAvisos.cpp (the waiter, the notice and the hand-over of
// the tickets to the till's print service).
#include <QSet>
#include <QString>
#include <exception>
#include <functional>
#include <optional>

#include "ClientDataSet.h"
#include "Messages.h"
#include "OperadorCancelamento.h"

struct TLinhaItem;
struct TValoresCancelamento;
struct TItemCancelado;

// The rows not cancelled: what the list shows unless the operator asks for
// the cancelled ones too.
inline const QString kFiltroNaoCancelados = QStringLiteral("IDSTPRCOMVEN <> '6'");

class TComandoCancelamento {
public:
    explicit TComandoCancelamento(TOperadorCancelamento& operador);
    ~TComandoCancelamento();
    TComandoCancelamento(const TComandoCancelamento&) = delete;
    TComandoCancelamento& operator=(const TComandoCancelamento&) = delete;

    // The call's arguments, the data module, the terminal's files, the
    // server's settings and the first load of the list (every row marked on
    // a cancel-all call).
    void Inicializa(QString nrComanda, QString dsComanda, QString modo, QString nrMesa);
    // A cancel-all call: every item cancelled, or an error that names the
    // items left standing.
    void CancelaTodos();

    // One run over the marked rows (the cancel button).
    void Executa();
    // The notice that ended the last run (a refusal, a failed write, a bad
    // quantity); empty when it ran through or was given up.
    QString MensagemFimExecucao() const;

    // --- the item list ---
    void CarregaProdutos();
    // After a run stopped early: reloads and marks again the rows that were
    // marked, are still standing and the run did not handle (keys of
    // TLinhaItem::Chave).
    void CarregaProdutosMantendoMarcas(const QSet<QString>& tratados);
    // The item record with the mark column after the seat, as the screen keeps
    // it, and a load of the server's packet into it, columns taken by name.
    static QList<TFieldDef> CamposItem();
    static void CarregaPacoteItens(TClientDataSet& dataSet, const QVariant& packet);
    // The current row's mark ("C" or "U"), counted.
    void GravaMarca(const QString& marca);
    int QtdMarcados() const { return inQtdMarcados; }
    void ZeraMarcados() { inQtdMarcados = 0; }

    bool UsaImpressoraFiscal() const { return boUtilizaImpFis; }

    TClientDataSet cdsProduto{nullptr, QStringLiteral("cdsProduto")};
    TClientDataSet cdsParametrosQrv{nullptr, QStringLiteral("cdsParametrosQrv")};
    TClientDataSet cdsControleAcess{nullptr, QStringLiteral("cdsControleAcess")};
    TClientDataSet cdsImpBackup{nullptr, QStringLiteral("cdsImpBackup")};
    TClientDataSet cdsProdutoCombo{nullptr, QStringLiteral("cdsProdutoCombo")};
    TClientDataSet cdsProdAux{nullptr, QStringLiteral("cdsProdAux")};
    TClientDataSet cdsObs{nullptr, QStringLiteral("cdsObs")};
    // Production tickets of one run, per printer group, and their lookups.
    TClientDataSet cdsDescProd{nullptr, QStringLiteral("cdsDescProd")};
    TClientDataSet cdsDescProd2{nullptr, QStringLiteral("cdsDescProd2")};
    TClientDataSet cdsImprLoja{nullptr, QStringLiteral("cdsImprLoja")};
    TClientDataSet cdsImprLoja2{nullptr, QStringLiteral("cdsImprLoja2")};
    TClientDataSet cdsPortaProd{nullptr, QStringLiteral("cdsPortaProd")};
    TClientDataSet cdsProdutoNormal{nullptr, QStringLiteral("cdsProdutoNormal")};
    TClientDataSet cdsProdutoFilho{nullptr, QStringLiteral("cdsProdutoFilho")};
    TClientDataSet cdsNomeProdutoPai{nullptr, QStringLiteral("cdsNomeProdutoPai")};
    TClientDataSet cdsGarcomMesa{nullptr, QStringLiteral("cdsGarcomMesa")};
    TMessages msgPadrao;

private:
    friend struct FrmCancelaProdListProbe;

    void CriaMensagens(); // msgPadrao
    // Start-up: the terminal's parameters file and operator file.
    void LeParametros();
    void LeOperador();

    // The values of one run travel in `v`.
    void RestauraFiltro(const TValoresCancelamento& v);
    void ExecutaItens(TValoresCancelamento& v);
    void PerguntaMotivo(TValoresCancelamento& v, const TLinhaItem& l);
    void ConfirmaGrupo();
    void PerguntaQuantidade(TValoresCancelamento& v, const TLinhaItem& l);
    void CaminhoDivideConta(TValoresCancelamento& v);
    void CaminhoCombo(TValoresCancelamento& v);
    void CaminhoParcial(TValoresCancelamento& v, const TLinhaItem& l);
    void CaminhoInteiro(TValoresCancelamento& v, const TLinhaItem& l);
    void PassoDelivery(const TValoresCancelamento& v, const TLinhaItem& l);
    void BaixaAcrescimo(const QString& nrComanda, double valor);
    void CancelaLinha(TValoresCancelamento& v, const TLinhaItem& l);
    void CancelaQuantidade(TValoresCancelamento& v, const TLinhaItem& l);
    static void AnotaOrigem(TValoresCancelamento& v, const TLinhaItem& l);
    void RegistraAcesso(const TValoresCancelamento& v, const TLinhaItem& l, const QString& palavra,
                        const QString& quantidade);
    void MostraDisplay(const QString& quantidade, const QString& nome);
    void Protegido(const std::function<void()>& bloco);
    // The end of a run that stopped: its failure shown (unless it was), the
    // tickets of the rows it cancelled dispatched, the list put back and
    // reloaded; then a silent abort.
    [[noreturn]] void EncerraAposParada(TValoresCancelamento& v, const std::exception_ptr& falha);
    void MostraFalha(const std::exception_ptr& falha);
    void RecarregaAposParada(const TValoresCancelamento& v);
    static void NaTransacao(const std::function<void()>& escritas);
    void Aviso(const QString& texto);

    // Production tickets: both datasets emptied once per run, then the rows
    // of each cancelled row added along its path.
    void RecriaTickets();
    void GeraTickets(const TItemCancelado& c);
    void TicketsNormal(const TItemCancelado& c);
    void TicketsCombo(const TItemCancelado& c);
    void LinhaImpressoraLoja(int grupo, const QString& cdProduto, QVariantMap valores);
    QVariant Consulta(const QVariant& resultado, const QString& tag, const QStringList& contexto);

    // The notice: the waiter of a comanda, and the hand-over of the tickets
    // with the notice of the last row cancelled (also after an early stop).
    void BuscaGarcom(const QString& nrComanda);
    void DespachaTickets(const TItemCancelado& ultimo, QVariantList& troca);
    void DespachaAposParada(TValoresCancelamento& v);
    // A cancel-all run: what of the order is still not cancelled, read anew
    // from the database; none when it could not be read (the reason in `falha`).
    std::optional<QStringList> ItensNaoCancelados(QString& falha);
    bool Pergunta(TOperadorCancelamento::TPergunta qual, const QString& texto);

    TOperadorCancelamento& m_operador;

    // Call arguments
    QString stNrComanda;
    QString stDsComanda;
    QString stModo;
    QString stNrMesa;

    // Parameters file
    int inCor1 = 0;
    int inCor2 = 0;
    int inCor3 = 0;
    int inCor5 = 0;
    QString stIdEsquema;
    QString stCdFilial;
    QString stIdEsquema2;
    QString stIdSolObsCan;
    QString stCdLoja;
    QString stCdCaixa;
    bool boDisplayOk = false;
    QString stIdTipoImpNf1;
    QString stCdPortImpNf1;
    QString stIdTipoImpNf5;
    QString stCdPortaImpNf5;
    int inCtCancUltItem = 0;
    int inCtCancItemGen = 0;
    QString stCdProdConsum;
    QString stCdProdConsuf;
    QString stCdProdCouver;
    bool boUtilizaImpFis = false;
    QString stNrSeqImprLoja1;
    QString stNrSeqImprLoja2;
    QString stCdPortImpNf3;
    QString stIdTipoImpNf3;
    QString stIdImpCanSatNfce;

    // Operator file
    QString stCdOperador;
    QString stNmOperador;

    // Server settings
    QString stImpCancInteg;

    // List state
    int inQtdMarcados = 0;
    // The notice a failed load of the list showed: why a cancel-all run could
    // not check what it left.
    QString stAvisoCarga;

    // Command runs: the first notice of the current one, and the one that
    // ended the last.
    QString stAvisoExecucao;
    QString stMensagemFim;
};
