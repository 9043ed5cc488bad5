# The layer check on a small tree of its own: each forbidden include form
# must fail it, and a layer's allowed includes must pass.
#
#   cmake -DKVP_CHECK=<CheckLayers.cmake> -DKVP_QT_INCLUDE=<Qt's include root> -DKVP_WORK=<scratch folder> -P ...
cmake_minimum_required(VERSION 3.25)

set(tree "${KVP_WORK}/layers-tree")
set(failed "")

# check(EXPECT source-path line...): EXPECT is PASS or FAIL.
function(check expect source)
  file(REMOVE_RECURSE "${tree}")
  file(WRITE "${tree}/client/FrmCancelaProd.h" "#pragma once\n")
  file(WRITE "${tree}/server/Srv_kvp00917.h" "#pragma once\n")
  file(WRITE "${tree}/server/RdmCancelaProd.h" "#pragma once\n")
  file(WRITE "${tree}/server/statements/StatementHelpers.h" "#pragma once\n")
  file(WRITE "${tree}/toolkit/ado/ADO.h" "#pragma once\n")
  file(WRITE "${tree}/toolkit/Exception.h" "#pragma once\n")
  file(WRITE "${tree}/host/dll/widgets/Mensagem.h" "#pragma once\n")
  file(WRITE "${tree}/server/statements/ocorrencias/OcorrenciasSql.h" "#pragma once\n")
  file(WRITE "${tree}/till/dados/PedidosAbertos.h" "#pragma once\n")
  file(WRITE "${tree}/till/terminal/ArquivosDemo.h" "#pragma once\n")
  file(WRITE "${tree}/till/JanelaPedidos.h" "#pragma once\n")
  list(JOIN ARGN "\n" text)
  file(WRITE "${tree}/${source}" "${text}\n")
  execute_process(COMMAND "${CMAKE_COMMAND}" -DKVP_ROOT=${tree} -DKVP_QT_INCLUDE=${KVP_QT_INCLUDE} -P "${KVP_CHECK}"
                  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(expect STREQUAL "PASS" AND NOT rc EQUAL 0)
    set(failed "${failed}\n${source} [${ARGN}] should pass:\n${out}" PARENT_SCOPE)
  elseif(expect STREQUAL "FAIL" AND rc EQUAL 0)
    set(failed "${failed}\n${source} [${ARGN}] should fail" PARENT_SCOPE)
  elseif(expect STREQUAL "FAIL" AND NOT out MATCHES "Includes across the layers")
    set(failed "${failed}\n${source} [${ARGN}] failed for another reason:\n${out}" PARENT_SCOPE)
  endif()
endfunction()

# A server source and widgets, in every form.
check(FAIL server/A.cpp "#include <QtWidgets/QWidget>")
check(FAIL server/A.cpp "#include <QWidget>")
check(FAIL server/A.cpp "#include <qpushbutton.h>")
check(FAIL server/A.cpp "#include <QtWidgets>")
check(FAIL server/statements/A.cpp "  #  include \"QtWidgets/qdialog.h\"")
check(FAIL server/A.cpp "#include \"FrmCancelaProd.h\"")
check(FAIL server/A.cpp "#include \"../client/FrmCancelaProd.h\"")
check(FAIL host/dll/data/A.cpp "#include \"Mensagem.h\"")
# The command and widgets, the window that holds it, or Qt SQL.
check(FAIL client/comando/A.cpp "#include <QtWidgets/QWidget>")
check(FAIL client/comando/A.h "#include <QDialog>")
check(FAIL client/comando/A.cpp "#include \"Mensagem.h\"")
check(FAIL client/comando/A.cpp "#include \"FrmCancelaProd.h\"")
check(FAIL client/comando/A.cpp "#include \"../FrmCancelaProd.h\"")
check(FAIL client/comando/A.cpp "#include <QSqlQuery>")
# A window source and Qt SQL or the database access headers.
check(FAIL client/A.cpp "#include <QtSql/QSqlQuery>")
check(FAIL client/A.cpp "#include <QSqlDatabase>")
check(FAIL client/A.h "#include <qsqlquery.h>")
check(FAIL client/A.cpp "#include \"ado/ADO.h\"")
check(FAIL client/A.cpp "#include \"../toolkit/ado/ADO.h\"")
check(FAIL host/dll/widgets/A.cpp "#include <QSqlError>")
check(FAIL client/A.cpp "#include \"statements/StatementHelpers.h\"")
# A till window and Qt SQL, the database access headers or the statements.
check(FAIL till/A.cpp "#include <QtSql/QSqlQuery>")
check(FAIL till/A.cpp "#include <QSqlDatabase>")
check(FAIL till/operador/A.h "#include <qsqlquery.h>")
check(FAIL till/relatorio/A.cpp "#include <QtSql>")
check(FAIL till/servicos/A.cpp "#include \"ado/ADO.h\"")
check(FAIL till/A.cpp "#include \"../toolkit/ado/ADO.h\"")
check(FAIL till/operador/A.cpp "#include \"OcorrenciasSql.h\"")
check(FAIL till/relatorio/A.cpp "#include \"RdmCancelaProd.h\"")
# The till's data and widgets; its terminal files and either.
check(FAIL till/dados/A.cpp "#include <QtWidgets/QWidget>")
check(FAIL till/dados/A.cpp "#include \"Mensagem.h\"")
check(FAIL till/dados/A.cpp "#include \"JanelaPedidos.h\"")
check(FAIL till/terminal/A.cpp "#include <QSqlQuery>")
check(FAIL till/terminal/A.cpp "#include \"PedidosAbertos.h\"")
# Runs back up.
check(FAIL toolkit/A.cpp "#include \"RdmCancelaProd.h\"")
check(FAIL host/dll/data/A.cpp "#include \"ArquivosDemo.h\"")
# What the layers may include.
check(PASS server/A.cpp "#include <QSqlQuery>" "#include <QtCore/QString>" "#include <QImage>" "#include \"ado/ADO.h\""
      "#include \"Exception.h\"" "#include <vector>")
check(PASS client/A.cpp "#include <QWidget>" "#include <QtWidgets/QDialog>" "#include \"Srv_kvp00917.h\""
      "#include \"Mensagem.h\"" "#include \"Exception.h\"")
check(PASS till/dados/A.cpp "#include <QSqlQuery>" "#include <QtSql/QSqlError>" "#include \"ado/ADO.h\""
      "#include \"OcorrenciasSql.h\"" "#include \"ArquivosDemo.h\"" "#include \"Exception.h\"")
check(PASS till/A.cpp "#include <QWidget>" "#include \"Mensagem.h\"" "#include \"PedidosAbertos.h\""
      "#include \"ArquivosDemo.h\"")
check(PASS client/comando/A.cpp "#include <QString>" "#include \"Srv_kvp00917.h\"" "#include \"Exception.h\"")

file(REMOVE_RECURSE "${tree}")
if(failed)
  message(FATAL_ERROR "The layer check judged wrongly:${failed}")
endif()
