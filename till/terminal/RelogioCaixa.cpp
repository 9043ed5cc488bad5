#include "RelogioCaixa.h"

#include <mutex>

namespace {

std::mutex g_trava;
std::function<QDateTime()> g_relogio;

} // namespace

QDateTime AgoraCaixa()
{
    std::function<QDateTime()> relogio;
    {
        const std::lock_guard l(g_trava);
        relogio = g_relogio;
    }
    return relogio ? relogio() : QDateTime::currentDateTime();
}

void DefineRelogioCaixa(std::function<QDateTime()> relogio)
{
    const std::lock_guard l(g_trava);
    g_relogio = std::move(relogio);
}
