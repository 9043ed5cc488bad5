#include "PackageTestSupport.h"

#include <QProcess>

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QTimer>

#include "ClientDataSet.h"
#include "DBGrid.h"
#include "FieldDefs.h"
#include "FrmCancelaProd.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

namespace {

struct Coluna {
    QString Nome;
    TFieldType Tipo;
    QVariant Valor;
};

void Grava(const QString& fileName, const QList<Coluna>& colunas)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    TClientDataSet ds;
    for (const Coluna& c : colunas) {
        ds.FieldDefs().append(FieldOf(c.Nome, c.Tipo, c.Tipo == TFieldType::ftString ? 40 : 0));
    }
    ds.CreateDataSet();
    ds.Append();
    for (const Coluna& c : colunas)
        ds.FieldByName(c.Nome)->SetValue(c.Valor);
    ds.Post();
    ds.SaveToFile(fileName);
}

} // namespace

void GravaParametros(const QString& folder, const Parametros& p)
{
    const auto S = TFieldType::ftString;
    const auto I = TFieldType::ftInteger;
    const auto B = TFieldType::ftBoolean;
    QList<Coluna> colunas = {
        {QStringLiteral("INCOR1"), I, 0},
        {QStringLiteral("INCOR2"), I, 0},
        {QStringLiteral("INCOR3"), I, 0},
        {QStringLiteral("INCOR5"), I, 0},
        {QStringLiteral("IDESQUEMA"), S, QStringLiteral("002")},
        {QStringLiteral("CDFILIAL"), S, QStringLiteral("0001")},
        {QStringLiteral("IDSOLOBSCAN"), S, p.IdSolObsCan},
        {QStringLiteral("CDLOJA"), S, QStringLiteral("01")},
        {QStringLiteral("CDCAIXA"), S, QStringLiteral("001")},
        {QStringLiteral("DISPLAYOK"), B, false},
        {QStringLiteral("IDTIPOIMPNF1"), S, QStringLiteral("TXT")},
        {QStringLiteral("CDPORTIMPNF1"), S, QStringLiteral("LPT1")},
        {QStringLiteral("IDTIPOIMPNF5"), S, QStringLiteral("TXT")},
        {QStringLiteral("CDPORTAIMPNF5"), S, QStringLiteral("LPT5")},
        {QStringLiteral("CTCANCULTITEM"), I, 31},
        {QStringLiteral("CTCANCITEMGEN"), I, 32},
        {QStringLiteral("CDPRODCONSUM"), S, QString()},
        {QStringLiteral("CDPRODCONSUF"), S, QString()},
        {QStringLiteral("CDPRODCOUVER"), S, QString()},
        {QStringLiteral("UTILIZAIMPFIS"), B, p.UtilizaImpFis},
        {QStringLiteral("NRSEQIMPRLOJA1"), S, QStringLiteral("1")},
        {QStringLiteral("NRSEQIMPRLOJA2"), S, QStringLiteral("2")},
        {QStringLiteral("CDPORTIMPNF3"), S, QStringLiteral("LPT3")},
        {QStringLiteral("IDTIPOIMPNF3"), S, QStringLiteral("TXT")},
        {QStringLiteral("IDIMPCANSATNFCE"), S, QStringLiteral("N")},
    };
    colunas.removeIf([&](const Coluna& c) { return c.Nome == p.Omitir; });
    Grava(folder + QStringLiteral("/PARAMETROSQRV.CDS"), colunas);
}

void GravaOperador(const QString& folder)
{
    Grava(folder + QStringLiteral("/Dados/Cadastros/ControleAcess.cds"),
          {{QStringLiteral("CDOPERADOR"), TFieldType::ftString, QStringLiteral("0001")},
           {QStringLiteral("NMOPERADOR"), TFieldType::ftString, QStringLiteral("Operadora de Teste")}});
}

struct JanelaEmTeste::Filter : QObject {
    JanelaEmTeste* owner;
    std::function<void(TfrmCancelaProd&)> action;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* janela = qobject_cast<TfrmCancelaProd*>(watched);
        if (janela && event->type() == QEvent::Show && !owner->Mostrada) {
            owner->Mostrada = true;
            owner->Janela = janela;
            owner->Modulo = rdmCancelaProd;
            // Inside the modal loop, once the showing is complete.
            QTimer::singleShot(0, this, [this] {
                // Let the window finish coming up (activation, focus).
                QCoreApplication::processEvents();
                TfrmCancelaProd* j = owner->Janela;
                if (!j)
                    return;
                owner->TinhaFocoNaGrade = j->dbgProduto->hasFocus();
                action(*j);
                if (owner->Janela && owner->Janela->isVisible()) {
                    owner->AbertaAposAcao = true;
                    owner->Janela->close();
                }
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

JanelaEmTeste::JanelaEmTeste(std::function<void(TfrmCancelaProd&)> action) : m_filter(new Filter)
{
    m_filter->owner = this;
    m_filter->action = std::move(action);
    qApp->installEventFilter(m_filter);
}

JanelaEmTeste::~JanelaEmTeste()
{
    qApp->removeEventFilter(m_filter);
    delete m_filter;
}

CHostRun RodaCHost(const QString& bin, const QString& pasta, const QString& banco, const QStringList& chamada,
                   int esperaMs)
{
    QProcess host;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("KVP_DATABASE"), banco);
    host.setProcessEnvironment(env);
    host.setWorkingDirectory(pasta);
    host.start(bin + QStringLiteral("/c_host"), QStringList{bin} + chamada);
    CHostRun run;
    run.Terminou = host.waitForFinished(esperaMs);
    if (!run.Terminou) {
        host.kill();
        host.waitForFinished(5000);
    }
    run.Codigo = host.exitStatus() == QProcess::NormalExit ? host.exitCode() : -1;
    run.Saida = QString::fromUtf8(host.readAllStandardOutput());
    run.Erros = QString::fromUtf8(host.readAllStandardError());
    return run;
}
