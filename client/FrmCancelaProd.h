#pragma once
// The cancellation window: a borderless modal touch screen listing the items of
// one order, with the marks the operator gives them. The cancellation command
// (client/comando) does the work: the window holds it, answers its questions
// with the message box and delegates its buttons to it. The definitions are
// split by concern: FrmCancelaProd.cpp (frame, window events and the
// operator's answers), FrmCancelaProdInicio.cpp (start-up),
// FrmCancelaProdLista.cpp (item grid, filter, navigation),
// FrmCancelaProdSelecao.cpp (marking rules).
#include <QDialog>
#include <QPixmap>
#include <QSet>
#include <QString>

#include "ClientDataSet.h"
#include "ComandoCancelamento.h"
#include "OperadorCancelamento.h"

class QFrame;
class QLabel;
class QKeyEvent;
class TBlendedBitBtn;
class TDBGrid;
class TShape;
class TDataSetTableModel;

class TfrmCancelaProd : public QDialog, private TOperadorCancelamento {
    Q_OBJECT
    // Before every member that refers to its datasets.
    TComandoCancelamento m_comando{*this};

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

    // The command's datasets by the names the tests and tools know.
    TClientDataSet& cdsProduto = m_comando.cdsProduto;
    TDataSetTableModel* dtsProduto = nullptr;
    TClientDataSet& cdsImpBackup = m_comando.cdsImpBackup;
    TClientDataSet& cdsDescProd = m_comando.cdsDescProd;

    TComandoCancelamento& Comando() { return m_comando; }

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
    // The command's questions and notices, in the suite's message box.
    bool Pergunta(TPergunta qual, const QString& texto, const QString& idEsquema) override;
    void Avisa(const QString& texto, const QString& idEsquema) override;

    void CriaListaProdutos(); // grid columns, delegate, signals

    // Marking: one row's mark (counted by the command) and the group that follows it.
    void GravaMarca(const QString& marca);
    void SegueGrupo(const QString& marca, const QString& comanda, const QString& item, const QString& pai);
    friend struct FrmCancelaProdListProbe;

    // List state: the cancelled rows shown
    bool boExibeCanc = false;
};
