// The till's operator dialogs: the supervisor's PIN (kept salted, three wrong
// ones refuse) and the numeric keypad, driven through their controls.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ArquivoAcesso.h"
#include "ArquivosDemo.h"
#include "BlendedBitBtn.h"
#include "Exception.h"
#include "LogsTill.h"
#include "SaidasTillSupport.h"
#include "ServicosOperador.h"
#include "TecladoNumericoDialog.h"
#include "TecladoWidget.h"
#include "VerificaAcessoDialog.h"

namespace {

using Operador = SaidasTillTest;

void Digita(TTecladoWidget* teclado, const QString& digitos)
{
    for (const QChar c : digitos)
        QTest::mouseClick(c.isDigit() ? teclado->sbtTecla[c.digitValue()] : teclado->sbtVirgula, Qt::LeftButton);
}

// Supervisor and PIN typed on the dialog's keys, then OK.
void Autoriza(TVerificaAcessoDialog& d, const QString& codigo, const QString& pin)
{
    QTest::mouseClick(d.edtSupervisor, Qt::LeftButton);
    d.teclado->sbtLimpa->click();
    Digita(d.teclado, codigo);
    QTest::mouseClick(d.edtPin, Qt::LeftButton);
    Digita(d.teclado, pin);
    QTest::mouseClick(d.sbtOk, Qt::LeftButton);
}

QStringList LinhasLog(const QString& nome)
{
    QFile f(PastaLogs() + QLatin1Char('/') + nome);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                       : QStringList();
}

TEST_F(Operador, PinGuardadoSalgadoPorUsuarioNuncaEmClaro)
{
    TArquivoAcesso a = TArquivoAcesso::Le();
    a.DefinePin(QStringLiteral("0099"), QStringLiteral("97531864"), QStringLiteral("31,32"), QStringLiteral("Ana"));
    a.DefinePin(QStringLiteral("0100"), QStringLiteral("97531864"), QStringLiteral("32"), QString());
    EXPECT_THROW(a.DefinePin(QStringLiteral("0101"), QStringLiteral("97531864"), QString(), QString()), Exception)
        << "a new user needs the codes he may authorise";
    EXPECT_THROW(a.DefinePin(QStringLiteral("0099"), QStringLiteral("12a4"), QString(), QString()), Exception);
    EXPECT_THROW(a.DefinePin(QStringLiteral("0099"), QStringLiteral("1234"), QStringLiteral("31;x"), QString()),
                 Exception);
    a.Grava();

    QFile f(TArquivoAcesso::Caminho());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_FALSE(f.readAll().contains("97531864"));

    const TArquivoAcesso lido = TArquivoAcesso::Le();
    ASSERT_EQ(lido.Usuarios().size(), 2);
    const TUsuarioAcesso* ana = lido.Usuario(QStringLiteral("0099"));
    const TUsuarioAcesso* outro = lido.Usuario(QStringLiteral("0100"));
    ASSERT_TRUE(ana && outro);
    EXPECT_EQ(ana->Nome, QStringLiteral("Ana"));
    EXPECT_NE(ana->Pin.Sal, outro->Pin.Sal);
    EXPECT_NE(ana->Pin.Hash, outro->Pin.Hash);

    using C = TArquivoAcesso::TConferencia;
    EXPECT_EQ(lido.Confere(QStringLiteral("0099"), QStringLiteral("97531864"), 31), C::Autorizado);
    EXPECT_EQ(lido.Confere(QStringLiteral("0099"), QStringLiteral("97531865"), 31), C::PinErrado);
    EXPECT_EQ(lido.Confere(QStringLiteral("0100"), QStringLiteral("97531864"), 31), C::SemPermissao);
    EXPECT_EQ(lido.Confere(QStringLiteral("0777"), QStringLiteral("97531864"), 31), C::PinErrado);

    // A new PIN for a known user keeps his codes and takes a new salt.
    TArquivoAcesso de_novo = lido;
    de_novo.DefinePin(QStringLiteral("0100"), QStringLiteral("2468"), QString(), QString());
    EXPECT_EQ(de_novo.Usuario(QStringLiteral("0100"))->Acessos, QStringLiteral("32"));
    EXPECT_NE(de_novo.Usuario(QStringLiteral("0100"))->Pin.Sal, outro->Pin.Sal);
}

TEST_F(Operador, DemonstracaoTemOSupervisorDocumentado)
{
    GravaArquivosDemo(pasta.path(), false);
    const TArquivoAcesso demo = TArquivoAcesso::Le();
    EXPECT_EQ(demo.Confere(QStringLiteral("0099"), QStringLiteral("1234"), 31),
              TArquivoAcesso::TConferencia::Autorizado);
    EXPECT_EQ(demo.Confere(QStringLiteral("0099"), QStringLiteral("4321"), 31),
              TArquivoAcesso::TConferencia::PinErrado);
}

TEST_F(Operador, SupervisorAutorizaOuTresPinsErradosRecusam)
{
    TArquivoAcesso a = TArquivoAcesso::Le();
    a.DefinePin(QStringLiteral("0099"), QStringLiteral("2580"), QStringLiteral("31"), QString());
    a.DefinePin(QStringLiteral("0003"), QStringLiteral("1111"), QStringLiteral("32"), QString());
    a.Grava();
    GravaArquivoTerminal(pasta.filePath(kArquivoParametros), ParametrosDemo());
    GravaArquivoTerminal(pasta.filePath(kArquivoOperador), OperadorDemo());

    // The operator holds code 32: no dialog, he is his own authoriser.
    QString autorizador;
    {
        AoAbrir<QDialog> nenhum([](QDialog& d) { d.reject(); });
        EXPECT_TRUE(VerificaAcessoTill(32, QStringLiteral("0003"), autorizador));
        EXPECT_FALSE(nenhum.Abriu());
    }
    EXPECT_EQ(autorizador, QStringLiteral("0003"));

    // A wrong PIN, then the right one: authorised, the supervisor written back.
    {
        AoAbrir<TVerificaAcessoDialog> ao([](TVerificaAcessoDialog& d) {
            Autoriza(d, QStringLiteral("0099"), QStringLiteral("9999"));
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(d.edtPin->text().isEmpty());
            EXPECT_TRUE(d.lblAviso->text().contains(QStringLiteral("1 de 3"))) << d.lblAviso->text().toStdString();
            Autoriza(d, QStringLiteral("0099"), QStringLiteral("2580"));
        });
        EXPECT_TRUE(VerificaAcessoTill(31, QStringLiteral("0003"), autorizador));
    }
    EXPECT_EQ(autorizador, QStringLiteral("0099"));

    // A right PIN without the permission is not a wrong PIN; three wrong ones refuse.
    autorizador = QStringLiteral("inalterado");
    {
        AoAbrir<TVerificaAcessoDialog> ao([](TVerificaAcessoDialog& d) {
            Autoriza(d, QStringLiteral("0003"), QStringLiteral("1111"));
            EXPECT_EQ(d.Falhas(), 0);
            for (int i = 0; i < 3; ++i)
                Autoriza(d, QStringLiteral("0099"), QStringLiteral("0000"));
        });
        EXPECT_FALSE(VerificaAcessoTill(31, QStringLiteral("0003"), autorizador));
    }
    EXPECT_EQ(autorizador, QStringLiteral("inalterado"));
    EXPECT_EQ(mensagens.value(0), QStringLiteral("Acesso negado: 3 PINs errados."));
    const QStringList log = LinhasLog(QStringLiteral("LogControleAcess.txt"));
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log.first().contains(QStringLiteral("| 0001 | 001 | NEGADO | 0003 | Operador de Demonstração | 0099 | "
                                                    "Acesso 31 negado | 3 PINs errados")))
        << log.first().toStdString();

