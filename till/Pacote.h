#pragma once
// The cancellation package as the till loads it: from the till's own folder,
// through its C entry, as any host would.
#include <QLibrary>
#include <QString>

// How one call ended, as the package's entry reports it.
struct TFimChamada {
    int Fim = 0; // CANCELAPRODUTO_CONCLUIDO, _FALHOU or _MENSAGEM
    QString Erro; // the error text of a failed call
    QString Mensagem; // the message that ended a call
};

class TPacote {
public:
    // Loads the package and resolves its entries; raises Exception when it cannot.
    explicit TPacote(const QString& folder);
    ~TPacote(); // runs Finalize when Initialize ran; the library stays loaded

    void Inicializa();
    TFimChamada Chama(const QString& nrComanda, const QString& dsComanda, const QString& modo, const QString& nrMesa);

private:
    using TCancelaProduto = void (*)(const char*, const char*, const char*, const char*);
    using TCancelaProdutoErro = const char* (*)();
    using TCancelaProdutoFim = int (*)(const char**);
    using TFrame = void (*)();

    QLibrary m_biblioteca;
    TCancelaProduto m_cancelaProduto = nullptr;
    TCancelaProdutoErro m_cancelaProdutoErro = nullptr;
    TCancelaProdutoFim m_cancelaProdutoFim = nullptr;
    TFrame m_initialize = nullptr;
    TFrame m_finalize = nullptr;
    bool m_inicializado = false;
};
