#include "ServicosTill.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QTextStream>
#include <QVBoxLayout>
#include <cstdio>

#include "DisplayCliente.h"
#include "HostServices.h"
#include "ImpressaoCancelamento.h"
#include "LogsTill.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

const QString kMotivos = QStringLiteral("MotivosCancelamento.txt");

void RegistraAcessoNegado(int codigo, const QString& operador)
{
    LogControleAcessTill(QString(), QString(), QStringLiteral("NEGADO"), operador, QString(), QString(),
                         QStringLiteral("Acesso %1 negado ao operador %2").arg(codigo).arg(operador), QString(),
                         QString(), QString(), QString(), QString(), 0, 0);
}

// --- access check: the operator or a supervisor authorises ---

bool VerificaAcesso(int codigo, const QString& operador, QString& autorizador)
{
    const auto resposta = QMessageBox::question(
        nullptr, QStringLiteral("Controle de acesso"),
        QStringLiteral("Operação controlada (código %1).\nAutorizar para o operador %2?").arg(codigo).arg(operador));
    if (resposta != QMessageBox::Yes) {
        RegistraAcessoNegado(codigo, operador);
        return false;
    }
    bool ok = false;
    const QString quem = QInputDialog::getText(nullptr, QStringLiteral("Supervisor"),
                                               QStringLiteral("Código de quem autoriza:"), QLineEdit::Normal, operador,
                                               &ok)
                             .trimmed();
    if (!ok || quem.isEmpty())
        return false;
    autorizador = quem;
    return true;
}

// --- the cancellation reason: a list from MotivosCancelamento.txt ("group|text"
// per line) or a few built-in ones, and a free text ---

QList<QPair<QString, QString>> Motivos()
{
    QList<QPair<QString, QString>> motivos;
    QFile file(ArquivoTill(kMotivos));
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine().trimmed();
            const qsizetype bar = line.indexOf(QLatin1Char('|'));
            if (bar > 0)
                motivos.append({line.left(bar).trimmed(), line.mid(bar + 1).trimmed()});
        }
    }
    if (motivos.isEmpty()) {
        motivos = {{QStringLiteral("1"), QStringLiteral("Desistência do cliente")},
                   {QStringLiteral("1"), QStringLiteral("Demora no atendimento")},
                   {QStringLiteral("2"), QStringLiteral("Produto lançado errado")},
                   {QStringLiteral("2"), QStringLiteral("Produto em falta")}};
    }
    return motivos;
}

void Observacao(const QVariantList& dados, QVariantList& resultado, QString& texto)
{
    const auto motivos = Motivos();
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Motivo do cancelamento"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(
        new QLabel(QStringLiteral("Produto: %1 - %2").arg(dados.value(2).toString(), dados.value(3).toString())));
    auto* lista = new QListWidget;
    for (const auto& m : motivos)
        lista->addItem(m.second);
    lista->setCurrentRow(0);
    layout->addWidget(lista);
    auto* livre = new QLineEdit;
    livre->setPlaceholderText(QStringLiteral("Ou escreva o motivo"));
    layout->addWidget(livre);
    auto* botoes = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(botoes, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(botoes, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(botoes);

    texto.clear();
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int linha = lista->currentRow();
    const QString grupo = linha >= 0 ? motivos.at(linha).first : motivos.first().first;
    texto = livre->text().trimmed().isEmpty() && linha >= 0 ? motivos.at(linha).second : livre->text().trimmed();
    while (resultado.size() < 10)
        resultado.append(QVariant());
    resultado[0] = grupo;
}

// --- numeric keypad: a typed number in the platform's decimal format ---

bool TecladoNumerico(QString& valor, const QString& titulo, const QString& pergunta, const QString& vazio, int, int,
                     bool decimais, int, int, int)
{
    const QLocale locale; // the terminal's, as the package reads the value back
    QString texto = valor;
    for (;;) {
        bool ok = false;
        texto = QInputDialog::getText(nullptr, titulo, pergunta, QLineEdit::Normal, texto, &ok, Qt::WindowFlags(),
                                      Qt::ImhFormattedNumbersOnly)
                    .trimmed();
        if (!ok)
            return false;
        if (texto.isEmpty()) {
            QMessageBox::warning(nullptr, titulo, vazio);
            continue;
        }
        bool numero = false;
        if (decimais)
            locale.toDouble(texto, &numero);
        else
            locale.toInt(texto, &numero);
        if (!numero) {
            QMessageBox::warning(nullptr, titulo, QStringLiteral("Valor inválido: %1").arg(texto));
            continue;
        }
        valor = texto;
        return true;
    }
}

// --- fiscal menu ---

void RelFiscais()
{
    QVariantList nada;
    LogImpNFiscalTill({QStringLiteral("Menu fiscal aberto")}, nada);
    QMessageBox::information(nullptr, QStringLiteral("Menu Fiscal"),
                             QStringLiteral("Menu fiscal do caixa.\nNenhuma impressora fiscal nesta demonstração."));
}

} // namespace

QString ArquivoTill(const QString& name)
{
    return HostFolder() + QLatin1Char('/') + name;
}

void InstalaServicosTill()
{
    Wdc00002::VerificaAcesso = VerificaAcesso;
    Wdc00002::Observacao = Observacao;
    Wdc00002::TecladoNumerico = TecladoNumerico;
    Wdc00002::LogImpNFiscal = LogImpNFiscalTill;
    Wdc00002::LogControleAcess = LogControleAcessTill;
    Wdc00002::DisparaImprimeCancProduto = DisparaImprimeCancProdutoTill;
    Wdc00002::RelFiscais = RelFiscais;
    Wdc00001::LimpaDisplay = LimpaDisplayTill;
    Wdc00001::DisplayEnviaTexto = DisplayEnviaTextoTill;
}

int ReenviaTiquetesPendentes()
{
    const TPerifericos conf = LePerifericos();
    for (const QString& problema : conf.Problemas)
        std::fprintf(stderr, "%s\n", qPrintable(problema));
    const int restantes = ReenviaPendentes(conf);
    if (restantes > 0)
        std::fprintf(stderr, "%d tíquete(s) de cancelamento aguardando impressora em %s\n", restantes,
                     qPrintable(PastaPendentes()));
    return restantes;
}
