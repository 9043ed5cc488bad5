#include "JanelaPedidos.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "Exception.h"
#include "ImpressaoCancelamento.h"
#include "JanelaRelatorio.h"
#include "Mensagem.h"
#include "Pacote.h"
#include "kvp00917.h"

namespace {

constexpr int kIntervaloPendentesMs = 30000;

bool Pergunta(const QString& texto, TPerguntaMensagem tipo)
{
    return Mensagem(texto, QString(), QString(), QStringLiteral("S"), tipo == TPerguntaMensagem::Irreversivel ? 0 : 1,
                    QString(), QString(), 0, nullptr, {.Pergunta = tipo});
}

// Sized for a finger on a till's screen.
const char* const kEstilo = "QWidget#frmPedidos { background: white; }"
                            "QLabel#lblTitulo { font: bold 24px; }"
                            "QLabel { font-size: 16px; }"
                            "QTableView { font-size: 18px; }"
                            "QHeaderView::section { font: bold 16px; padding: 6px; }"
                            "QPushButton { font-size: 18px; min-height: 60px; padding: 0 18px; }";

QPushButton* Botao(const QString& nome, const QString& texto)
{
    auto* b = new QPushButton(texto);
    b->setObjectName(nome);
    return b;
}

} // namespace

TJanelaPedidos::TJanelaPedidos(QString pastaPacote, QWidget* parent)
    : QWidget(parent), m_pastaPacote(std::move(pastaPacote))
{
    setObjectName(QStringLiteral("frmPedidos"));
    setWindowTitle(QStringLiteral("Caixa - Pedidos abertos"));
    setStyleSheet(QLatin1String(kEstilo));
    resize(1024, 640);

    auto* titulo = new QLabel(QStringLiteral("Pedidos abertos"));
    titulo->setObjectName(QStringLiteral("lblTitulo"));
    m_banner = new QLabel;
    m_banner->setObjectName(QStringLiteral("lblBanco"));
    m_banner->setWordWrap(true);

    m_lista = new QTableView;
    m_lista->setObjectName(QStringLiteral("dbgPedidos"));
    m_lista->setModel(&m_modelo);
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->setAlternatingRowColors(true);
    m_lista->verticalHeader()->hide();
    m_lista->verticalHeader()->setDefaultSectionSize(48);
    m_lista->horizontalHeader()->setStretchLastSection(false);
    m_lista->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lista->horizontalHeader()->setSectionResizeMode(TModeloPedidos::ColDescricao, QHeaderView::Stretch);

    m_cancelar = Botao(QStringLiteral("sbtCancelarProdutos"), QStringLiteral("Cancelar produtos"));
    m_entregaToda = Botao(QStringLiteral("sbtCancelarEntrega"), QStringLiteral("Cancelar entrega toda"));
    auto* atualizar = Botao(QStringLiteral("sbtAtualizar"), QStringLiteral("Atualizar"));
    auto* relatorio = Botao(QStringLiteral("sbtRelatorio"), QStringLiteral("Relatório"));
    m_botaoPendentes = Botao(QStringLiteral("sbtPendentes"), QString());
    auto* sair = Botao(QStringLiteral("sbtSair"), QStringLiteral("Sair"));

    m_linhaBotoes = new QHBoxLayout;
    m_linhaBotoes->setObjectName(QStringLiteral("linhaBotoes"));
    for (QPushButton* b : {m_cancelar, m_entregaToda, atualizar, relatorio, m_botaoPendentes})
        m_linhaBotoes->addWidget(b);
    m_linhaBotoes->addStretch();
    m_linhaBotoes->addWidget(sair);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 16);
    layout->addWidget(titulo);
    layout->addWidget(m_banner);
    layout->addWidget(m_lista, 1);
    layout->addLayout(m_linhaBotoes);

    connect(m_cancelar, &QPushButton::clicked, this, [this] { CancelaProdutos(LinhaEscolhida()); });
    connect(m_entregaToda, &QPushButton::clicked, this, [this] { CancelaEntregaToda(LinhaEscolhida()); });
    connect(atualizar, &QPushButton::clicked, this, &TJanelaPedidos::Recarrega);
    connect(relatorio, &QPushButton::clicked, this, [this] { AbreRelatorioCancelamentos(this); });
    connect(m_botaoPendentes, &QPushButton::clicked, this, &TJanelaPedidos::MostraPendentes);
    connect(sair, &QPushButton::clicked, this, [this] {
        // One slip of the finger would leave the till without its list.
        if (Pergunta(QStringLiteral("Sair do caixa?"), TPerguntaMensagem::Confirmacao))
            close();
    });
    connect(m_lista, &QTableView::activated, this, [this](const QModelIndex& i) { CancelaProdutos(i.row()); });
    connect(m_lista->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TJanelaPedidos::AtualizaBotoes);

    m_timerPendentes = new QTimer(this);
    m_timerPendentes->setInterval(kIntervaloPendentesMs);
    connect(m_timerPendentes, &QTimer::timeout, this, &TJanelaPedidos::ReenviaPendentes);
    m_timerPendentes->start();
    connect(&TRemetenteTiquetes::Instancia(), &TRemetenteTiquetes::Passou, this, [this](const TResultadoEnvio& r) {
        m_ultimoEnvio = r;
        AtualizaPendentes();
    });

    Recarrega();
    AtualizaPendentes();
    ReenviaPendentes();
}

