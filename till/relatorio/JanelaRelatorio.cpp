#include "JanelaRelatorio.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>

#include "BlendedBitBtn.h"
#include "ConsultaCancelamentos.h"
#include "EstiloCasa.h"
#include "Exception.h"
#include "ModelosRelatorio.h"
#include "PastaCaixa.h"
#include "RelogioCaixa.h"
#include "SaidaRelatorio.h"

namespace {

// A finger's height for everything the operator touches.
constexpr int kAlturaToque = 48;

QFont Fonte(int pontos, bool negrito = false)
{
    QFont f;
    f.setPointSize(pontos);
    f.setBold(negrito);
    return f;
}

TBlendedBitBtn* Botao(const QString& nome, const QString& texto, QWidget* pai)
{
    // The touch buttons of the till's other dialogs.
    auto* b = new TBlendedBitBtn(pai);
    b->setObjectName(nome);
    b->setText(texto);
    b->setFont(Arial(22, true));
    b->SetColor(kCorMoldura);
    b->setMinimumSize(170, 56);
    return b;
}

QTableView* Grade(const QString& nome, QAbstractItemModel* modelo, QWidget* pai)
{
    auto* g = new QTableView(pai);
    g->setObjectName(nome);
    g->setModel(modelo);
    g->setFont(Fonte(12));
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->setAlternatingRowColors(true);
    g->verticalHeader()->hide();
    g->verticalHeader()->setDefaultSectionSize(36);
    g->horizontalHeader()->setFont(Fonte(12, true));
    g->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    return g;
}

QDateEdit* Dia(const QString& nome, QWidget* pai)
{
    auto* e = new QDateEdit(AgoraCaixa().date(), pai);
    e->setObjectName(nome);
    e->setCalendarPopup(true);
    e->setFont(Fonte(14));
    e->setMinimumHeight(kAlturaToque);
    e->setMinimumWidth(180);
    return e;
}

QCheckBox* Marca(const QString& nome, const QString& texto, QWidget* pai)
{
    auto* c = new QCheckBox(texto, pai);
    c->setObjectName(nome);
    c->setFont(Fonte(14));
    c->setChecked(true);
    c->setMinimumHeight(kAlturaToque);
    c->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 28px; height: 28px; }"));
    return c;
}

QLabel* Rotulo(const QString& texto, QWidget* pai)
{
    auto* l = new QLabel(texto, pai);
    l->setFont(Fonte(13, true));
    return l;
}

} // namespace

JanelaRelatorio::JanelaRelatorio(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmRelatorioCancelamentos"));
    setWindowTitle(QStringLiteral("Relatório de Cancelamentos"));
    setModal(true);
    // The whole of a 1280 x 800 till screen, less a margin.
    QSize tamanho(1240, 760);
    if (const QScreen* tela = QGuiApplication::primaryScreen())
        tamanho = tamanho.boundedTo(tela->availableGeometry().size() - QSize(20, 20));
    resize(tamanho);
    setAutoFillBackground(true);
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, Qt::white);
    setPalette(fundo);

    auto* lblTitulo = new QLabel(windowTitle(), this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    lblTitulo->setFont(Arial(24, true));

    using namespace ColunasRelatorio;
    m_linhas = new TModeloCancelamentos([](Linha c) { return Titulo(c); }, this);
    m_motivos = new TModeloTotaisCancelamentos([](Total c) { return Titulo(c, QStringLiteral("Motivo")); }, this);
    m_operadores = new TModeloTotaisCancelamentos([](Total c) { return Titulo(c, QStringLiteral("Operador")); }, this);

    chkDe = Marca(QStringLiteral("chkDe"), QStringLiteral("De"), this);
    edtDe = Dia(QStringLiteral("edtDe"), this);
    chkAte = Marca(QStringLiteral("chkAte"), QStringLiteral("Até"), this);
    edtAte = Dia(QStringLiteral("edtAte"), this);
    sbtConsultar = Botao(QStringLiteral("sbtConsultar"), QStringLiteral("Consultar"), this);
    grdLinhas = Grade(QStringLiteral("grdLinhas"), m_linhas, this);
    grdMotivos = Grade(QStringLiteral("grdMotivos"), m_motivos, this);
    grdOperadores = Grade(QStringLiteral("grdOperadores"), m_operadores, this);
    // The lines fit the screen's width: product and reason share what the
    // other columns leave and wrap rather than hide behind a scroll bar. The
    // totals give their spare width to the reason or operator.
    grdLinhas->setWordWrap(true);
    grdLinhas->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grdLinhas->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdLinhas->horizontalHeader()->setSectionResizeMode(ColunasRelatorio::NomeProduto, QHeaderView::Stretch);
    grdLinhas->horizontalHeader()->setSectionResizeMode(ColunasRelatorio::Motivo, QHeaderView::Stretch);
    grdLinhas->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (QTableView* g : {grdMotivos, grdOperadores})
        g->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    lblTotalGeral = new QLabel(this);
    lblTotalGeral->setObjectName(QStringLiteral("lblTotalGeral"));
    lblTotalGeral->setFont(Fonte(14, true));
    lblAviso = new QLabel(this);
    lblAviso->setObjectName(QStringLiteral("lblAviso"));
    lblAviso->setFont(Fonte(13));
    lblAviso->setWordWrap(true);
    lblAviso->setTextFormat(Qt::PlainText);
    sbtExportar = Botao(QStringLiteral("sbtExportar"), QStringLiteral("Exportar CSV"), this);
    sbtFechar = Botao(QStringLiteral("sbtFechar"), QStringLiteral("Fechar"), this);

    auto* periodo = new QHBoxLayout;
    periodo->addWidget(chkDe);
    periodo->addWidget(edtDe);
    periodo->addSpacing(24);
    periodo->addWidget(chkAte);
    periodo->addWidget(edtAte);
    periodo->addSpacing(24);
    periodo->addWidget(sbtConsultar);
    periodo->addStretch();

    auto* totais = new QGridLayout;
    totais->addWidget(Rotulo(QStringLiteral("Por motivo"), this), 0, 0);
    totais->addWidget(Rotulo(QStringLiteral("Por operador"), this), 0, 1);
    totais->addWidget(grdMotivos, 1, 0);
    totais->addWidget(grdOperadores, 1, 1);
    totais->setColumnStretch(0, 3);
    totais->setColumnStretch(1, 2);

    auto* rodape = new QHBoxLayout;
    rodape->addWidget(lblTotalGeral, 1);
    rodape->addWidget(sbtExportar);
    rodape->addWidget(sbtFechar);

    auto* tudo = new QVBoxLayout(this);
    tudo->setContentsMargins(24, 16, 24, 16);
    tudo->addWidget(lblTitulo);
    tudo->addLayout(periodo);
    tudo->addWidget(grdLinhas, 3);
    tudo->addLayout(totais, 2);
    tudo->addWidget(lblAviso);
    tudo->addLayout(rodape);

    connect(chkDe, &QCheckBox::toggled, edtDe, &QWidget::setEnabled);
    connect(chkAte, &QCheckBox::toggled, edtAte, &QWidget::setEnabled);
    connect(sbtConsultar, &QAbstractButton::clicked, this, &JanelaRelatorio::Atualiza);
    connect(sbtExportar, &QAbstractButton::clicked, this, &JanelaRelatorio::EscolheArquivoCsv);
    connect(sbtFechar, &QAbstractButton::clicked, this, &QDialog::accept);

    Atualiza();
}

