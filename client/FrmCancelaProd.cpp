// The window's frame (the form resource), its own events, and the operator's
// answers to the command in the suite's message box.
#include "FrmCancelaProd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

#include "BlendedBitBtn.h"
#include "DBGrid.h"
#include "DataSetTableModel.h"
#include "EstiloJanela.h"
#include "EventGuard.h"
#include "HostServices.h"
#include "Mensagem.h"
#include "ModuleVariables.h"
#include "Shape.h"
#include "Trad.h"
#include "Wdc00002.h"

namespace {

// The key the form saw last and the control it went to first. A control that
// ignores a key passes the same event up to its parents; the form must not
// handle it twice. The record ends with that key (once the form has it, or at
// the key's release): a later key may come in an event at the same address.
const QEvent* teclaVista = nullptr;
QPointer<QObject> receptorVisto;

bool JaVista(const QEvent* event, const QObject* receiver)
{
    if (event != teclaVista || !receptorVisto)
        return false;
    for (const QObject* o = receptorVisto->parent(); o; o = o->parent()) {
        if (o == receiver)
            return true;
    }
    return false;
}

// The footer is anchored at its right edge (774) and grows to the left with
// its text, so that a font a little wider than the design's never cuts it.
void AjustaRodape(QLabel* rodape)
{
    const QFontMetrics fm(rodape->font());
    const int largura = qMax(138, fm.horizontalAdvance(rodape->text()) + 2);
    rodape->setGeometry(636 + 138 - largura, 328, largura, fm.height());
}

QPixmap Figura(const char* name)
{
    return QPixmap(QStringLiteral(":/kvp00917/images/%1.png").arg(QLatin1String(name)));
}

TBlendedBitBtn* Botao(QWidget* parent, const char* name, const QRect& geometry, TBlendedBitBtn::TButtonShape shape,
                      const QColor& color, const char* figura)
{
    auto* b = new TBlendedBitBtn(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    b->SetShape(shape);
    b->SetColor(color);
    b->SetDisabledColor(kCinzaClaro);
    b->SetFontColor(Qt::white);
    b->SetDisabledFontColor(Qt::white);
    b->SetGlyph(Figura(figura));
    b->SetDisabledGlyph(Figura((QByteArray(figura) + "_desab").constData()));
    return b;
}

TBlendedBitBtn* BotaoTexto(QWidget* parent, const char* name, const QRect& geometry, const QString& caption,
                           const char* figura)
{
    TBlendedBitBtn* b = Botao(parent, name, geometry, TBlendedBitBtn::TButtonShape::RoundRect, kCinza, figura);
    b->setText(caption);
    b->setFont(Arial(12));
    b->SetGlyphPosition(TBlendedBitBtn::TGlyphPosition::Right);
    return b;
}

TBlendedBitBtn* BotaoRedondo(QWidget* parent, const char* name, const QRect& geometry, const char* figura)
{
    return Botao(parent, name, geometry, TBlendedBitBtn::TButtonShape::Circle, kCinza, figura);
}

} // namespace

TfrmCancelaProd::TfrmCancelaProd(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmCancelaProd"));
    setWindowTitle(QStringLiteral("Cancelamento de Produto"));
    setModal(true);
    setFixedSize(785, 347);
    QPalette fundo = palette();
    fundo.setColor(QPalette::Window, Qt::black);
    setPalette(fundo);
    setAutoFillBackground(true);

    Shape1 = new TShape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(0, 0, 785, 347);
    Shape1->SetBrush(Qt::white);
    Shape1->SetPen(QPen(kCorMoldura, 2));

    lblCabec = new QLabel(QStringLiteral("Cancela Produto"), this);
    lblCabec->setObjectName(QStringLiteral("lblCabec"));
    lblCabec->setGeometry(9, 8, 743, 21);
    lblCabec->setFont(Arial(16, true));
    lblCabec->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette preto = lblCabec->palette();
    preto.setColor(QPalette::WindowText, Qt::black);
    lblCabec->setPalette(preto);

    lblCodTela = new QLabel(QStringLiteral("F1 - Menu Fiscal - Kvp00917"), this);
    lblCodTela->setObjectName(QStringLiteral("lblCodTela"));
    lblCodTela->setFont(Arial(11));
    lblCodTela->setAlignment(Qt::AlignRight | Qt::AlignTop);
    AjustaRodape(lblCodTela);
    QPalette cinza = lblCodTela->palette();
    cinza.setColor(QPalette::WindowText, kCinza);
    lblCodTela->setPalette(cinza);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::NoFrame);
    Panel1->setGeometry(9, 44, 640, 276);