TJanelaPedidos::~TJanelaPedidos() = default;

void TJanelaPedidos::Recarrega()
{
    const int antes = LinhaEscolhida();
    const QString escolhida = antes >= 0 ? m_modelo.Pedido(antes).NrComanda : QString();
    try {
        m_modelo.SetPedidos(m_banco.Pedidos(FilialDoTerminal()));
        m_banner->setText(QStringLiteral("%1 pedido(s) aberto(s)").arg(QLocale().toString(m_modelo.rowCount())));
    } catch (const Exception& e) {
        m_modelo.SetPedidos({});
        m_banner->setText(QStringLiteral("Sem acesso ao banco de dados"));
        Avisa(QStringLiteral("Não foi possível ler os pedidos abertos: %1").arg(e.Message()), TSinalMensagem::Erro);
    }
    // Where the data comes from is the technician's business, not the operator's.
    m_banner->setToolTip(QStringLiteral("Banco: %1").arg(m_banco.Nome()));
    int linha = 0;
    for (int r = 0; r < m_modelo.rowCount(); ++r)
        if (m_modelo.Pedido(r).NrComanda == escolhida)
            linha = r;
    if (m_modelo.rowCount() > 0)
        m_lista->selectRow(linha);
    AtualizaBotoes();
}

int TJanelaPedidos::LinhaEscolhida() const
{
    const QModelIndexList linhas = m_lista->selectionModel()->selectedRows();
    return linhas.isEmpty() ? -1 : linhas.first().row();
}

void TJanelaPedidos::AtualizaBotoes()
{
    const int linha = LinhaEscolhida();
    m_cancelar->setEnabled(linha >= 0 && !m_modelo.Pedido(linha).EmRecebimento);
    m_entregaToda->setEnabled(linha >= 0 && m_modelo.Pedido(linha).Tipo == TTipoPedido::Entrega
                              && m_modelo.Pedido(linha).Itens > 0);
}

void TJanelaPedidos::CancelaProdutos(int linha)
{
    if (linha < 0 || linha >= m_modelo.rowCount())
        return;
    if (const TPedidoAberto& p = m_modelo.Pedido(linha); p.EmRecebimento) {
        Avisa(QStringLiteral("A mesa %1 está em recebimento em outro caixa: nada pode ser cancelado nela agora.")
                  .arg(p.NrMesa),
              TSinalMensagem::Aviso);
        // The other till may have finished meanwhile.
        Recarrega();
        return;
    }
    Chama(ArgumentosChamada(m_modelo.Pedido(linha)));
}

