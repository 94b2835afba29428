#!/usr/bin/env bash
# The template Wine prefix from which every Wine run of our tests starts.
#
#   wine-prefix.sh template   make sure the template exists (make it when missing or made
#                             by another Wine version); print its path
#   wine-prefix.sh rebuild    make the template again
#
# Making it takes about 15 s and happens once; scripts/wine-run.sh then lays a throw-away
# overlay over it for each run. Wine's first start reads the PC's interfaces and opens
# sockets, so the template is made inside a lab of its own (or the one we are already in).
# Concurrent callers wait for one another on a lock file beside the template.
#
# The template differs from a fresh prefix in one way: the dialog font ("MS Shell Dlg" and
# "MS Shell Dlg 2") is substituted by WenQuanYi Micro Hei, so Chinese texts render.
#
# Environment:
#   LUMARO_WINE_TEMPLATE   the template's directory (default: <repository>/build/wine-template)
set -euo pipefail
# A step of this script that fails ends it: say which, so that the failure is never silent.
trap 'echo "wine-prefix.sh: line $LINENO failed (status $?): $BASH_COMMAND" >&2' ERR

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=lib/lab-guard.sh
. "$here/lib/lab-guard.sh"
die() { echo "wine-prefix.sh: $*" >&2; exit 2; }

[ $# -eq 1 ] || die "usage: wine-prefix.sh template|rebuild"
action=$1
case $action in template | rebuild) ;; *) die "unknown action $action" ;; esac

# Never let Wine near the machine's own network namespace.
run_in_own_lab wine-prefix -- "$here/wine-prefix.sh" "$action"

template=${LUMARO_WINE_TEMPLATE:-$(dirname "$here")/build/wine-template}
# Bump the recipe number whenever make_template changes, so old templates are rebuilt.
stamp="$(WINEDEBUG=-all wine --version) recipe 1"
dialog_fonts='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
cjk_font='WenQuanYi Micro Hei'

make_template() {
    local staging="$template.staging" scratch="$template.scratch" log="$template.log"
    rm -rf "$staging" "$scratch"
    mkdir -p "$scratch"
    echo "wine-prefix.sh: making the Wine template prefix $template (once)" >&2
    if ! (
        # TMPDIR holds the wineserver's socket directory; the prefix records its name.
        export WINEPREFIX="$staging" TMPDIR="$scratch" WINEDEBUG=-all \
            WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="
        unset DISPLAY
        wine wineboot --init
        wine reg add "$dialog_fonts" /v "MS Shell Dlg" /d "$cjk_font" /f
        wine reg add "$dialog_fonts" /v "MS Shell Dlg 2" /d "$cjk_font" /f
        # Let the server leave by itself: it writes the registry files on its way out.
        wineserver -w
    ) >"$log" 2>&1; then
        cat "$log" >&2
        rm -rf "$staging" "$scratch"
        die "could not make the template prefix (log: $log)"
    fi
    # Each run starts its own wineserver; the record of this one's socket directory must
    # not be inherited.
    rm -f "$staging/wineserver"
    rm -rf "$scratch"
    echo "$stamp" >"$staging/.lumaro-template"
    mv "$staging" "$template"
}

mkdir -p "$(dirname "$template")"
exec 9>>"$template.lock"
flock 9
made_by=$(cat "$template/.lumaro-template" 2>/dev/null || true)
if [ "$action" = rebuild ] || [ "$made_by" != "$stamp" ]; then
    rm -rf "$template"
    make_template
fi
echo "$template"
