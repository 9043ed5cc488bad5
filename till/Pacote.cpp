#include "Pacote.h"

#include "Exception.h"
#include "kvp00917.h"

TPacote::TPacote(const QString& folder) : m_biblioteca(folder + QStringLiteral("/pkg_kvp00917"))
{
    if (!m_biblioteca.load())
        throw Exception(QStringLiteral("pacote não carregado: %1").arg(m_biblioteca.errorString()));
    m_cancelaProduto = reinterpret_cast<TCancelaProduto>(m_biblioteca.resolve("CancelaProduto"));
    m_cancelaProdutoErro = reinterpret_cast<TCancelaProdutoErro>(m_biblioteca.resolve("CancelaProdutoErro"));
    m_cancelaProdutoFim = reinterpret_cast<TCancelaProdutoFim>(m_biblioteca.resolve("CancelaProdutoFim"));
    m_initialize = reinterpret_cast<TFrame>(m_biblioteca.resolve("Initialize"));
    m_finalize = reinterpret_cast<TFrame>(m_biblioteca.resolve("Finalize"));
    if (!m_cancelaProduto || !m_cancelaProdutoErro || !m_cancelaProdutoFim || !m_initialize || !m_finalize)
        throw Exception(QStringLiteral("o pacote não exporta a entrada CancelaProduto."));
}

TPacote::~TPacote()
{
    if (m_inicializado)
        m_finalize();
}

void TPacote::Inicializa()
{
    m_initialize();
    m_inicializado = true;
}

TFimChamada TPacote::Chama(const QString& nrComanda, const QString& dsComanda, const QString& modo,
                           const QString& nrMesa)
{
    m_cancelaProduto(nrComanda.toUtf8().constData(), dsComanda.toUtf8().constData(), modo.toUtf8().constData(),
                     nrMesa.toUtf8().constData());
    TFimChamada fim;
    fim.Erro = QString::fromUtf8(m_cancelaProdutoErro());
    const char* mensagem = nullptr;
    fim.Fim = m_cancelaProdutoFim(&mensagem);
    fim.Mensagem = QString::fromUtf8(mensagem);
    return fim;
}