void TJanelaPedidos::CancelaEntregaToda(int linha)
{
    if (linha < 0 || linha >= m_modelo.rowCount() || m_modelo.Pedido(linha).Tipo != TTipoPedido::Entrega
        || m_modelo.Pedido(linha).Itens == 0)
        return;
    const TPedidoAberto& p = m_modelo.Pedido(linha);
    const QLocale locale;
    if (!Pergunta(QStringLiteral("Cancelar TODOS os itens do pedido de entrega %1 (%2): %3 item(ns), R$ %4?\n"
                                 "Esta operação não pode ser desfeita.")
                      .arg(p.NrComanda, p.DsComanda, locale.toString(p.Itens), locale.toString(p.Total, 'f', 2)),
                  TPerguntaMensagem::Irreversivel))
        return;
    Chama(ArgumentosChamada(p, true));
}

bool TJanelaPedidos::CarregaPacote()
{
    if (m_pacote)
        return true;
    try {
        auto pacote = std::make_unique<TPacote>(m_pastaPacote);
        pacote->Inicializa();
        m_pacote = std::move(pacote);
        return true;
    } catch (const Exception& e) {
        Avisa(QStringLiteral("O cancelamento de produtos não está disponível neste caixa: %1").arg(e.Message()),
              TSinalMensagem::Erro);
        return false;
    }
}

void TJanelaPedidos::Chama(const TArgumentosChamada& a)
{
    // The package takes one call at a time.
    if (m_emChamada || !CarregaPacote())
        return;
    m_emChamada = true;
    const TFimChamada fim = m_pacote->Chama(a.NrComanda, a.DsComanda, a.Modo, a.NrMesa);
    m_emChamada = false;
    // A message that ended the call was already shown by the package.
    if (fim.Fim == CANCELAPRODUTO_FALHOU)
        Avisa(QStringLiteral("O cancelamento da comanda %1 não foi concluído: %2")
                  .arg(a.NrComanda, fim.Erro.isEmpty() ? QStringLiteral("erro sem descrição.") : fim.Erro),
              TSinalMensagem::Erro);
    Recarrega();
    AtualizaPendentes();
}

void TJanelaPedidos::ReenviaPendentes()
{
    TRemetenteTiquetes::Instancia().Acorda();
}

void TJanelaPedidos::AtualizaPendentes()
{
    m_pendentes = int(ListaPendentes().size());
    m_botaoPendentes->setText(QStringLiteral("Tíquetes pendentes: %1").arg(QLocale().toString(m_pendentes)));
    m_botaoPendentes->setStyleSheet(m_pendentes > 0 ? QStringLiteral("color: white; background: #C0392B;") : QString());
    emit PendentesAtualizados(m_pendentes);
}

void TJanelaPedidos::PreenchePendentes(QTableWidget* tabela) const
{
    const TPerifericos conf = LePerifericos();
    // Why a printer's tickets wait, as the last try found it.
    QHash<QString, QString> motivos;
    for (const TTentativaEnvio& t : m_ultimoEnvio.Tentativas)
        if (!t.Enviado && !motivos.contains(t.Endereco))
            motivos.insert(t.Endereco, t.Erro);
    const QList<TTiquetePendente> pendentes = ListaPendentes();
    const QLocale locale;
    tabela->setRowCount(int(pendentes.size()));
    for (int r = 0; r < pendentes.size(); ++r) {
        const TTiquetePendente& t = pendentes.at(r);
        const QString situacao = t.Enviando       ? QStringLiteral("enviando agora")
            : motivos.value(t.Endereco).isEmpty() ? QStringLiteral("aguardando")
                                                  : QStringLiteral("aguardando: %1").arg(motivos.value(t.Endereco));
        const QStringList celulas{t.Guardado.isValid() ? locale.toString(t.Guardado.time(), QStringLiteral("HH:mm"))
                                                       : QStringLiteral("?"),
                                  t.Pedido,
                                  t.Mesa,
                                  t.Produtos.join(QStringLiteral(", ")),
                                  t.Endereco.isEmpty() ? QStringLiteral("(sem endereço)")
                                                       : conf.NomeImpressora(t.Endereco),
                                  situacao};
        for (int c = 0; c < celulas.size(); ++c) {
            auto* item = new QTableWidgetItem(celulas.at(c));
            item->setToolTip(celulas.at(c));
            tabela->setItem(r, c, item);
        }
    }
}

