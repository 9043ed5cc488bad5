#pragma once
// Without a screen nobody can answer a window: every window the call opens is
// photographed once it is up (a PNG in the till's folder, its path printed)
// and then closed, so the call runs to its end.
#include <QObject>
#include <QSet>

class CapturaTela : public QObject {
    Q_OBJECT
public:
    explicit CapturaTela(QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Captura(QWidget* window);

    QSet<QObject*> m_vistas;
    int m_numero = 0;
};
