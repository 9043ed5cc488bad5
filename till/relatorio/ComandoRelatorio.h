#pragma once
// till --report: the cancellation report on the terminal or into a CSV file.
#include <QDate>
#include <QString>
#include <QStringList>

// For the till's --help.
inline constexpr const char* kUsoRelatorio
    = "     till --report [--from DATA] [--to DATA] [--csv ARQUIVO]\n"
      "--report lista os cancelamentos de produto do banco (data e hora, comanda e mesa, produto,\n"
      "  quantidade, valor, operador, autorizador e motivo) com os totais por motivo e por operador.\n"
      "  --from e --to limitam o período (os dois dias entram; sem um deles o período fica aberto\n"
      "  daquele lado); a DATA vai como 08/12/2026 ou 2026-12-08. Com --csv grava as linhas em\n"
      "  ARQUIVO para planilha (';' entre campos, vírgula decimal, UTF-8) em vez de mostrá-las.\n"
      "  Saída 0: relatório feito, também sem cancelamentos; 1: banco ou arquivo com erro;\n"
      "  2: opção ou data inválida.\n";

// A day typed by the operator: in the locale's short form (08/12/2026 in
// Brazilian Portuguese) or as 2026-12-08. A null date when it is neither.
QDate LeDataDigitada(const QString& texto);

// Runs the report for the arguments after --report (a leading "--report" is
// skipped); returns the exit code: 0 done, 1 database or file failure, 2 bad
// option or date (with a Portuguese message on standard error).
int ExecutaRelatorio(const QStringList& args);
