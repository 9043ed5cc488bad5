#include "CapturaTela.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "PastaCaixa.h"

CapturaTela::CapturaTela(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool CapturaTela::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if (widget->isWindow() && !m_vistas.contains(widget)) {
            m_vistas.insert(widget);
            connect(widget, &QObject::destroyed, this, [this, widget] { m_vistas.remove(widget); });
            QPointer<QWidget> alvo(widget);
            // Let the window finish its own show handling and first paint.
            QTimer::singleShot(300, this, [this, alvo] {
                if (alvo && alvo->isVisible())
                    Captura(alvo);
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void CapturaTela::Captura(QWidget* window)
{
    const QString nome = window->objectName().isEmpty() ? QStringLiteral("janela") : window->objectName();
    const QString path = PastaCaixa() + QStringLiteral("/tela-%1-%2.png").arg(++m_numero).arg(nome);
    if (window->grab().save(path, "PNG"))
        std::printf("Tela gravada em %s\n", qPrintable(path));
    else
        std::fprintf(stderr, "Não foi possível gravar %s\n", qPrintable(path));
    std::fflush(stdout);
    window->close();
}
