#include "JanelaCenario.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QHeaderView>
#include <QJsonObject>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTableView>
#include <QTimer>
#include <cstdio>

#include "DataSetTableModel.h"
#include "ScriptedHostJson.h"

namespace {

const QString kJanela = QStringLiteral("frmCancelaProd");
const QString kGrade = QStringLiteral("dbgProduto");

void Mouse(QWidget* alvo, QEvent::Type tipo, const QPoint& ponto, Qt::MouseButtons botoes)
{
    QMouseEvent evento(tipo, QPointF(ponto), alvo->mapToGlobal(QPointF(ponto)), Qt::LeftButton, botoes, Qt::NoModifier);
    QApplication::sendEvent(alvo, &evento);
}

void Clique(QWidget* alvo, const QPoint& ponto)
{
    Mouse(alvo, QEvent::MouseButtonPress, ponto, Qt::LeftButton);
    Mouse(alvo, QEvent::MouseButtonRelease, ponto, Qt::NoButton);
}

// A view takes a double-click only on the cell its press went to.
void DuploClique(QWidget* alvo, const QPoint& ponto)
{
    Clique(alvo, ponto);
    Mouse(alvo, QEvent::MouseButtonDblClick, ponto, Qt::LeftButton);
    Mouse(alvo, QEvent::MouseButtonRelease, ponto, Qt::NoButton);
}

// The model column of a field of the grid's dataset; -1 when it has none.
int ColunaDoCampo(const QAbstractItemModel& modelo, const QString& campo)
{
    for (int c = 0; c < modelo.columnCount(); ++c) {
        if (modelo.headerData(c, Qt::Horizontal, TDataSetTableModel::FieldNameRole)
                .toString()
                .compare(campo, Qt::CaseInsensitive)
            == 0)
            return c;
    }
    return -1;
}

QVariant Valor(const QAbstractItemModel& modelo, int linha, const char* campo)
{
    const int coluna = ColunaDoCampo(modelo, QLatin1String(campo));
    return coluna < 0 ? QVariant() : modelo.index(linha, coluna).data(Qt::EditRole);
}

QTableView& GradeDa(QDialog& janela)
{
    auto* grade = janela.findChild<QTableView*>(kGrade);
    if (!grade || !grade->model())
        throw Exception(QStringLiteral("a janela de cancelamento não tem a grade %1").arg(kGrade));
    return *grade;
}

} // namespace

TJanelaCenario::TJanelaCenario(QString arquivo, QList<TAcaoCenario> acoes)
    : m_arquivo(std::move(arquivo)), m_acoes(std::move(acoes))
{
    qApp->installEventFilter(this);
}

TJanelaCenario::~TJanelaCenario()
{
    qApp->removeEventFilter(this);
}

bool TJanelaCenario::eventFilter(QObject* watched, QEvent* event)
{
    auto* janela = qobject_cast<QDialog*>(watched);
    if (janela && janela->objectName() == kJanela) {
        if (event->type() == QEvent::Show && !m_mostrada) {
            m_mostrada = true;
            m_janela = janela;
            // Inside the modal display, once the window is up.
            QTimer::singleShot(0, this, [this] { Executa(); });
        } else if (event->type() == QEvent::Close || event->type() == QEvent::Hide) {
            GuardaGrade(*janela);
        }
    }
    return QObject::eventFilter(watched, event);
}

void TJanelaCenario::GuardaTelas(const QString& pasta, const QString& prefixo)
{
    m_pastaTelas = pasta;
    m_prefixoTelas = prefixo;
}

void TJanelaCenario::Fotografa(const QString& momento)
{
    if (m_pastaTelas.isEmpty() || !m_janela || !m_janela->isVisible())
        return;
    QDir().mkpath(m_pastaTelas);
    const QString caminho
        = QStringLiteral("%1/%2-%3-%4.png").arg(m_pastaTelas, m_prefixoTelas).arg(++m_telas).arg(momento);
    if (m_janela->grab().save(caminho, "PNG"))
        std::printf("Tela gravada em %s\n", qPrintable(caminho));
    else
        std::fprintf(stderr, "Não foi possível gravar %s\n", qPrintable(caminho));
    std::fflush(stdout);
}

void TJanelaCenario::Executa()
{
    // Let the window finish coming up (activation, focus).
    QCoreApplication::processEvents();
    Fotografa(QStringLiteral("aberta"));
    for (const TAcaoCenario& acao : m_acoes) {
        try {
            if (!m_janela || !m_janela->isVisible())
                throw ECenario(QStringLiteral("%1: %2: a janela já foi fechada").arg(m_arquivo, acao.Lugar));
            if (acao.Tipo == TAcaoCenario::TTipo::Botao)
                Fotografa(QStringLiteral("antes-de-") + acao.Nome);
            Realiza(*m_janela, acao);
        } catch (const Exception& e) {
            m_erro = e.Message();
            break;
        }
        QCoreApplication::processEvents();
    }
    Fotografa(QStringLiteral("fim"));
    if (m_janela && m_janela->isVisible())
        m_janela->close();
}

