#pragma once
// Drives calls of the package's entry in tests: writes the terminal's files
// into a host folder of the test's own, and acts on the cancellation window
// while its modal display is running.
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

class TfrmCancelaProd;

// The parameters file, with every column unless one is left out.
struct Parametros {
    bool UtilizaImpFis = false;
    QString IdSolObsCan = QStringLiteral("N");
    QString Omitir; // a column name the file must lack
};

void GravaParametros(const QString& folder, const Parametros& p);
void GravaOperador(const QString& folder);

// Watches for the window's first showing and runs the action inside the modal
// display; a window the action left open is closed afterwards, so that a
// failing test cannot hang.
class JanelaEmTeste {
public:
    explicit JanelaEmTeste(std::function<void(TfrmCancelaProd&)> action);
    ~JanelaEmTeste();

    bool Mostrada = false; // the window was shown
    bool AbertaAposAcao = false; // the action did not close it
    bool TinhaFocoNaGrade = false; // the grid had the focus when it opened
    QPointer<TfrmCancelaProd> Janela; // null once the entry freed it
    QPointer<QObject> Modulo; // the data module during the display

private:
    struct Filter;
    Filter* m_filter;
};

// Runs the plain C host (tests/package/c_host) with no screen and no platform
// chosen, as a host on a headless machine would: the package must pick one.
struct CHostRun {
    bool Terminou = false; // false: killed after the wait, still running
    int Codigo = -1;
    QString Saida;
    QString Erros;
};
CHostRun RodaCHost(const QString& bin, const QString& pasta, const QString& banco, const QStringList& chamada,
                   int esperaMs);
