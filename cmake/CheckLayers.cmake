# The layers' rule, checked on every build:
#
#   a server source or a source of the cancellation command (client/comando)
#   that includes a widget header, or a window source that includes a Qt SQL
#   header, does not compile; no include runs back up.
#
# Include directories alone leave holes: Qt's module folders share one root,
# so <QtWidgets/QWidget> or <QtSql/QSqlQuery> compile in any target that links
# Qt Core, and a quoted relative path reaches any file of the tree. This reads
# every #include of the layers' sources, whatever its form, and fails the
# build on one the rule forbids.
#
#   cmake -DKVP_ROOT=<source tree> -DKVP_QT_INCLUDE=<Qt's include root> -P CheckLayers.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT KVP_ROOT OR NOT KVP_QT_INCLUDE)
  message(FATAL_ERROR "CheckLayers: KVP_ROOT and KVP_QT_INCLUDE are required")
endif()

# Which Qt module a header name belongs to. A bare name (<QWidget>,
# <qwidget.h>) counts only when Core and Gui have no header of that name.
foreach(module QtCore QtGui QtWidgets QtSql)
  file(GLOB names RELATIVE "${KVP_QT_INCLUDE}/${module}" "${KVP_QT_INCLUDE}/${module}/*")
  set(qt_${module} ${names})
endforeach()
if(NOT qt_QtWidgets OR NOT qt_QtSql)
  message(FATAL_ERROR "CheckLayers: no Qt Widgets or Qt SQL headers under ${KVP_QT_INCLUDE}")
endif()

function(qt_module_of name out)
  set(module "")
  if(name MATCHES "^(Qt[A-Za-z]+)(/|$)")
    set(module "${CMAKE_MATCH_1}")
  elseif(NOT name MATCHES "/")
    foreach(candidate QtWidgets QtSql)
      if(name IN_LIST qt_${candidate} AND NOT name IN_LIST qt_QtCore AND NOT name IN_LIST qt_QtGui)
        set(module ${candidate})
      endif()
    endforeach()
  endif()
  set(${out} "${module}" PARENT_SCOPE)
endfunction()

# The layers, most specific folder first: name=folder.
set(layers
  "toolkit_gui=toolkit/gui/"
  "toolkit=toolkit/"
  "dll_widgets=host/dll/widgets/"
  "dll=host/dll/data/"
  "scripted_host=host/scripted/"
  "wdc=host/"
  "server=server/"
  "comando=client/comando/"
  "client=client/"
  "package=package/"
  "till_terminal=till/terminal/"
  "till_dados=till/dados/"
  "till=till/")

function(layer_of path out)
  set(found "")
  foreach(entry IN LISTS layers)
    string(REPLACE "=" ";" entry "${entry}")
    list(GET entry 0 name)
    list(GET entry 1 folder)
    string(FIND "${path}" "${folder}" at)
    if(at EQUAL 0)
      set(found ${name})
      break()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()

# What each layer may not include: Qt modules, then the project's layers
# (a widget layer counts as a widget header, the database access headers of
# the toolkit as Qt SQL). The till's windows ("till": every folder of till/
# but its data and its terminal files) read the database only through
# till/dados.
set(no_widgets QtWidgets toolkit_gui dll_widgets client)
set(up_from_toolkit dll dll_widgets scripted_host wdc server comando client package till till_terminal till_dados)
set(forbid_toolkit ${no_widgets} ${up_from_toolkit})
set(forbid_toolkit_gui QtSql toolkit_sql ${up_from_toolkit})
set(forbid_dll ${no_widgets} comando scripted_host server package till till_terminal till_dados)
set(forbid_wdc ${no_widgets} comando dll scripted_host server package till till_terminal till_dados)
set(forbid_dll_widgets QtSql toolkit_sql comando scripted_host server client package till till_terminal till_dados)
set(forbid_scripted_host QtSql toolkit_sql comando server client package till till_terminal till_dados)
set(forbid_server ${no_widgets} comando scripted_host package till till_terminal till_dados)
set(forbid_client QtSql toolkit_sql server_data scripted_host package till till_terminal till_dados)
# The command runs without a window (a cancel-all call): no widget, and no
# include of the window that holds it.
set(forbid_comando ${no_widgets} QtSql toolkit_sql server_data scripted_host package till till_terminal till_dados)
set(forbid_package scripted_host till till_terminal till_dados)
set(forbid_till_terminal ${no_widgets} comando QtSql toolkit_sql server server_data scripted_host package till till_dados)
set(forbid_till_dados ${no_widgets} comando server scripted_host package till)
set(forbid_till QtSql toolkit_sql server server_data client comando)

