#pragma once
// Builds the bytes of an ESC/POS ticket; text is encoded in the printer's code
// page, which the ticket selects right after the printer is reset.
#include <QByteArray>
#include <QString>

class TEscPos {
public:
    // page: "IBM860" (default, Portuguese), "IBM850" or "windows-1252".
    explicit TEscPos(const QString& pagina = QStringLiteral("IBM860"));

    TEscPos& Negrito(bool ligado);
    TEscPos& Duplo(bool ligado); // double width and height
    TEscPos& Texto(const QString& texto);
    TEscPos& Linha(const QString& texto = QString());
    TEscPos& Corta(); // feeds past the cutter, then cuts
    QByteArray Bytes() const { return m_bytes; }

    // The ESC t table number of a code page, -1 when unknown.
    static int TabelaDaPagina(const QString& pagina);
    // Text in a code page; a character it lacks becomes '?'.
    static QByteArray Codifica(const QString& texto, const QString& pagina);
    // The code page of an ESC t table number, empty when unknown.
    static QString PaginaDaTabela(int tabela);
    // What a printer would print from a ticket's bytes: the commands this
    // class writes left out, a cut as a line of dashes, text decoded in the
    // page the ticket selected (IBM860 until it selects one).
    static QString TextoImpresso(const QByteArray& bytes);

private:
    QString m_pagina;
    QByteArray m_bytes;
};