    // Wider than its panel: the vertical scroll bar falls outside the visible
    // part; the round buttons scroll instead.
    dbgProduto = new TDBGrid(Panel1);
    dbgProduto->setObjectName(QStringLiteral("dbgProduto"));
    dbgProduto->setGeometry(-1, 0, 657, 276);
    dbgProduto->setFrameShape(QFrame::NoFrame);
    dbgProduto->setFont(Arial(13));
    dbgProduto->SetDefaultColors(true);

    imgCheck = Figura("check");
    imgUncheck = Figura("uncheck");
    imgGray = Figura("gray");

    using Forma = TBlendedBitBtn::TButtonShape;
    // In the window's colour: only its picture stands out on the white form.
    sbtSair = Botao(this, "sbtSair", QRect(740, 5, 37, 30), Forma::RoundRect, Qt::white, "sair");
    sbtProdCanc = BotaoTexto(this, "sbtProdCanc", QRect(657, 44, 120, 53), QStringLiteral("Exibir &Prod. Cancelados"),
                             "prodcanc");
    BlendedBitBtn1 = BotaoRedondo(this, "BlendedBitBtn1", QRect(662, 100, 49, 46), "primeiro");
    sbtRolarCima = BotaoRedondo(this, "sbtRolarCima", QRect(725, 100, 49, 46), "rolarcima");
    sbtUltimo = BotaoRedondo(this, "sbtUltimo", QRect(662, 222, 49, 46), "ultimo");
    sbtRolarBaixo = BotaoRedondo(this, "sbtRolarBaixo", QRect(725, 222, 49, 46), "rolarbaixo");
    sbtCancelar = BotaoTexto(this, "sbtCancelar", QRect(657, 271, 120, 50), QStringLiteral("&Cancelar Produto"),
                             "cancelar");
    sbtCancelar->setEnabled(false); // until the list has a row

