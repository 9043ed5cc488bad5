#pragma once
// The report's lines and totals as tables for the screen.
#include <QAbstractTableModel>
#include <QList>

#include "Cancelamentos.h"

class TModeloCancelamentos : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetLinhas(const QList<TCancelamento>& linhas);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<TCancelamento> m_linhas;
};

// Totals by one key (reason or operator), titled by it.
class TModeloTotaisCancelamentos : public QAbstractTableModel {
    Q_OBJECT
public:
    TModeloTotaisCancelamentos(QString chave, QObject* parent = nullptr);
    void SetTotais(const QList<TTotalCancelamentos>& totais);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString m_chave;
    QList<TTotalCancelamentos> m_totais;
};