void JanelaRelatorio::SetPeriodo(const QDate& de, const QDate& ate)
{
    chkDe->setChecked(de.isValid());
    if (de.isValid())
        edtDe->setDate(de);
    chkAte->setChecked(ate.isValid());
    if (ate.isValid())
        edtAte->setDate(ate);
}

void JanelaRelatorio::Atualiza()
{
    const QDate de = chkDe->isChecked() ? edtDe->date() : QDate();
    const QDate ate = chkAte->isChecked() ? edtAte->date() : QDate();
    m_relatorio = MontaRelatorio(de, ate, {});
    QString aviso;
    bool erro = false;
    if (de.isValid() && ate.isValid() && de > ate) {
        aviso = QStringLiteral("O período começa depois de terminar: a data \"De\" é posterior à data \"Até\".");
        erro = true;
    } else {
        try {
            m_relatorio = ConsultaCancelamentos(de, ate);
        } catch (const Exception& e) {
            aviso = QStringLiteral("Não foi possível ler os cancelamentos: %1").arg(e.Message());
            erro = true;
        }
    }
    if (!erro && m_relatorio.Linhas.isEmpty())
        aviso = kNenhumCancelamento;

    m_linhas->SetRegistros(m_relatorio.Linhas);
    m_motivos->SetRegistros(m_relatorio.PorMotivo);
    m_operadores->SetRegistros(m_relatorio.PorOperador);
    for (QTableView* g : {grdMotivos, grdOperadores})
        g->resizeColumnsToContents();
    const QLocale locale;
    lblTotalGeral->setText(QStringLiteral("Total: %1 itens, quantidade %2, valor %3")
                               .arg(locale.toString(m_relatorio.Geral.Itens),
                                    TextoQuantidade(m_relatorio.Geral.QuantidadeMilesimos, locale),
                                    TextoValor(m_relatorio.Geral.ValorCentavos, locale)));
    sbtExportar->setEnabled(!m_relatorio.Linhas.isEmpty());
    MostraAviso(aviso, erro);
}

bool JanelaRelatorio::ExportaCsv(const QString& arquivo)
{
    QString erro;
    if (!GravaRelatorioCsv(m_relatorio, arquivo, erro)) {
        MostraAviso(erro, true);
        return false;
    }
    MostraAviso(QStringLiteral("Relatório gravado em %1.").arg(QDir::toNativeSeparators(arquivo)), false);
    return true;
}

QString JanelaRelatorio::Aviso() const
{
    return lblAviso->text();
}

void JanelaRelatorio::EscolheArquivoCsv()
{
    const QString sugerido = QDir(PastaCaixa())
                                 .filePath(QStringLiteral("cancelamentos-%1.csv")
                                               .arg(AgoraCaixa().date().toString(QStringLiteral("yyyyMMdd"))));
    QString arquivo = QFileDialog::getSaveFileName(this, QStringLiteral("Exportar CSV"), sugerido,
                                                   QStringLiteral("Planilha CSV (*.csv)"));
    if (arquivo.isEmpty())
        return;
    if (QFileInfo(arquivo).suffix().isEmpty())
        arquivo += QStringLiteral(".csv");
    ExportaCsv(arquivo);
}

void JanelaRelatorio::MostraAviso(const QString& texto, bool erro)
{
    QPalette p = lblAviso->palette();
    p.setColor(QPalette::WindowText, erro ? QColor(180, 0, 0) : palette().color(QPalette::WindowText));
    lblAviso->setPalette(p);
    lblAviso->setText(texto);
}

void AbreRelatorioCancelamentos(QWidget* parent)
{
    JanelaRelatorio janela(parent);
    janela.exec();
}