    const auto liga = [this](TBlendedBitBtn* botao, void (TfrmCancelaProd::*handler)()) {
        connect(botao, &QAbstractButton::clicked, this,
                [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
    };
    liga(sbtSair, &TfrmCancelaProd::sbtSairClick);
    liga(sbtProdCanc, &TfrmCancelaProd::sbtProdCancClick);
    liga(BlendedBitBtn1, &TfrmCancelaProd::sbtPrimeiroClick);
    liga(sbtRolarCima, &TfrmCancelaProd::sbtRolarCimaClick);
    liga(sbtUltimo, &TfrmCancelaProd::sbtUltimoClick);
    liga(sbtRolarBaixo, &TfrmCancelaProd::sbtRolarBaixoClick);
    liga(sbtCancelar, &TfrmCancelaProd::sbtCancelarClick);

    CriaListaProdutos();

    // Key preview: the form sees every key of its controls first.
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);

    Guarded([this] { FormCreate(); });
}

TfrmCancelaProd::~TfrmCancelaProd()
{
    // The grid's model and delegate refer to the command's datasets, which
    // go before the child widgets: take the widgets down first.
    delete Panel1;
    Panel1 = nullptr;
    dbgProduto = nullptr;
    delete dtsProduto;
    dtsProduto = nullptr;
}

void TfrmCancelaProd::FormCreate()
{
    Trad(this);
}

void TfrmCancelaProd::FormShow()
{
    raise();
    activateWindow();
    // While it is being shown the window is not on the screen yet and cannot
    // take the front: once more as soon as it is.
    QTimer::singleShot(0, this, [this] {
        if (isVisible()) {
            raise();
            activateWindow();
        }
    });
}

void TfrmCancelaProd::FormClose()
{
    Cli_kvp00917::boIdCriado = false;
}

void TfrmCancelaProd::FormKeyDown(QKeyEvent* key)
{
    if (key->key() == Qt::Key_F1 && m_comando.UsaImpressoraFiscal())
        Wdc00002::RelFiscais();
    if (key->key() == Qt::Key_Escape && sbtSair->isEnabled())
        sbtSairClick();
}

void TfrmCancelaProd::sbtSairClick()
{
    close();
}

void TfrmCancelaProd::sbtCancelarClick()
{
    m_comando.Executa();
}

QString TfrmCancelaProd::MensagemFimExecucao() const
{
    return m_comando.MensagemFimExecucao();
}

bool TfrmCancelaProd::Pergunta(TPergunta qual, const QString& texto, const QString& idEsquema)
{
    // The produced answer is stored, so Escape must not give it; a
    // confirmation takes Escape as "Não"; a group's question is the warning
    // kind, with "Não" as its default.
    int tipo = 1;
    TPerguntaMensagem teclas = TPerguntaMensagem::Automatica;
    switch (qual) {
    case TPergunta::Produzido: teclas = TPerguntaMensagem::Escolha; break;
    case TPergunta::Confirmacao: teclas = TPerguntaMensagem::Confirmacao; break;
    case TPergunta::Grupo: tipo = 0; break;
    }
    return Mensagem(texto, QString(), QStringLiteral("N"), QStringLiteral("S"), tipo, QString(), idEsquema, 0, nullptr,
                    {TSinalMensagem::Automatico, teclas});
}

void TfrmCancelaProd::Avisa(const QString& texto, const QString& idEsquema)
{
    ::Avisa(texto, TSinalMensagem::Automatico, idEsquema);
}

void TfrmCancelaProd::showEvent(QShowEvent* event)
{
    // Centred on the till's screen; the dialog's own placement counts a title
    // bar and borders this window does not have.
    const QWidget* janelaHost = QApplication::activeWindow();
    if (const QScreen* tela = janelaHost && janelaHost != this ? janelaHost->screen() : screen()) {
        const QRect area = tela->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    AjustaRodape(lblCodTela); // start-up may have changed the footer's text
    QDialog::showEvent(event);
    Guarded([this] { FormShow(); });
    if (dbgProduto)
        dbgProduto->setFocus(Qt::ActiveWindowFocusReason);
}

void TfrmCancelaProd::closeEvent(QCloseEvent* event)
{
    Guarded([this] { FormClose(); });
    QDialog::closeEvent(event);
}

void TfrmCancelaProd::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    // A key that a control passed up was already seen by the event filter.
    const bool vista = JaVista(event, this);
    teclaVista = nullptr;
    if (!vista)
        Guarded([this, event] { FormKeyDown(event); });
    // The dialog's own Esc would close the window even with sbtSair disabled.
    if (key == Qt::Key_Escape || key == Qt::Key_F1) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TfrmCancelaProd::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyRelease)
        teclaVista = nullptr;
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (JaVista(key, watched))
            return QDialog::eventFilter(watched, event);
        teclaVista = key;
        receptorVisto = watched;
        Guarded([this, key] { FormKeyDown(key); });
        // F1 and Esc belong to the form; every other key goes on to the control.
        if (key->key() == Qt::Key_F1 || key->key() == Qt::Key_Escape)
            return true;
    }
    return QDialog::eventFilter(watched, event);
}
