#pragma once
// The cancellation window: a borderless modal touch screen listing the items of
// one order. This header declares every member; the definitions are split by
// concern: FrmCancelaProd.cpp (frame and window events), FrmCancelaProdStartup.cpp
// (start-up, parameters, message table), FrmCancelaProdItemList.cpp (item list,
// filter, navigation), FrmCancelaProdSelection.cpp (marking rules),
// FrmCancelaProdCommand.cpp (the cancellation command: start, checks, exits),
// FrmCancelaProdPrompts.cpp (its per-item prompts), FrmCancelaProdItemLoop.cpp
// (the item loop and its four paths), FrmCancelaProdWrites.cpp (the writes,
// logs and display of one row), FrmCancelaProdTickets.cpp (the production
// ticket rows), FrmCancelaProdNotices.cpp (the waiter, the notice and the
// hand-over of the tickets to the till's print service).
#include <QDialog>
#include <QPixmap>
#include <QSet>
#include <QString>
#include <exception>
#include <functional>
#include <optional>

#include "ClientDataSet.h"
#include "Mensagem.h"
#include "Messages.h"

class QFrame;
class QLabel;
class QKeyEvent;
class TBlendedBitBtn;
class TDBGrid;
class TShape;
class TDataSetTableModel;
struct TLinhaItem;
struct TValoresCancelamento;
struct TItemCancelado;

class TfrmCancelaProd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmCancelaProd(QWidget* owner = nullptr);
    ~TfrmCancelaProd() override;

    void InicializaForm(QString nrComanda, QString dsComanda, QString modo, QString nrMesa);

    // --- components (named as in the form resource) ---
    TShape* Shape1 = nullptr;
    QLabel* lblCabec = nullptr;
    QLabel* lblCodTela = nullptr;
    QFrame* Panel1 = nullptr;
    TDBGrid* dbgProduto = nullptr;
    QPixmap imgCheck;
    QPixmap imgUncheck;
    QPixmap imgGray;
    TBlendedBitBtn* sbtSair = nullptr;
    TBlendedBitBtn* sbtProdCanc = nullptr;
    TBlendedBitBtn* BlendedBitBtn1 = nullptr;
    TBlendedBitBtn* sbtRolarCima = nullptr;
    TBlendedBitBtn* sbtUltimo = nullptr;
    TBlendedBitBtn* sbtRolarBaixo = nullptr;
    TBlendedBitBtn* sbtCancelar = nullptr;

    TClientDataSet cdsProduto{this, QStringLiteral("cdsProduto")};
    TDataSetTableModel* dtsProduto = nullptr;
    TClientDataSet cdsParametrosQrv{this, QStringLiteral("cdsParametrosQrv")};
    TClientDataSet cdsControleAcess{this, QStringLiteral("cdsControleAcess")};
    TClientDataSet cdsImpBackup{this, QStringLiteral("cdsImpBackup")};
    TClientDataSet cdsProdutoCombo{this, QStringLiteral("cdsProdutoCombo")};
    TClientDataSet cdsProdAux{this, QStringLiteral("cdsProdAux")};
    TClientDataSet cdsObs{this, QStringLiteral("cdsObs")};
    // Production tickets of one run, per printer group, and their lookups.
    TClientDataSet cdsDescProd{this, QStringLiteral("cdsDescProd")};
    TClientDataSet cdsDescProd2{this, QStringLiteral("cdsDescProd2")};
    TClientDataSet cdsImprLoja{this, QStringLiteral("cdsImprLoja")};
    TClientDataSet cdsImprLoja2{this, QStringLiteral("cdsImprLoja2")};
    TClientDataSet cdsPortaProd{this, QStringLiteral("cdsPortaProd")};
    TClientDataSet cdsProdutoNormal{this, QStringLiteral("cdsProdutoNormal")};
    TClientDataSet cdsProdutoFilho{this, QStringLiteral("cdsProdutoFilho")};
    TClientDataSet cdsNomeProdutoPai{this, QStringLiteral("cdsNomeProdutoPai")};
    TClientDataSet cdsGarcomMesa{this, QStringLiteral("cdsGarcomMesa")};
    TMessages msgPadrao;

    // --- window events ---
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormKeyDown(QKeyEvent* key);
    void sbtSairClick();

    // --- item list ---
    void CarregaProdutos();
    // After a run stopped early: reloads and marks again the rows that were
    // marked, are still standing and the run did not handle (keys of
    // TLinhaItem::Chave).
    void CarregaProdutosMantendoMarcas(const QSet<QString>& tratados);
    void FiltroProdCanc(bool value);
    void sbtProdCancClick();
    void sbtPrimeiroClick();
    void sbtRolarCimaClick();
    void sbtRolarBaixoClick();
    void sbtUltimoClick();
    void cdsProdutoAfterScroll();

    // --- marking ---
    void dbgProdutoDblClick();
    bool dbgProdutoKeyDown(QKeyEvent* key); // true: the key was swallowed
    void dbgProdutoTitleClick(int column);

    // --- the cancellation command ---
    void sbtCancelarClick();
    // The notice that ended the last run of the command (a refusal, a failed
    // write, a bad quantity); empty when it ran through or was given up.
    QString MensagemFimExecucao() const;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Builders called by the constructor, one per concern.
    void CriaMensagens(); // msgPadrao
    void CriaListaProdutos(); // cdsProduto fields, grid columns, delegate, signals

    // Start-up: the terminal's parameters file and operator file.
    void LeParametros();
    void LeOperador();
    // Item list: the item record (also of the working copies) and a load of
    // the server's packet into it, columns taken by name.
    static QList<TFieldDef> CamposItem();
    static void CarregaPacoteItens(TClientDataSet& dataSet, const QVariant& packet);
    // Marking: one row's mark (keeps inQtdMarcados) and the group that follows it.
    void GravaMarca(const QString& marca);
    void SegueGrupo(const QString& marca, const QString& comanda, const QString& item, const QString& pai);
    friend struct FrmCancelaProdListProbe;

    // The cancellation command; the values of one run travel in `v`.
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
    // The produced answer is stored, so Escape must not give it; a
    // confirmation takes Escape as "Não".
    bool Pergunta(const QString& texto, int tipo, TPerguntaMensagem teclas = TPerguntaMensagem::Automatica);

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
    bool boExibeCanc = false;
    int inQtdMarcados = 0;

    // Command runs: the first notice of the current one, and the one that
    // ended the last.
    QString stAvisoExecucao;
    QString stMensagemFim;
};
