#include "ServicosTill.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
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

#include "ClientDataSet.h"
#include "HostServices.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

namespace {

const QString kLogOperacoes = QStringLiteral("LogImpNFiscal.txt");
const QString kLogAcessos = QStringLiteral("LogControleAcess.txt");
const QString kDisplay = QStringLiteral("Display.txt");
const QString kTiquetes = QStringLiteral("ImpressaoCancelamento.txt");
const QString kMotivos = QStringLiteral("MotivosCancelamento.txt");

void Acrescenta(const QString& name, const QString& text)
{
    QFile file(ArquivoTill(name));
    if (!file.open(QIODevice::Append | QIODevice::Text)) {
        std::fprintf(stderr, "Não foi possível gravar %s\n", qPrintable(file.fileName()));
        return;
    }
    QTextStream out(&file);
    out << text;
}

void Registra(const QString& name, const QString& line)
{
    Acrescenta(name, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral(" | ")
                         + line + QLatin1Char('\n'));
}

QString Juntar(const QVariantList& values)
{
    QStringList parts;
    for (const QVariant& v : values)
        parts << v.toString();
    return parts.join(QStringLiteral(" | "));
}

// --- access check: the operator or a supervisor authorises ---

bool VerificaAcesso(int codigo, const QString& operador, QString& autorizador)
{
    const auto resposta = QMessageBox::question(
        nullptr, QStringLiteral("Controle de acesso"),
        QStringLiteral("Operação controlada (código %1).\nAutorizar para o operador %2?").arg(codigo).arg(operador));
    if (resposta != QMessageBox::Yes) {
        Registra(kLogAcessos, QStringLiteral("Acesso %1 negado ao operador %2").arg(codigo).arg(operador));
        return false;
    }
    bool ok = false;
    const QString quem = QInputDialog::getText(nullptr, QStringLiteral("Supervisor"),
                                               QStringLiteral("Código de quem autoriza:"), QLineEdit::Normal,
                                               operador, &ok)
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
    layout->addWidget(new QLabel(QStringLiteral("Produto: %1 - %2").arg(dados.value(2).toString(), dados.value(3).toString())));
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
    const QLocale locale = QLocale::system();
    QString texto = valor;
    for (;;) {
        bool ok = false;
        texto = QInputDialog::getText(nullptr, titulo, pergunta, QLineEdit::Normal, texto, &ok,
                                      Qt::WindowFlags(), Qt::ImhFormattedNumbersOnly)
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

// --- logs, tickets, fiscal menu, customer display ---

void LogImpNFiscal(const QVariantList& linha, QVariantList&)
{
    Registra(kLogOperacoes, Juntar(linha));
}

void LogControleAcess(const QString& filial, const QString& caixa, const QString& acao, const QString& operador,
                      const QString& nome, const QString& autorizador, const QString& titulo, const QString& detalhe,
                      const QString& venda, const QString& comanda, const QString& dsComanda, const QString& mesa,
                      int, int)
{
    Registra(kLogAcessos, QStringList{filial, caixa, acao, operador, nome, autorizador, titulo, detalhe, venda, comanda,
                                      dsComanda, mesa}
                              .join(QStringLiteral(" | ")));
}

// No printer here: the ticket's notice and rows go to a text file.
void DisparaImprimeCancProduto(const QVariantList& dados, QVariantList&)
{
    QString texto;
    QTextStream out(&texto);
    out << "==== " << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
        << " | impressora " << dados.value(1).toString() << " ====\n";
    out << dados.value(9).toString().trimmed() << '\n';
    out << dados.value(10).toString() << ' ' << dados.value(2).toString() << '\n';
    out << dados.value(14).toString() << ' ' << dados.value(3).toString() << '\n';
    out << dados.value(12).toString() << ' ' << dados.value(4).toString() << '\n';
    out << dados.value(11).toString() << ' ' << dados.value(5).toString() << dados.value(6).toString() << '\n';
    out << dados.value(13).toString() << ' ' << dados.value(16).toString() << " (" << dados.value(17).toString()
        << ")\n";
    int linhas = 0;
    if (IsDataPacket(dados.value(8))) {
        const TDataPacket pacote = ToDataPacket(dados.value(8));
        for (const QVariantList& row : pacote.Rows) {
            out << "  " << Juntar(row) << '\n';
            ++linhas;
        }
    }
    out.flush();
    Acrescenta(kTiquetes, texto);
    std::printf("Tíquete de cancelamento (%d linhas) gravado em %s\n", linhas, qPrintable(ArquivoTill(kTiquetes)));
    std::fflush(stdout);
}

void RelFiscais()
{
    Registra(kLogOperacoes, QStringLiteral("Menu fiscal aberto"));
    QMessageBox::information(nullptr, QStringLiteral("Menu Fiscal"),
                             QStringLiteral("Menu fiscal do caixa.\nNenhuma impressora fiscal nesta demonstração."));
}

void LimpaDisplay()
{
    Registra(kDisplay, QStringLiteral("(limpa)"));
}

void DisplayEnviaTexto(const QString& texto, int linha, int coluna, int, int)
{
    Registra(kDisplay, QStringLiteral("linha %1 coluna %2: %3").arg(linha).arg(coluna).arg(texto));
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
    Wdc00002::LogImpNFiscal = LogImpNFiscal;
    Wdc00002::LogControleAcess = LogControleAcess;
    Wdc00002::DisparaImprimeCancProduto = DisparaImprimeCancProduto;
    Wdc00002::RelFiscais = RelFiscais;
    Wdc00001::LimpaDisplay = LimpaDisplay;
    Wdc00001::DisplayEnviaTexto = DisplayEnviaTexto;
}
