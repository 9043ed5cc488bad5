// A Qt host without widgets (a console till service, say) that sets no
// message handler: nobody can answer a question there, so every question must
// come back "no" and every notice must go through.
//
//   headless_question      prints one line per message: "<kind>: sim|não"
#include <QCoreApplication>
#include <cstdio>

#include "Mensagem.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const struct {
        const char* kind;
        const char* pergunta;
        int tipo;
    } messages[] = {
        {"pergunta", "S", 1},
        {"pergunta de aviso", "S", 0},
        {"pergunta pelo tipo", "N", 1},
        {"aviso", "N", 3},
    };
    for (const auto& m : messages) {
        const bool answer = Mensagem(QStringLiteral("Confirma o cancelamento do produto ?"), QString(),
                                     QStringLiteral("N"), QString::fromLatin1(m.pergunta), m.tipo, QString(),
                                     QStringLiteral("002"), 0);
        std::printf("%s: %s\n", m.kind, answer ? "sim" : "não");
    }
    return 0;
}
