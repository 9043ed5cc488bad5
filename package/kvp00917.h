/* The package's entry for a host in any language: C linkage, UTF-8 texts, and
 * no exception crosses it. Calls are made one at a time, on the host's
 * user-interface thread. */
#ifndef KVP00917_H
#define KVP00917_H

/* The package itself builds with this set to its export attribute. */
#ifndef KVP00917_ENTRY
#define KVP00917_ENTRY
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* How the last call ended (CancelaProdutoFim). */
enum {
    CANCELAPRODUTO_CONCLUIDO = 0, /* completed */
    CANCELAPRODUTO_FALHOU = 1, /* failed: the text is in CancelaProdutoErro() */
    CANCELAPRODUTO_MENSAGEM = 2 /* a failure already shown to the operator (the window's message box or,
                                   without a display, standard error) ended it */
};

/* Runs one cancellation for one order: the order's tab number, the tab as
 * people know it, the service mode and the table number ("" without one). */
KVP00917_ENTRY void CancelaProduto(const char* nrComanda, const char* dsComanda, const char* modo, const char* nrMesa);

/* The error text of the last call: empty unless it failed. Valid until the next call. */
KVP00917_ENTRY const char* CancelaProdutoErro(void);

/* How the last call ended, one of the values above. When mensagem is not null,
 * *mensagem receives the text of the message that ended it
 * (CANCELAPRODUTO_MENSAGEM), else an empty text. Valid until the next call. */
KVP00917_ENTRY int CancelaProdutoFim(const char** mensagem);

#ifdef __cplusplus
}
#endif

#endif
