#!/usr/bin/env bash
# The install tree, staged in a scratch folder (DESTDIR) as a package would
# lay it out under /usr: every file in its place, the programs find their
# libraries and the package from there, the till lists the demo database's
# orders and plays an installed example scenario, and nothing is written
# under the prefix: the terminal's files go to the installation's folder.
#
#   instalacao.sh BUILD
set -euo pipefail
BUILD="$1"
T="$(mktemp -d /tmp/kvp-instalacao.XXXXXX)"
trap 'rm -rf "$T"' EXIT
falha() { echo "FALHOU: $*" >&2; exit 1; }
trap 'echo "FALHOU na linha $LINENO: $BASH_COMMAND" >&2' ERR

DESTDIR="$T/raiz" cmake --install "$BUILD" --prefix /usr >"$T/install.log" 2>&1 || { cat "$T/install.log" >&2; falha "cmake --install"; }
R="$T/raiz/usr"
[ "$(ls "$T/raiz")" = "usr" ] || falha "instalou fora do prefixo: $(ls "$T/raiz")"
for f in bin/till bin/kvp-dbinit bin/kvp-impressora-local \
         lib/kvp/libpkg_kvp00917.so lib/kvp/lib_dll.so lib/kvp/lib_dll_widgets.so lib/kvp/libtoolkit.so \
         lib/kvp/libtoolkit_gui.so lib/kvp/libWdc00001.so lib/kvp/libWdc00002.so \
         share/kvp/scenarios/cancela-feijoada.json share/kvp/scenarios/demo-1-inteiro.json \
         share/kvp/kvp.ini.exemplo share/applications/kvp-caixa.desktop; do
    [ -f "$R/$f" ] || falha "falta $f"
done
[ "$(ls "$R/bin")" = "$(printf 'kvp-dbinit\nkvp-impressora-local\ntill')" ] || falha "bin/ tem mais que os programas: $(ls "$R/bin")"
for f in "$R"/bin/* "$R"/lib/kvp/*.so; do
    if readelf -d "$f" | grep -E 'R(UN)?PATH' | grep -qF "$BUILD"; then
        falha "$f procura bibliotecas na pasta do build"
    fi
done

# Only the staged programs: no build tree, no library path, no display.
roda() {
    env -i HOME="$T/casa" PATH=/usr/bin:/bin QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 "$@"
}
antes="$(cd "$T/raiz" && find . | sort)"

PASTA="$T/casa/.local/share/kvp"
roda "$R/bin/till" --write-demo-files || falha "till --write-demo-files"
[ -f "$PASTA/PARAMETROSQRV.CDS" ] || falha "os arquivos do terminal não foram para $PASTA"
roda "$R/bin/kvp-dbinit" "$PASTA/kvp-demo.db" --demo >/dev/null || falha "kvp-dbinit --demo"

# The list of open orders: the same picture as the build's till draws of the
# same database, and not the one of a database without orders.
roda "$R/bin/till" 2>"$T/lista.err" || { cat "$T/lista.err" >&2; falha "till (pedidos abertos)"; }
[ -f "$PASTA/tela-1-frmPedidos.png" ] || falha "a lista não foi gravada em $PASTA"
mkdir -p "$T/build-pasta" "$T/vazio"
cp "$PASTA/PARAMETROSQRV.CDS" "$T/build-pasta/"
roda KVP_PASTA="$T/build-pasta" KVP_DATABASE="$PASTA/kvp-demo.db" "$BUILD/bin/till" 2>/dev/null || falha "till do build"
cmp -s "$PASTA/tela-1-frmPedidos.png" "$T/build-pasta/tela-1-frmPedidos.png" \
    || falha "a lista do till instalado difere da do build no mesmo banco"
cp "$PASTA/PARAMETROSQRV.CDS" "$T/vazio/"
roda "$R/bin/kvp-dbinit" "$T/vazio/kvp-demo.db" >/dev/null || falha "kvp-dbinit (vazio)"
roda KVP_PASTA="$T/vazio" "$R/bin/till" 2>/dev/null || falha "till (banco vazio)"
! cmp -s "$PASTA/tela-1-frmPedidos.png" "$T/vazio/tela-1-frmPedidos.png" || falha "a lista não mostra os pedidos do banco"

# An installed example scenario, played by the installed till and package.
roda "$R/bin/till" --scenario "$R/share/kvp/scenarios/cancela-feijoada.json" --record "$T/registro.json" \
    2>"$T/cenario.err" || { cat "$T/cenario.err" >&2; falha "till --scenario"; }
[ "$(jq -r .outcome.ended "$T/registro.json")" = "concluido" ] || falha "o cenário terminou $(jq -c .outcome "$T/registro.json")"
[ "$(jq '.grid | length' "$T/registro.json")" -gt 0 ] || falha "a grade do cenário veio vazia"
estado="$(sqlite3 "$PASTA/kvp-demo.db" "SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRCOMANDA = '1010' AND NRPRODCOMVEN = '000007'")"
[ "$estado" = "6" ] || falha "o item do cenário não foi cancelado (estado $estado)"

[ "$(cd "$T/raiz" && find . | sort)" = "$antes" ] || falha "os programas gravaram dentro do prefixo"
echo "instalação: ok"
