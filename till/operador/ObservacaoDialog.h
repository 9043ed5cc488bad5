#pragma once
// The operator picks the reason a product is cancelled, from the list given.
#include <QDialog>
#include <QList>

#include "MotivosCancelamento.h"

class QLabel;
class QListWidget;
class TBlendedBitBtn;

class TObservacaoDialog : public QDialog {
    Q_OBJECT
public:
    // aviso: a note above the list (where the reasons came from when not the database).
    TObservacaoDialog(const QString& cdProduto, const QString& nmProduto, const QList<TMotivo>& motivos,
                      const QString& aviso, QWidget* parent = nullptr);

    // The reason chosen (after Accepted).
    TMotivo Motivo() const { return m_motivo; }

    QLabel* lblProduto = nullptr;
    QLabel* lblAviso = nullptr;
    QListWidget* lstMotivos = nullptr;
    TBlendedBitBtn* sbtOk = nullptr;
    TBlendedBitBtn* sbtCancelar = nullptr;

private:
    void Confirma();

    QList<TMotivo> m_motivos;
    TMotivo m_motivo;
};