    // Cancelled: refused, nothing logged.
    {
        AoAbrir<TVerificaAcessoDialog> ao([](TVerificaAcessoDialog& d) { d.sbtCancelar->click(); });
        EXPECT_FALSE(VerificaAcessoTill(31, QStringLiteral("0003"), autorizador));
    }
    EXPECT_EQ(LinhasLog(QStringLiteral("LogControleAcess.txt")).size(), 1);
}

// Wrong PINs are counted per code across dialogs and restarts of the till:
// the fifth in a row locks the code out (its right PIN refused too) for the
// time kvp.ini gives, doubling while it goes on; a right PIN clears the count.
TEST_F(Operador, PinsErradosBloqueiamOCodigoEntreDialogosEReinicios)
{
    TArquivoAcesso a = TArquivoAcesso::Le();
    a.DefinePin(QStringLiteral("0099"), QStringLiteral("2580"), QStringLiteral("31"), QString());
    a.DefinePin(QStringLiteral("0100"), QStringLiteral("1357"), QStringLiteral("31"), QString());
    a.Grava();
    GravaArquivoTerminal(pasta.filePath(kArquivoParametros), ParametrosDemo());
    GravaArquivoTerminal(pasta.filePath(kArquivoOperador), OperadorDemo());
    QString autorizador;
    {
        AoAbrir<TVerificaAcessoDialog> ao([](TVerificaAcessoDialog& d) {
            for (int i = 0; i < 3; ++i)
                Autoriza(d, QStringLiteral("0099"), QStringLiteral("0000"));
        });
        EXPECT_FALSE(VerificaAcessoTill(31, QStringLiteral("0003"), autorizador));
    }
    // A new call, a new dialog: two more wrong PINs lock 0099 out; then its
    // right PIN is refused, and another supervisor still authorises.
    {
        AoAbrir<TVerificaAcessoDialog> ao([](TVerificaAcessoDialog& d) {
            Autoriza(d, QStringLiteral("0099"), QStringLiteral("0000"));
            EXPECT_TRUE(d.lblAviso->text().contains(QStringLiteral("1 de 3"))) << d.lblAviso->text().toStdString();
            Autoriza(d, QStringLiteral("0099"), QStringLiteral("0000"));
            EXPECT_EQ(d.lblAviso->text(),
                      QStringLiteral("Supervisor 0099 bloqueado por PINs incorretos demais. "
                                     "Aguarde 5 minutos e tente de novo, ou chame outro supervisor."));
            Autoriza(d, QStringLiteral("0099"), QStringLiteral("2580"));
            EXPECT_TRUE(d.isVisible());
            EXPECT_TRUE(d.lblAviso->text().contains(QStringLiteral("bloqueado"))) << d.lblAviso->text().toStdString();
            Autoriza(d, QStringLiteral("0100"), QStringLiteral("1357"));
        });
        EXPECT_TRUE(VerificaAcessoTill(31, QStringLiteral("0003"), autorizador));
    }
    EXPECT_EQ(autorizador, QStringLiteral("0100"));
    const QStringList log = LinhasLog(QStringLiteral("LogControleAcess.txt"));
    EXPECT_EQ(log.filter(QStringLiteral("| BLOQUEIO | 0003 | Operador de Demonstração | 0099 | Acesso 31 negado | "
                                        "5 PINs errados seguidos: bloqueado por 5 minuto(s)"))
                  .size(),
              1)
        << log.join(QLatin1Char('\n')).toStdString();

    // A restart reads the file afresh: still locked out.
    const QDateTime agora = QDateTime::currentDateTimeUtc();
    const TArquivoAcesso reiniciado = TArquivoAcesso::Le();
    EXPECT_EQ(reiniciado.Confere(QStringLiteral("0099"), QStringLiteral("2580"), 31, agora),
              TArquivoAcesso::TConferencia::Bloqueado);
    const qint64 resta = reiniciado.SegundosBloqueado(QStringLiteral("0099"), agora);
    EXPECT_TRUE(resta > 240 && resta <= 300) << resta;
    // Once it ends, one more wrong PIN locks it for twice as long; the right
    // one after that clears the count: four wrong ones then lock nothing.
    const QDateTime depois = agora.addSecs(301);
    EXPECT_EQ(reiniciado.Confere(QStringLiteral("0099"), QStringLiteral("1111"), 31, depois),
              TArquivoAcesso::TConferencia::PinErrado);
    EXPECT_EQ(reiniciado.SegundosBloqueado(QStringLiteral("0099"), depois), 600);
    const QDateTime bemDepois = depois.addSecs(601);
    EXPECT_EQ(reiniciado.Confere(QStringLiteral("0099"), QStringLiteral("2580"), 31, bemDepois),
              TArquivoAcesso::TConferencia::Autorizado);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(reiniciado.Confere(QStringLiteral("0099"), QStringLiteral("1111"), 31, bemDepois),
                  TArquivoAcesso::TConferencia::PinErrado);
    EXPECT_EQ(reiniciado.SegundosBloqueado(QStringLiteral("0099"), bemDepois), 0);

    // The site's own rule from kvp.ini: two wrong PINs, one minute.
    Escreve(QStringLiteral("kvp.ini"), QStringLiteral("[Supervisores]\nFalhasParaBloqueio=2\nMinutosDeBloqueio=1\n"));
    const TArquivoAcesso estrito = TArquivoAcesso::Le();
    for (int i = 0; i < 2; ++i)
        estrito.Confere(QStringLiteral("0100"), QStringLiteral("0000"), 31, bemDepois);
    EXPECT_EQ(estrito.SegundosBloqueado(QStringLiteral("0100"), bemDepois), 60);
}

