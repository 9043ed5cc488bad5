#pragma once
// The till's main window: the open orders of the installation's database;
// the chosen one goes to the cancellation package, and the list is read again
// after the call. It also shows the cancellation tickets waiting for their
// printers and sends them again in the background.
#include <QWidget>
#include <memory>

#include "ImpressaoCancelamento.h"
#include "ModeloPedidos.h"
#include "PedidosAbertos.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QTableView;
class QTableWidget;
class QTimer;
class TPacote;

class TJanelaPedidos : public QWidget {
    Q_OBJECT
public:
    // pastaPacote: where the package library is (the till's folder).
    explicit TJanelaPedidos(QString pastaPacote, QWidget* parent = nullptr);
    ~TJanelaPedidos() override;

    // Reads the open orders again; a failure is shown and leaves the list empty.
    void Recarrega();
    // Calls the package for the order of that row (the cancel-all run of a
    // delivery order after the operator confirms it).
    void CancelaProdutos(int linha);
    void CancelaEntregaToda(int linha);
    // Wakes the till's ticket sender, which works off the screen's thread.
    void ReenviaPendentes();

    const TModeloPedidos& Modelo() const { return m_modelo; }
    QTableView* Lista() const { return m_lista; }
    // The row of command buttons under the list; the till's other screens
    // (the cancellation report) add their buttons here.
    QHBoxLayout* LinhaBotoes() const { return m_linhaBotoes; }
    // How often the spool is tried again.
    QTimer* TimerPendentes() const { return m_timerPendentes; }
    // Tickets waiting, as last counted.
    int Pendentes() const { return m_pendentes; }

signals:
    void PendentesAtualizados(int quantos);

private:
    void Chama(const TArgumentosChamada& argumentos);
    bool CarregaPacote();
    int LinhaEscolhida() const;
    void AtualizaBotoes();
    void AtualizaPendentes();
    void MostraPendentes();
    void PreenchePendentes(QTableWidget* tabela) const;

    QString m_pastaPacote;
    TBancoTill m_banco;
    TModeloPedidos m_modelo;
    std::unique_ptr<TPacote> m_pacote;
    bool m_emChamada = false;

    QLabel* m_banner = nullptr;
    QTableView* m_lista = nullptr;
    QHBoxLayout* m_linhaBotoes = nullptr;
    QPushButton* m_cancelar = nullptr;
    QPushButton* m_entregaToda = nullptr;
    QPushButton* m_botaoPendentes = nullptr;

    QTimer* m_timerPendentes = nullptr;
    int m_pendentes = 0;
    TResultadoEnvio m_ultimoEnvio; // why each printer's tickets still wait
};
