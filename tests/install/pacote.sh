#!/usr/bin/env bash
# The Debian package as scripts/package makes it: it builds, holds the
# install tree under /usr and nothing else, and depends on Qt's runtime and
# its SQLite and PostgreSQL drivers.
#
#   pacote.sh BUILD
set -euo pipefail
BUILD="$1"
T="$(mktemp -d /tmp/kvp-pacote.XXXXXX)"
trap 'rm -rf "$T"' EXIT
falha() { echo "FALHOU: $*" >&2; exit 1; }
trap 'echo "FALHOU na linha $LINENO: $BASH_COMMAND" >&2' ERR

cpack -G DEB --config "$BUILD/CPackConfig.cmake" -B "$T" >"$T/cpack.log" 2>&1 || { cat "$T/cpack.log" >&2; falha "cpack"; }
deb="$(ls "$T"/*.deb)"
dpkg-deb --contents "$deb" | awk '{ print $NF }' >"$T/conteudo"
for f in ./usr/bin/till ./usr/bin/kvp-dbinit ./usr/bin/kvp-impressora-local ./usr/lib/kvp/libpkg_kvp00917.so \
         ./usr/lib/kvp/lib_dll.so ./usr/share/kvp/scenarios/cancela-feijoada.json \
         ./usr/share/applications/kvp-caixa.desktop; do
    grep -qxF "$f" "$T/conteudo" || falha "o pacote não tem $f"
done
if grep -v '^\./usr/' "$T/conteudo" | grep -qv '^\./$'; then
    falha "o pacote instala fora de /usr: $(grep -v '^\./usr/' "$T/conteudo" | tr '\n' ' ')"
fi
depends="$(dpkg-deb -f "$deb" Depends)"
for p in libqt6core6 libqt6widgets6 libqt6sql6 libqt6sql6-sqlite libqt6sql6-psql qt6-translations-l10n; do
    echo "$depends" | grep -qE "(^|, )$p( |,|$)" || falha "o pacote não depende de $p: $depends"
done
echo "pacote: ok ($deb)"