// The access file and its folder are the till's alone, whatever the umask,
// also when an older till left them open, and so is the count of wrong PINs.
TEST_F(Operador, ArquivoDeSupervisoresSoDoDonoQualquerQueSejaOUmask)
{
    const mode_t antes = ::umask(022);
    const QString cadastros = pasta.filePath(QStringLiteral("Dados/Cadastros"));
    const auto modo = [](const QString& caminho) {
        struct stat st {};
        return ::stat(QFile::encodeName(caminho).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
    };
    GravaArquivosDemo(pasta.path(), false);
    EXPECT_EQ(modo(pasta.filePath(kArquivoAcesso)), 0600);
    EXPECT_EQ(modo(cadastros), 0700);

    ASSERT_EQ(::chmod(QFile::encodeName(cadastros).constData(), 0755), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(pasta.filePath(kArquivoAcesso)).constData(), 0644), 0);
    TArquivoAcesso a = TArquivoAcesso::Le();
    a.DefinePin(QStringLiteral("0100"), QStringLiteral("24681357"), QStringLiteral("31"), QString());
    a.Grava();
    EXPECT_EQ(modo(pasta.filePath(kArquivoAcesso)), 0600);
    EXPECT_EQ(modo(cadastros), 0700);
    EXPECT_EQ(TArquivoAcesso::Le().Usuarios().size(), 2);

    EXPECT_EQ(a.Confere(QStringLiteral("0100"), QStringLiteral("0000"), 31), TArquivoAcesso::TConferencia::PinErrado);
    EXPECT_EQ(modo(a.ArquivoTentativas()), 0600);
    ::umask(antes);
}

