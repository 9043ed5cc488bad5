// The till: loads the cancellation package from its own folder and calls its
// entry for one order, with its own operator services behind it.
//   till                      (the open orders; the chosen one is called)
//   till NRCOMANDA DSCOMANDA MODO [NRMESA]
//   till --scenario FILE [--record OUT.json]
//   till --write-demo-files [--overwrite]
//   till --retry-spool
//   till --set-pin CODIGO [--codes N,M] [--name NOME]
//   till --report [--from DATA] [--to DATA] [--csv ARQUIVO]
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ArquivoAcesso.h"
#include "ArquivosDemo.h"
#include "CapturaTela.h"
#include "ComandoRelatorio.h"
#include "Exception.h"
#include "ExecucaoCenario.h"
#include "HostServices.h"
#include "ImpressaoCancelamento.h"
#include "JanelaPedidos.h"
#include "LocaleTerminal.h"
#include "Pacote.h"
#include "ServicosTill.h"
#include "kvp00917.h"

namespace {

// At most this long for a one-call run's tickets once the call has returned.
constexpr int kEsperaFimMs = 120000;

const char* const kUso
    = "Uso: till\n"
      "     till NRCOMANDA DSCOMANDA MODO [NRMESA]\n"
      "     till --scenario ARQUIVO [--record SAIDA.json]\n"
      "     till --write-demo-files [--overwrite]\n"
      "     till --retry-spool\n"
      "     till --set-pin CODIGO [--codes N,M | --codes '*'] [--name NOME]\n"
      "     till --help\n"
      "     till --report [--from DATA] [--to DATA] [--csv ARQUIVO]\n"
      "\n"
      "Sem argumentos mostra os pedidos abertos do banco (mesas com as mesas juntadas, comandas e\n"
      "  entregas, com itens e total dos itens não cancelados); o pedido escolhido abre o cancelamento\n"
      "  de produtos, e uma entrega pode ser cancelada toda. Mostra também os tíquetes de cancelamento\n"
      "  que aguardam impressora e tenta enviá-los de novo a cada 30 segundos. Sem tela, grava a\n"
      "  imagem da janela (tela-1-frmPedidos.png na pasta do caixa) e termina.\n"
      "NRCOMANDA DSCOMANDA MODO [NRMESA] chama o cancelamento para um pedido. MODO: RES (mesa),\n"
      "  CMD (comanda), DLV (entrega); DLV_T com NRMESA T cancela a entrega toda.\n"
      "\n"
      "--scenario roda a chamada descrita no arquivo (JSON) sem ninguém na tela: respostas do\n"
      "  operador e ações na janela vêm do arquivo, e o registro do que o caixa viu (serviços\n"
      "  chamados, como a chamada terminou, linhas da grade) vai para SAIDA.json ou para a saída\n"
      "  padrão. Os arquivos do terminal da rodada (PARAMETROSQRV.CDS e ControleAcess.cds) são os\n"
      "  de demonstração com os valores de \"parameters\" e \"operator\" do cenário, gravados numa\n"
      "  pasta temporária que é apagada no fim: os arquivos da pasta do caixa não são lidos nem\n"
      "  alterados. O banco é o de \"database\", senão o de sempre (KVP_DATABASE, kvp.ini, kvp-demo.db).\n"
      "  Saída 0: a chamada rodou, qualquer que seja o resultado; 1: cenário com erro (a mensagem\n"
      "  diz onde) ou caixa sem o pacote. Exemplos em till/scenarios/ do código-fonte.\n"
      "--write-demo-files grava na pasta do caixa os arquivos do terminal de demonstração\n"
      "  (PARAMETROSQRV.CDS e Dados/Cadastros/ControleAcess.cds); --overwrite substitui os que existem.\n"
      "--retry-spool envia de novo os tíquetes de cancelamento que aguardam impressora\n"
      "  (Tiquetes/Pendentes); saída 0 quando não sobra nenhum. O caixa também tenta ao iniciar.\n"
      "--set-pin grava o PIN (lido da entrada padrão) de quem autoriza os códigos de acesso dados\n"
      "  em Dados/Cadastros/Supervisores.cds; sem --codes, um usuário já cadastrado mantém os seus.\n"
      "\n"
      "O banco é o de KVP_DATABASE, senão a linha database= do kvp.ini da pasta do caixa, senão\n"
      "  kvp-demo.db nessa pasta. Datas e números seguem o idioma do terminal, [Terminal] Locale= do\n"
      "  kvp.ini (pt_BR quando ausente: 08/12/2026, 0,5), qualquer que seja o idioma da máquina;\n"
      "  --scenario mantém o da máquina, para que um cenário gravado não mude de sentido.\n"
      "--help (ou -h) mostra esta ajuda.\n";

int Uso(std::FILE* saida, int codigo)
{
    std::fputs(kUso, saida);
    // The report's lines, less their usage line, which kUso already holds.
    const char* relatorio = std::strchr(kUsoRelatorio, '\n');
    std::fputs(relatorio ? relatorio + 1 : kUsoRelatorio, saida);
    return codigo;
}

// Before anything loads the package, which formats in the default locale.
// Scenario runs keep the machine's, so that a kept file keeps its meaning.
void LocaleDoTerminal()
{
    QString problema;
    const QLocale locale = AplicaLocaleTerminal(&problema);
    if (!problema.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(problema));
    // The file dialog and the standard buttons in the till's language as well.
    InstalaTraducaoQt(locale);
}

} // namespace

