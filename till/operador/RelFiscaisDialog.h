#pragma once
// The till's fiscal menu. No fiscal printer is driven from this till: an
// entry says so to the operator and leaves a line in the operation log.
#include <QDialog>
#include <QList>

class TBlendedBitBtn;

class TRelFiscaisDialog : public QDialog {
    Q_OBJECT
public:
    explicit TRelFiscaisDialog(QWidget* parent = nullptr);

    // The entries' captions, in menu order.
    static QStringList Entradas();

    QList<TBlendedBitBtn*> sbtEntradas; // named sbtEntrada1, sbtEntrada2, ...
    TBlendedBitBtn* sbtFechar = nullptr;

private:
    void Escolhe(const QString& entrada);
};