// Runs till --set-pin in this process with the line given as its standard
// input; its exit code, and what it said on standard error.
struct SaidaSetPin {
    int Codigo = -1;
    QString Erros;
};
SaidaSetPin DefinePinCom(const QTemporaryDir& pasta, const QStringList& args, const QByteArray& linhaPin)
{
    const QString entrada = pasta.filePath(QStringLiteral("entrada.txt"));
    const QString erros = pasta.filePath(QStringLiteral("erros.txt"));
    QFile f(entrada);
    if (!f.open(QIODevice::WriteOnly) || f.write(linhaPin + '\n') < 0)
        return {};
    f.close();
    if (!std::freopen(QFile::encodeName(entrada).constData(), "r", stdin))
        return {};
    std::fflush(stderr);
    const int salvo = ::dup(STDERR_FILENO);
    const int fd = ::open(QFile::encodeName(erros).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, STDERR_FILENO);
    ::close(fd);
    SaidaSetPin s;
    s.Codigo = DefinePinSupervisor(args);
    std::fflush(stderr);
    ::dup2(salvo, STDERR_FILENO);
    ::close(salvo);
    QFile e(erros);
    if (e.open(QIODevice::ReadOnly))
        s.Erros = QString::fromUtf8(e.readAll());
    return s;
}