int main(int argc, char** argv)
{
    const bool semTela = qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (semTela && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    if (args.value(0) == QLatin1String("--help") || args.value(0) == QLatin1String("-h"))
        return Uso(stdout, 0);
    if (args.value(0) == QLatin1String("--write-demo-files")) {
        try {
            GravaArquivosDemo(HostFolder(), args.contains(QStringLiteral("--overwrite")));
            return 0;
        } catch (const Exception& e) {
            std::fprintf(stderr, "Erro: %s\n", e.what());
            return 1;
        }
    }
    if (args.value(0) == QLatin1String("--scenario")) {
        const bool comRegistro = args.size() == 4 && args.at(2) == QLatin1String("--record");
        if (args.size() != 2 && !comRegistro)
            return Uso(stderr, 2);
        return ExecutaCenario(args.at(1), comRegistro ? args.at(3) : QString());
    }
    if (args.value(0) == QLatin1String("--report")) {
        LocaleDoTerminal();
        return ExecutaRelatorio(args);
    }
    if (args.value(0) == QLatin1String("--set-pin"))
        return DefinePinSupervisor(args.mid(1));
    if (args.size() == 1 && args.at(0) == QLatin1String("--retry-spool"))
        return ReenviaTiquetesPendentes() == 0 ? 0 : 1;
    if (args.isEmpty()) {
        LocaleDoTerminal();
        InstalaServicosTill();
        std::unique_ptr<CapturaTela> captura;
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            captura = std::make_unique<CapturaTela>();
        TJanelaPedidos janela(PackageFolder());
        janela.show();
        const int codigo = app.exec();
        // A ticket still in the spool is sent at the next start.
        EncerraEnvioTiquetes();
        return codigo;
    }
    if (args.size() < 3 || args.size() > 4 || args.at(0).startsWith(QLatin1String("--")))
        return Uso(stderr, 2);

    LocaleDoTerminal();
    InstalaServicosTill();
    // What an earlier run left in the spool goes first, off this thread.
    TRemetenteTiquetes::Instancia().Acorda();
    std::unique_ptr<TPacote> pacote;
    try {
        pacote = std::make_unique<TPacote>(PackageFolder());
    } catch (const Exception& e) {
        std::fprintf(stderr, "Erro: %s\n", e.what());
        return 1;
    }

    std::unique_ptr<CapturaTela> captura;
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        captura = std::make_unique<CapturaTela>();

    pacote->Inicializa();
    const TFimChamada fim = pacote->Chama(args.value(0), args.value(1), args.value(2), args.value(3));
    pacote.reset();
    captura.reset();
    // The run ends here: its tickets get one try at their printers (each wait
    // bounded by the printer's time-out); what fails waits in the spool.
    TRemetenteTiquetes::Instancia().Acorda();
    TRemetenteTiquetes::Instancia().Aguarda(kEsperaFimMs);
    EncerraEnvioTiquetes();

    if (fim.Fim == CANCELAPRODUTO_FALHOU) {
        std::fprintf(stderr, "Erro: %s\n", fim.Erro.toUtf8().constData());
        return 1;
    }
    // The operator already saw that message; the till only says it failed.
    return fim.Fim == CANCELAPRODUTO_CONCLUIDO ? 0 : 1;
}
