/* A host written in plain C, without Qt: loads the cancellation package at run
 * time and calls its entry twice for the same order, printing how each call
 * ended. Used by the package tests on machines without any display.
 *
 *   c_host [FOLDER-OF-libpkg_kvp00917.so [NRCOMANDA DSCOMANDA MODO [NRMESA]]]
 *
 * FOLDER defaults to $KVP_BIN_DIR, then "."; the order to tab 0000000100.
 * Each call prints "chamada N: fim F" and then "chamada N: erro: TEXT" (F 1),
 * "chamada N: mensagem: TEXT" (F 2) or "chamada N: sem erro" (F 0).
 * Exit 0: both calls ended alike, each as its reports agree (an error text
 * exactly when it failed); 1: they did not; 2: the package could not be loaded. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "kvp00917.h"

typedef void (*FrameFn)(void);
typedef void (*CancelaProdutoFn)(const char*, const char*, const char*, const char*);
typedef const char* (*CancelaProdutoErroFn)(void);
typedef int (*CancelaProdutoFimFn)(const char**);

static void* resolve(void* library, const char* name)
{
    void* symbol = dlsym(library, name);
    if (!symbol)
        fprintf(stderr, "c_host: %s not exported: %s\n", name, dlerror());
    return symbol;
}

int main(int argc, char** argv)
{
    const char* folder = argc > 1 ? argv[1] : getenv("KVP_BIN_DIR");
    const char* nrComanda = argc > 4 ? argv[2] : "0000000100";
    const char* dsComanda = argc > 4 ? argv[3] : "CMD_0100";
    const char* modo = argc > 4 ? argv[4] : "CMD";
    const char* nrMesa = argc > 5 ? argv[5] : "";
    char path[4096];
    snprintf(path, sizeof path, "%s/libpkg_kvp00917.so", folder && *folder ? folder : ".");

    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        fprintf(stderr, "c_host: %s\n", dlerror());
        return 2;
    }
    FrameFn initialize = (FrameFn)resolve(library, "Initialize");
    FrameFn finalize = (FrameFn)resolve(library, "Finalize");
    CancelaProdutoFn cancela = (CancelaProdutoFn)resolve(library, "CancelaProduto");
    CancelaProdutoErroFn erro = (CancelaProdutoErroFn)resolve(library, "CancelaProdutoErro");
    CancelaProdutoFimFn fim = (CancelaProdutoFimFn)resolve(library, "CancelaProdutoFim");
    if (!initialize || !finalize || !cancela || !erro || !fim)
        return 2;

    initialize();
    int fins[2] = {-1, -1};
    int coerentes = 1;
    for (int call = 1; call <= 2; ++call) {
        cancela(nrComanda, dsComanda, modo, nrMesa);
        const char* text = erro();
        const char* mensagem = NULL;
        const int f = fim(&mensagem);
        fins[call - 1] = f;
        printf("chamada %d: fim %d\n", call, f);
        if (f == CANCELAPRODUTO_FALHOU)
            printf("chamada %d: erro: %s\n", call, text);
        else if (f == CANCELAPRODUTO_MENSAGEM)
            printf("chamada %d: mensagem: %s\n", call, mensagem);
        else
            printf("chamada %d: sem erro\n", call);
        if (!text || !mensagem || (f == CANCELAPRODUTO_FALHOU) != (*text != '\0')
            || (f != CANCELAPRODUTO_MENSAGEM && *mensagem != '\0'))
            coerentes = 0;
        fflush(stdout);
    }
    finalize();
    /* The package stays loaded: it keeps the Qt application it created. */
    return coerentes && fins[0] == fins[1] ? 0 : 1;
}