// Each refusal says why, answers 2 and writes nothing.
TEST_F(Operador, SetPinRecusaCodigoPinEOpcoesInvalidosSemGravar)
{
    const QString longo(100000, QLatin1Char('7'));
    const struct {
        QStringList args;
        QByteArray pin;
        QString motivo;
    } casos[] = {
        {{"0100 0101", "--codes", "31"}, "123456", "código de usuário inválido: \"0100 0101\""},
        {{"../../etc", "--codes", "31"}, "123456", "código de usuário inválido"},
        {{longo, "--codes", "31"}, "123456", "código de usuário inválido"},
        {{"1234567890123", "--codes", "31"}, "123456", "no máximo 12"},
        {{"0100", "--codes", "31", "--codes", "32"}, "123456", "a opção --codes foi dada duas vezes."},
        {{"0100", "--codes", "31", "--name", "Ana", "--name", "Bia"}, "123456", "a opção --name foi dada duas vezes."},
        {{"0100", "--codes", "31;x"}, "123456", "códigos de acesso inválidos"},
        {{"0100", "--codes", "31", "--name", QString(41, QLatin1Char('a'))}, "123456", "mais de 40 caracteres"},
        {{"0100"}, "123456", "é novo"},
        {{"0100", "--codes", "31"}, "12a456", "o PIN deve ter de 4 a 12 dígitos"},
        {{"0100", "--codes", "31"}, "1234567890123", "o PIN deve ter de 4 a 12 dígitos"},
        {{"0100", "--codes", "31"}, "123", "o PIN deve ter de 4 a 12 dígitos"},
    };
    for (const auto& caso : casos) {
        const SaidaSetPin s = DefinePinCom(pasta, caso.args, caso.pin);
        const std::string nome = caso.args.join(' ').left(40).toStdString() + " / " + caso.pin.toStdString();
        EXPECT_EQ(s.Codigo, 2) << nome;
        EXPECT_TRUE(s.Erros.startsWith(QStringLiteral("Erro: ")) && s.Erros.contains(caso.motivo))
            << nome << ": " << s.Erros.toStdString();
        EXPECT_FALSE(QFile::exists(pasta.filePath(kArquivoAcesso))) << nome;
    }
    // A long PIN, for sites that want one, is taken.
    const SaidaSetPin certo = DefinePinCom(pasta, {"0100", "--codes", "31"}, "246813579024");
    EXPECT_EQ(certo.Codigo, 0) << certo.Erros.toStdString();
    EXPECT_EQ(TArquivoAcesso::Le().Confere(QStringLiteral("0100"), QStringLiteral("246813579024"), 31),
              TArquivoAcesso::TConferencia::Autorizado);
}

TEST_F(Operador, SemArquivoDeAcessoNinguemAutorizaEOOperadorSabePorque)
{
    QString autorizador;
    EXPECT_FALSE(VerificaAcessoTill(31, QStringLiteral("0003"), autorizador));
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.first().startsWith(QStringLiteral("Nenhum supervisor cadastrado")))
        << mensagens.first().toStdString();
    EXPECT_TRUE(autorizador.isEmpty());
}

class Teclado : public SaidasTillTest {
protected:
    void SetUp() override
    {
        SaidasTillTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    }
    void TearDown() override
    {
        QLocale::setDefault(QLocale::c());
        SaidasTillTest::TearDown();
    }
};

