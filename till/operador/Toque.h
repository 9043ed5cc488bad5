#pragma once
// The look shared by the till's operator dialogs: fonts and buttons big enough
// for a finger on a touch screen.
#include <QString>

#include "EstiloCasa.h"

class QDialog;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;
class QWidget;
class TBlendedBitBtn;

// A touch button with its object name (what the tests find it by).
TBlendedBitBtn* BotaoToque(const QString& texto, const QString& nome, QWidget* parent);

// A white, framed dialog with its object name and title: its column, the title on top.
QVBoxLayout* PreparaDialogoToque(QDialog* dialogo, const QString& nome, const QString& titulo);

// "Cancelar" (rejects) and "OK" (the caller connects it) at the foot of a dialog.
QHBoxLayout* BotoesOkCancelar(QDialog* dialogo, TBlendedBitBtn*& ok, TBlendedBitBtn*& cancelar);

// A warning in red, empty until it has something to say, in a place of its own
// that holds that many lines.
QLabel* RotuloAviso(QWidget* parent, int linhas = 2);
