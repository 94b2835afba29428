#!/usr/bin/env bash
# Every include of the project's own headers points down the layers, never up:
#   app -> workflow -> link -> platform, with texts/ below all three; cli/ uses workflow and
#   link; sim/ and scripted/ stand beside them on link and platform; the window's
#   resources/ belong to app/ alone.
#   layering_test.sh SOURCE_DIR
set -euo pipefail
top=${1:?usage: layering_test.sh SOURCE_DIR}
cd "$top"
declare -A allowed=(
    [texts]="texts"
    [platform]="platform"
    [link]="link platform"
    [workflow]="workflow link platform texts"
    [cli]="cli workflow link platform texts"
    [app]="app workflow link platform texts resources"
    [resources]="resources texts"
    [sim]="sim link platform"
    [scripted]="scripted link platform"
)
status=0
for folder in "${!allowed[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        [[ $line =~ \#[[:space:]]*include[[:space:]]*\"([^/\"]+)/ ]] || continue
        target=${BASH_REMATCH[1]}
        if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
            echo "layering: $line (a file of $folder/ may include only ${allowed[$folder]})" >&2
            status=1
        fi
    done < <(grep -rnE '^\s*#\s*include "[^/"]+/' "$folder" \
                 --include='*.h' --include='*.cpp' --include='*.rc' || true)
done
[ $status = 0 ] && echo "layering: every include points down the layers"
exit $status