TEST_F(Teclado, DigitaComVirgulaSoQuandoHaDecimais)
{
    TTecladoNumericoDialog decimal(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("V"), true, 10);
    decimal.show();
    EXPECT_TRUE(decimal.teclado->sbtVirgula->isVisible());
    Digita(decimal.teclado, QStringLiteral("1,,5"));
    EXPECT_EQ(decimal.edtValor->text(), QStringLiteral("1,5")) << "a second comma is refused";
    Digita(decimal.teclado, QStringLiteral("7"));
    QTest::mouseClick(decimal.teclado->sbtApaga, Qt::LeftButton);
    QTest::mouseClick(decimal.sbtOk, Qt::LeftButton);
    EXPECT_EQ(decimal.result(), QDialog::Accepted);
    EXPECT_EQ(decimal.Valor(), QStringLiteral("1,5"));

    TTecladoNumericoDialog inteiro(QStringLiteral("T"), QStringLiteral("P"), QStringLiteral("V"), false, 3);
    inteiro.show();
    EXPECT_FALSE(inteiro.teclado->sbtVirgula->isVisible());
    QTest::keyClicks(inteiro.edtValor, QStringLiteral("2,5.4x9"));
    EXPECT_EQ(inteiro.edtValor->text(), QStringLiteral("254")) << "digits only, up to the size given";
    QTest::mouseClick(inteiro.teclado->sbtLimpa, Qt::LeftButton);
    Digita(inteiro.teclado, QStringLiteral("12"));
    QTest::keyClick(inteiro.edtValor, Qt::Key_Return);
    EXPECT_EQ(inteiro.Valor(), QStringLiteral("12"));

    // Through the service: a dangling comma is dropped, the value written back.
    QString valor;
    AoAbrir<TTecladoNumericoDialog> ao([](TTecladoNumericoDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Cancelamento de Produto"));
        EXPECT_EQ(d.lblPergunta->text(), QStringLiteral("Informe a quantidade a ser cancelada"));
        Digita(d.teclado, QStringLiteral("2,"));
        d.sbtOk->click();
    });
    EXPECT_TRUE(TecladoNumericoTill(valor, QStringLiteral("Cancelamento de Produto"),
                                    QStringLiteral("Informe a quantidade a ser cancelada"),
                                    QStringLiteral("Quantidade deve ser informada."), 10, 0, true, 0, 0, 0));
    EXPECT_EQ(valor, QStringLiteral("2"));
}

TEST_F(Teclado, EntradaVaziaDizAMensagemDadaEDesistirDevolveFalso)
{
    QString valor = QStringLiteral("anterior");
    AoAbrir<TTecladoNumericoDialog> ao([this](TTecladoNumericoDialog& d) {
        d.sbtOk->click();
        EXPECT_TRUE(d.isVisible()) << "an empty entry is never confirmed";
        EXPECT_EQ(mensagens, QStringList{QStringLiteral("Quantidade deve ser informada.")});
        Digita(d.teclado, QStringLiteral(","));
        d.sbtOk->click();
        EXPECT_EQ(mensagens.size(), 2) << "a lone comma is no number either";
        d.sbtCancelar->click();
    });
    EXPECT_FALSE(TecladoNumericoTill(valor, QStringLiteral("Cancelamento de Produto"), QStringLiteral("Quantos?"),
                                     QStringLiteral("Quantidade deve ser informada."), 10, 0, true, 0, 0, 0));
    EXPECT_EQ(valor, QStringLiteral("anterior"));
}

// The lock-out runs on the till's clock, which is what the dialogs ask by
// when they give no time of their own.
TEST_F(Operador, BloqueioCorreNoRelogioDoCaixa)
{
    TArquivoAcesso a = TArquivoAcesso::Le();
    a.DefinePin(QStringLiteral("0099"), QStringLiteral("2580"), QStringLiteral("31"), QString());
    a.Grava();
    const QDate dia(2026, 12, 8);
    RelogioParado relogio(QDateTime(dia, QTime(19, 30)));
    const TArquivoAcesso arquivo = TArquivoAcesso::Le();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(arquivo.Confere(QStringLiteral("0099"), QStringLiteral("0000"), 31),
                  TArquivoAcesso::TConferencia::PinErrado);
    EXPECT_EQ(arquivo.SegundosBloqueado(QStringLiteral("0099")), 300);
    relogio.Para(QDateTime(dia, QTime(19, 34)));
    EXPECT_EQ(arquivo.SegundosBloqueado(QStringLiteral("0099")), 60);
    EXPECT_EQ(arquivo.Confere(QStringLiteral("0099"), QStringLiteral("2580"), 31),
              TArquivoAcesso::TConferencia::Bloqueado);
    relogio.Para(QDateTime(dia, QTime(19, 35)));
    EXPECT_EQ(arquivo.Confere(QStringLiteral("0099"), QStringLiteral("2580"), 31),
              TArquivoAcesso::TConferencia::Autorizado);
}

} // namespace
