#!/usr/bin/env bash
# Fails when a folder of src/ includes a header of a folder its library does not link. All the
# libraries share the include root src/, so the compiler would not notice. The layers are one-way:
# device, platform, ui and recording use none of the others, the log and information windows ui and platform,
# the course window those and recording, the main window all of them.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/../src"

declare -A allowed=(
    [device]=""
    [platform]=""
    [ui]=""
    [logging]="ui platform"
    [info]="ui platform"
    [recording]=""
    [chart]="ui platform recording"
    [main]="device platform ui logging info recording chart"
)

status=0
for folder in */; do
    folder=${folder%/}
    if [[ ! -v allowed[$folder] ]]; then
        echo "check-layers.sh: src/$folder/ has no entry in the table of allowed folders" >&2
        status=1
        continue
    fi
    # Only an include with a folder can leave the folder; "../" could lead anywhere.
    while IFS=: read -r file line text; do
        header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]*)".*/\1/' <<<"$text")
        layer=${header%%/*}
        if [[ $header != *..* && " $folder ${allowed[$folder]} " == *" $layer "* ]]; then
            continue
        fi
        echo "check-layers.sh: src/$file:$line: $folder may not include \"$header\"" >&2
        status=1
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/' "$folder" || true)
done
exit "$status"