void TJanelaPedidos::MostraPendentes()
{
    AtualizaPendentes();
    if (m_pendentes == 0) {
        Avisa(QStringLiteral("Nenhum tíquete de cancelamento aguardando impressora."), TSinalMensagem::Aviso);
        return;
    }
    QDialog dialogo(this);
    dialogo.setObjectName(QStringLiteral("frmPendentes"));
    dialogo.setWindowTitle(QStringLiteral("Tíquetes de cancelamento aguardando impressora"));
    dialogo.setStyleSheet(QLatin1String(kEstilo));
    dialogo.resize(1000, 560);
    auto* layout = new QVBoxLayout(&dialogo);
    auto* explica = new QLabel(QStringLiteral("Os cancelamentos abaixo já estão feitos; só os tíquetes ainda não "
                                              "chegaram à produção. O caixa tenta de novo a cada %1 segundos; avise "
                                              "a produção se demorar.")
                                   .arg(kIntervaloPendentesMs / 1000));
    explica->setWordWrap(true);
    layout->addWidget(explica);
    auto* tabela = new QTableWidget(0, 6);
    tabela->setObjectName(QStringLiteral("tblPendentes"));
    tabela->setHorizontalHeaderLabels({QStringLiteral("Hora"), QStringLiteral("Pedido"), QStringLiteral("Mesa"),
                                       QStringLiteral("Produtos"), QStringLiteral("Impressora"),
                                       QStringLiteral("Situação")});
    tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tabela->setSelectionMode(QAbstractItemView::NoSelection);
    tabela->setFocusPolicy(Qt::NoFocus);
    tabela->setWordWrap(true);
    tabela->verticalHeader()->hide();
    tabela->verticalHeader()->setDefaultSectionSize(64);
    tabela->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tabela->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    tabela->horizontalHeader()->setSectionResizeMode(5, QHeaderView::Stretch);
    PreenchePendentes(tabela);
    layout->addWidget(tabela, 1);
    auto* resultado = new QLabel;
    resultado->setObjectName(QStringLiteral("lblResultado"));
    resultado->setWordWrap(true);
    resultado->hide();
    layout->addWidget(resultado);
    auto* botoes = new QHBoxLayout;
    auto* reenviar = Botao(QStringLiteral("sbtReenviar"), QStringLiteral("Tentar agora"));
    auto* fechar = Botao(QStringLiteral("sbtFechar"), QStringLiteral("Fechar"));
    botoes->addWidget(reenviar);
    botoes->addStretch();
    botoes->addWidget(fechar);
    layout->addLayout(botoes);
    // The pass that answers the tap: one in course may have begun before it.
    auto tentativa = std::make_shared<quint64>(0);
    connect(reenviar, &QPushButton::clicked, &dialogo, [reenviar, resultado, tentativa] {
        reenviar->setEnabled(false);
        resultado->setText(QStringLiteral("Tentando enviar..."));
        resultado->show();
        *tentativa = TRemetenteTiquetes::Instancia().Acorda();
    });
    connect(&TRemetenteTiquetes::Instancia(), &TRemetenteTiquetes::Passou, &dialogo,
            [this, reenviar, resultado, tabela, tentativa](const TResultadoEnvio& r) {
                m_ultimoEnvio = r;
                PreenchePendentes(tabela);
                if (reenviar->isEnabled() || r.Atende < *tentativa)
                    return;
                reenviar->setEnabled(true);
                const QStringList linhas = r.Relato();
                resultado->setText(linhas.isEmpty() ? QStringLiteral("Nenhum tíquete aguardando impressora.")
                                                    : linhas.join(QLatin1Char('\n')));
            });
    connect(fechar, &QPushButton::clicked, &dialogo, &QDialog::reject);
    dialogo.exec();
    AtualizaPendentes();
}
