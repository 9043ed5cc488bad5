#include "Pkg_kvp00917.h"

#include "Cli_kvp00917.h"

namespace {

void ClienteInicializacao()
{
    Cli_kvp00917::Inicializacao();
}

void ClienteFinalizacao()
{
    Cli_kvp00917::Finalizacao();
}

// The required packages (_dll, Wdc00002, Wdc00001) are started by the loader
// before this one; their units are not listed here.
const PackageUnitEntry unidades[] = {
    {"Srv_kvp00917", nullptr, nullptr},
    {"Cli_kvp00917", ClienteInicializacao, ClienteFinalizacao},
    {"Pkg_kvp00917", nullptr, nullptr},
};

const PackageInfoTable tabela = {int(sizeof(unidades) / sizeof(unidades[0])), unidades};

int iniciadas = 0; // units whose start-up section ran

} // namespace

extern "C" void Initialize(void)
{
    while (iniciadas < tabela.UnitCount) {
        const PackageUnitEntry& unidade = tabela.Units[iniciadas];
        ++iniciadas;
        if (unidade.Init)
            unidade.Init();
    }
}

extern "C" void Finalize(void)
{
    while (iniciadas > 0) {
        --iniciadas;
        const PackageUnitEntry& unidade = tabela.Units[iniciadas];
        if (unidade.FInit)
            unidade.FInit();
    }
}

extern "C" const PackageInfoTable* GetPackageInfoTable(void)
{
    return &tabela;
}
