#pragma once
// The look shared by the till's operator dialogs: fonts and buttons big enough
// for a finger on a touch screen.
#include <QFont>
#include <QString>

class QWidget;
class TBlendedBitBtn;

QFont FonteToque(int pixels, bool negrito = false);

// A touch button with its object name (what the tests find it by).
TBlendedBitBtn* BotaoToque(const QString& texto, const QString& nome, QWidget* parent);

// A white dialog with its object name and title.
void PreparaDialogoToque(QWidget* dialogo, const QString& nome, const QString& titulo);
