#pragma once
// Plays a scenario's actions on the cancellation window while its modal
// display runs, as a person would: double-clicks and clicks at the cells'
// places, key events to the focused control, clicks on the named buttons.
// After the last action it closes the window if that is still open, and it
// keeps the rows the grid showed when the window closed.
#include <QJsonArray>
#include <QObject>
#include <QPointer>

#include "Cenario.h"

class QDialog;

class TJanelaCenario : public QObject {
public:
    // arquivo: the scenario file's name, for messages.
    TJanelaCenario(QString arquivo, QList<TAcaoCenario> acoes);
    ~TJanelaCenario() override;

    // Pictures of the window as it opened, before each click and at the end,
    // as PNGs named after `prefixo` in `pasta` (their paths printed).
    void GuardaTelas(const QString& pasta, const QString& prefixo);

    bool Mostrada() const { return m_mostrada; }
    // A mistake of the scenario found while playing it (a row the grid does
    // not show, ...); the actions stopped there.
    QString Erro() const { return m_erro; }
    // The rows the grid showed when the window closed: comanda, item,
    // product, quantity, state, marked.
    QJsonArray Grade() const { return m_grade; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Executa();
    void Realiza(QDialog& janela, const TAcaoCenario& acao); // raises ECenario
    void GuardaGrade(QDialog& janela);
    void Fotografa(const QString& momento);

    QString m_arquivo;
    QList<TAcaoCenario> m_acoes;
    QPointer<QDialog> m_janela;
    bool m_mostrada = false;
    QString m_erro;
    QJsonArray m_grade;
    QString m_pastaTelas;
    QString m_prefixoTelas;
    int m_telas = 0;
};