void TJanelaCenario::Realiza(QDialog& janela, const TAcaoCenario& acao)
{
    const auto erro = [&](const QString& texto) {
        return ECenario(QStringLiteral("%1: %2: %3").arg(m_arquivo, acao.Lugar, texto));
    };
    using TTipo = TAcaoCenario::TTipo;

    switch (acao.Tipo) {
    case TTipo::Marcar:
    case TTipo::Selecionar: {
        QTableView& grade = GradeDa(janela);
        const QAbstractItemModel& modelo = *grade.model();
        int linha = -1;
        for (int r = 0; r < modelo.rowCount() && linha < 0; ++r) {
            if (Valor(modelo, r, "NRCOMANDA").toString() == acao.Comanda
                && Valor(modelo, r, "NRPRODCOMVEN").toString() == acao.Item)
                linha = r;
        }
        if (linha < 0)
            throw erro(QStringLiteral("a grade não mostra a comanda \"%1\" item \"%2\"").arg(acao.Comanda, acao.Item));
        // The product's cell, or the first one shown.
        int coluna = ColunaDoCampo(modelo, QStringLiteral("NMPRODUTO"));
        if (coluna < 0 || grade.isColumnHidden(coluna))
            coluna = grade.horizontalHeader()->logicalIndex(0);
        const QModelIndex celula = modelo.index(linha, coluna);
        grade.scrollTo(celula);
        const QPoint ponto = grade.visualRect(celula).center();
        if (acao.Tipo == TTipo::Marcar)
            DuploClique(grade.viewport(), ponto);
        else
            Clique(grade.viewport(), ponto);
        return;
    }
    case TTipo::Tecla: {
        const TTeclaCenario* t = TeclaCenario(acao.Nome);
        if (!t)
            throw erro(QStringLiteral("tecla desconhecida \"%1\"").arg(acao.Nome));
        QWidget* foco = QApplication::focusWidget();
        if (!foco || foco->window() != &janela)
            foco = janela.focusWidget() ? janela.focusWidget() : &janela;
        QKeyEvent aperta(QEvent::KeyPress, t->Codigo, t->Modificadores, QString::fromLatin1(t->Texto));
        QApplication::sendEvent(foco, &aperta);
        // The press may have closed the window and freed the control.
        QKeyEvent solta(QEvent::KeyRelease, t->Codigo, t->Modificadores, QString::fromLatin1(t->Texto));
        QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : &janela, &solta);
        return;
    }
    case TTipo::Titulo: {
        QTableView& grade = GradeDa(janela);
        const int coluna = ColunaDoCampo(*grade.model(), acao.Nome);
        if (coluna < 0 || grade.isColumnHidden(coluna))
            throw erro(QStringLiteral("a grade não mostra a coluna \"%1\"").arg(acao.Nome));
        QHeaderView* titulos = grade.horizontalHeader();
        const QPoint ponto(titulos->sectionViewportPosition(coluna) + titulos->sectionSize(coluna) / 2,
                           titulos->height() / 2);
        Clique(titulos->viewport(), ponto);
        return;
    }
    case TTipo::Botao: {
        auto* botao = janela.findChild<QAbstractButton*>(acao.Nome);
        if (!botao)
            throw erro(QStringLiteral("a janela não tem o botão \"%1\"").arg(acao.Nome));
        // A disabled button takes the tap and does nothing, as on the screen.
        Clique(botao, botao->rect().center());
        return;
    }
    }
}

void TJanelaCenario::GuardaGrade(QDialog& janela)
{
    auto* grade = janela.findChild<QTableView*>(kGrade);
    if (!grade || !grade->model())
        return;
    const QAbstractItemModel& modelo = *grade->model();
    QJsonArray linhas;
    for (int r = 0; r < modelo.rowCount(); ++r) {
        linhas.append(QJsonObject{
            {QStringLiteral("comanda"), ValorJson(Valor(modelo, r, "NRCOMANDA"))},
            {QStringLiteral("item"), ValorJson(Valor(modelo, r, "NRPRODCOMVEN"))},
            {QStringLiteral("product"), ValorJson(Valor(modelo, r, "NMPRODUTO"))},
            {QStringLiteral("quantity"), ValorJson(Valor(modelo, r, "QTPRODCOMVEN"))},
            {QStringLiteral("state"), ValorJson(Valor(modelo, r, "IDSTPRCOMVEN"))},
            {QStringLiteral("marked"), Valor(modelo, r, "IDCHECK").toString() == QLatin1String("C")},
        });
    }
    m_grade = linhas;
}
