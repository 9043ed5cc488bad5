#pragma once
// The customer display: a 2 x 20 pole display on a serial device (CD5220
// commands), or, with no device configured, a small window showing the two
// lines (the file Display.txt in the host folder when there is no screen).
#include <QByteArray>
#include <QString>

#include "Wdc00001.h"

constexpr int kDisplayColunas = 20;

// The bytes that clear the display / write text at a line and column (1-based).
QByteArray BytesLimpaDisplay();
QByteArray BytesTextoDisplay(const QString& texto, int linha, int coluna, const QString& pagina);

QString ArquivoDisplay();

Wdc00001::FLimpaDisplay LimpaDisplayTill;
Wdc00001::FDisplayEnviaTexto DisplayEnviaTextoTill;