file(GLOB_RECURSE sources RELATIVE "${KVP_ROOT}"
  "${KVP_ROOT}/toolkit/*.h" "${KVP_ROOT}/toolkit/*.cpp"
  "${KVP_ROOT}/host/*.h" "${KVP_ROOT}/host/*.cpp"
  "${KVP_ROOT}/server/*.h" "${KVP_ROOT}/server/*.cpp"
  "${KVP_ROOT}/client/*.h" "${KVP_ROOT}/client/*.cpp"
  "${KVP_ROOT}/package/*.h" "${KVP_ROOT}/package/*.cpp"
  "${KVP_ROOT}/till/*.h" "${KVP_ROOT}/till/*.cpp")

# A project header's layer; the toolkit's database access headers and the
# server's statements and schema are layers of their own as headers.
function(header_layer path out)
  if(path MATCHES "^toolkit/ado/")
    set(${out} toolkit_sql PARENT_SCOPE)
  elseif(path MATCHES "^server/(statements|schema|dbinit)/")
    set(${out} server_data PARENT_SCOPE)
  else()
    layer_of("${path}" layer)
    set(${out} "${layer}" PARENT_SCOPE)
  endif()
endfunction()

# The project file a "name" or <name> include reaches: beside the source
# first, as the compiler looks; otherwise any file of the tree ending in it.
# Several candidates in different layers: the include directories decide, so
# only a name that reaches forbidden layers alone is reported.
function(resolve source name out)
  get_filename_component(dir "${source}" DIRECTORY)
  get_filename_component(beside "${KVP_ROOT}/${dir}/${name}" ABSOLUTE)
  if(EXISTS "${beside}" AND NOT IS_DIRECTORY "${beside}")
    file(RELATIVE_PATH rel "${KVP_ROOT}" "${beside}")
    set(${out} "${rel}" PARENT_SCOPE)
    return()
  endif()
  set(matches "")
  foreach(candidate IN LISTS sources)
    if(candidate STREQUAL name OR candidate MATCHES "/${name_regex}$")
      list(APPEND matches "${candidate}")
    endif()
  endforeach()
  set(${out} "${matches}" PARENT_SCOPE)
endfunction()

set(failures "")
foreach(source IN LISTS sources)
  layer_of("${source}" layer)
  set(forbidden ${forbid_${layer}})
  if(NOT forbidden)
    continue()
  endif()
  file(STRINGS "${KVP_ROOT}/${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      continue()
    endif()
    set(name "${CMAKE_MATCH_1}")
    qt_module_of("${name}" module)
    if(module)
      if(module IN_LIST forbidden)
        list(APPEND failures "${source}: ${layer} may not include <${name}> (${module})")
      endif()
      continue()
    endif()
    string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" name_regex "${name}")
    resolve("${source}" "${name}" targets)
    if(NOT targets)
      continue()
    endif()
    set(allowed FALSE)
    set(reached "")
    foreach(target IN LISTS targets)
      header_layer("${target}" target_layer)
      if(target_layer IN_LIST forbidden)
        list(APPEND reached "${target} (${target_layer})")
      else()
        set(allowed TRUE)
      endif()
    endforeach()
    if(NOT allowed)
      list(JOIN reached ", " reached)
      list(APPEND failures "${source}: ${layer} may not include \"${name}\": ${reached}")
    endif()
  endforeach()
endforeach()

if(failures)
  list(JOIN failures "\n  " text)
  message(FATAL_ERROR "Includes across the layers:\n  ${text}")
endif()
