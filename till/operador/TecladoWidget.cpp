#include "TecladoWidget.h"

#include <QEvent>
#include <QGridLayout>
#include <QLineEdit>
#include <QLocale>

#include "BlendedBitBtn.h"
#include "Toque.h"

TTecladoWidget::TTecladoWidget(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("teclado"));
    auto* grade = new QGridLayout(this);
    grade->setContentsMargins(0, 0, 0, 0);
    grade->setSpacing(6);
    for (int n = 0; n <= 9; ++n) {
        sbtTecla[n] = BotaoToque(QString::number(n), QStringLiteral("sbtTecla%1").arg(n), this);
        connect(sbtTecla[n], &QAbstractButton::clicked, this, [this, n] { Digita(QString::number(n)); });
    }
    // Telephone order would confuse people used to a till's numeric pad.
    for (int n = 1; n <= 9; ++n)
        grade->addWidget(sbtTecla[n], 2 - (n - 1) / 3, (n - 1) % 3);
    sbtVirgula = BotaoToque(QLocale().decimalPoint(), QStringLiteral("sbtVirgula"), this);
    connect(sbtVirgula, &QAbstractButton::clicked, this, [this] { Digita(QLocale().decimalPoint()); });
    grade->addWidget(sbtVirgula, 3, 0);
    grade->addWidget(sbtTecla[0], 3, 1);
    sbtApaga = BotaoToque(QStringLiteral("←"), QStringLiteral("sbtApaga"), this);
    connect(sbtApaga, &QAbstractButton::clicked, this, [this] {
        if (m_alvo)
            m_alvo->backspace();
    });
    grade->addWidget(sbtApaga, 0, 3);
    sbtLimpa = BotaoToque(QStringLiteral("Limpar"), QStringLiteral("sbtLimpa"), this);
    connect(sbtLimpa, &QAbstractButton::clicked, this, [this] {
        if (m_alvo)
            m_alvo->clear();
    });
    grade->addWidget(sbtLimpa, 1, 3);
    SetDecimais(false);
}

void TTecladoWidget::SetAlvos(const QList<QLineEdit*>& alvos)
{
    for (QLineEdit* e : std::as_const(m_alvos))
        e->removeEventFilter(this);
    m_alvos = alvos;
    for (QLineEdit* e : alvos)
        e->installEventFilter(this);
    m_alvo = alvos.value(0);
    // A physical keyboard must type where the on-screen keys do: a PIN typed
    // into the code field would show in clear.
    if (m_alvo)
        m_alvo->setFocus(Qt::OtherFocusReason);
}

void TTecladoWidget::SetDecimais(bool decimais)
{
    // Hidden but keeping its place, so the 0 stays under the 2.
    QSizePolicy p = sbtVirgula->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    sbtVirgula->setSizePolicy(p);
    sbtVirgula->setVisible(decimais);
    sbtVirgula->setEnabled(decimais);
}

bool TTecladoWidget::eventFilter(QObject* objeto, QEvent* evento)
{
    if (evento->type() == QEvent::FocusIn || evento->type() == QEvent::MouseButtonPress) {
        if (auto* e = qobject_cast<QLineEdit*>(objeto); e && m_alvos.contains(e))
            m_alvo = e;
    }
    return QWidget::eventFilter(objeto, evento);
}

void TTecladoWidget::Digita(const QString& texto)
{
    if (!m_alvo)
        return;
    m_alvo->end(false);
    m_alvo->insert(texto);
}
