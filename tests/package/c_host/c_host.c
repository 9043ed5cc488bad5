/* A host written in plain C, without Qt: loads the cancellation package at run
 * time and calls its entry twice for the same order. Used by the package tests
 * with no database reachable: both calls must come back with an error text.
 *
 *   c_host [FOLDER-OF-libpkg_kvp00917.so]    (default: $KVP_BIN_DIR, then ".")
 *
 * Exit 0: both calls returned and reported a failure text; 1: a call reported
 * no failure; 2: the package could not be loaded. */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>

typedef void (*FrameFn)(void);
typedef void (*CancelaProdutoFn)(const char*, const char*, const char*, const char*);
typedef const char* (*CancelaProdutoErroFn)(void);

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
    if (!initialize || !finalize || !cancela || !erro)
        return 2;

    initialize();
    int failures = 0;
    for (int call = 1; call <= 2; ++call) {
        cancela("0000000100", "CMD_0100", "CMD", "");
        const char* text = erro();
        if (text && *text) {
            printf("chamada %d: erro: %s\n", call, text);
            ++failures;
        } else {
            printf("chamada %d: sem erro\n", call);
        }
        fflush(stdout);
    }
    finalize();
    /* The package stays loaded: it keeps the Qt application it created. */
    return failures == 2 ? 0 : 1;
}
