#pragma once
// The till's screen of the cancellation report: the days to look at, the
// cancelled lines, the totals by reason and by operator, and the export to a
// spreadsheet file. Sized for a touch screen.
#include <QDialog>

#include "Cancelamentos.h"
#include "ModelosRelatorio.h"

class QCheckBox;
class QDateEdit;
class QLabel;
class QTableView;
class TBlendedBitBtn;

class JanelaRelatorio : public QDialog {
    Q_OBJECT
public:
    // Opens on today's cancellations.
    explicit JanelaRelatorio(QWidget* parent = nullptr);

    // The days chosen; a side left unticked is open (null date).
    void SetPeriodo(const QDate& de, const QDate& ate);
    // Reads the cancellations of the chosen days again; a failure is shown on
    // the screen, with the lines cleared.
    void Atualiza();
    // Writes the report on the screen to a CSV file; the outcome is shown.
    bool ExportaCsv(const QString& arquivo);

    const TRelatorioCancelamentos& Relatorio() const { return m_relatorio; }
    QString Aviso() const; // what the screen says under the tables

private:
    void EscolheArquivoCsv();
    void MostraAviso(const QString& texto, bool erro);

    QCheckBox* chkDe;
    QDateEdit* edtDe;
    QCheckBox* chkAte;
    QDateEdit* edtAte;
    QTableView* grdLinhas;
    QTableView* grdMotivos;
    QTableView* grdOperadores;
    QLabel* lblTotalGeral;
    QLabel* lblAviso;
    TBlendedBitBtn* sbtConsultar;
    TBlendedBitBtn* sbtExportar;
    TBlendedBitBtn* sbtFechar;
    TModeloCancelamentos* m_linhas;
    TModeloTotaisCancelamentos* m_motivos;
    TModeloTotaisCancelamentos* m_operadores;
    TRelatorioCancelamentos m_relatorio;
};

// Opens the report screen over the till's window and waits until it is closed.
void AbreRelatorioCancelamentos(QWidget* parent);
