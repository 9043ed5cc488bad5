#include "EscPos.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace {
constexpr char ESC = 0x1B;
constexpr char GS = 0x1D;
} // namespace

TEscPos::TEscPos(const QString& pagina) : m_pagina(TabelaDaPagina(pagina) < 0 ? QStringLiteral("IBM860") : pagina)
{
    m_bytes.append(ESC).append('@');
    m_bytes.append(ESC).append('t').append(char(TabelaDaPagina(m_pagina)));
}

int TEscPos::TabelaDaPagina(const QString& pagina)
{
    if (pagina == QLatin1String("IBM860"))
        return 3;
    if (pagina == QLatin1String("IBM850"))
        return 2;
    if (pagina == QLatin1String("windows-1252"))
        return 16;
    return -1;
}

QString TEscPos::PaginaDaTabela(int tabela)
{
    for (const char* pagina : {"IBM860", "IBM850", "windows-1252"}) {
        if (TabelaDaPagina(QLatin1String(pagina)) == tabela)
            return QLatin1String(pagina);
    }
    return QString();
}

QString TEscPos::TextoImpresso(const QByteArray& bytes)
{
    QString texto;
    QString pagina = QStringLiteral("IBM860");
    QByteArray trecho;
    const auto descarrega = [&] {
        if (!trecho.isEmpty())
            texto += QStringDecoder(pagina.toLatin1().constData()).decode(trecho);
        trecho.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char b = bytes.at(i);
        const char c = i + 1 < bytes.size() ? bytes.at(i + 1) : '\0';
        if (b == ESC && c == '@') {
            i += 1;
        } else if (b == ESC && c == 't' && i + 2 < bytes.size()) {
            descarrega();
            const QString nova = PaginaDaTabela(quint8(bytes.at(i + 2)));
            if (!nova.isEmpty())
                pagina = nova;
            i += 2;
        } else if ((b == ESC && c == 'E') || (b == GS && c == '!')) {
            i += 2;
        } else if (b == GS && c == 'V') {
            // Function B carries a feed count after the mode.
            i += i + 2 < bytes.size() && quint8(bytes.at(i + 2)) >= 65 ? 3 : 2;
            descarrega();
            texto += QStringLiteral("--------------------------------\n");
        } else {
            trecho.append(b);
        }
    }
    descarrega();
    return texto;
}

QByteArray TEscPos::Codifica(const QString& texto, const QString& pagina)
{
    QByteArray saida;
    QStringEncoder encoder(pagina.toLatin1().constData());
    // Encoded one character at a time so that one the page lacks cannot shift
    // or swallow its neighbours.
    for (qsizetype i = 0; i < texto.size(); ++i) {
        const qsizetype n = texto.at(i).isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QString c = texto.mid(i, n);
        i += n - 1;
        QByteArray b = encoder.isValid() ? QByteArray(encoder.encode(c)) : QByteArray();
        if (!encoder.isValid() || encoder.hasError() || b.isEmpty() || b == "\x1a"
            || (b == "?" && c != QLatin1String("?"))) {
            encoder = QStringEncoder(pagina.toLatin1().constData());
            b = "?";
        }
        saida += b;
    }
    return saida;
}

TEscPos& TEscPos::Negrito(bool ligado)
{
    m_bytes.append(ESC).append('E').append(char(ligado ? 1 : 0));
    return *this;
}

TEscPos& TEscPos::Duplo(bool ligado)
{
    m_bytes.append(GS).append('!').append(char(ligado ? 0x11 : 0x00));
    return *this;
}

TEscPos& TEscPos::Texto(const QString& texto)
{
    m_bytes += Codifica(texto, m_pagina);
    return *this;
}

TEscPos& TEscPos::Linha(const QString& texto)
{
    Texto(texto);
    m_bytes.append('\n');
    return *this;
}

TEscPos& TEscPos::Corta()
{
    m_bytes.append(GS).append('V').append(char(66)).append(char(3));
    return *this;
}
