#!/usr/bin/env bash
# Starts the program on a demonstration set-up of its own under the build tree,
# unless the caller already chose folders through the environment.
set -euo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
demo="$build/demo"
own_config=${VELTRONA_CONFIG_DIR:-}
export VELTRONA_CONFIG_DIR=${VELTRONA_CONFIG_DIR:-$demo/config}
export VELTRONA_SYSTEM_DIR=${VELTRONA_SYSTEM_DIR:-$demo/system}
mkdir -p "$VELTRONA_CONFIG_DIR" "$VELTRONA_SYSTEM_DIR"
# The demonstration's own config folder follows the language file of the
# source tree, so texts added since an earlier run show there too.
shipped_lang="$(cd "$(dirname "$0")/.." && pwd)/lang/VELTRONA_LANG.ini"
if [ -z "$own_config" ] && [ -f "$shipped_lang" ] && [ "$shipped_lang" -nt "$VELTRONA_CONFIG_DIR/VELTRONA_LANG.ini" ]; then
    cp "$shipped_lang" "$VELTRONA_CONFIG_DIR/VELTRONA_LANG.ini"
fi
exec "$build/veltrona" --demo "$demo"
