#!/usr/bin/env bash
# Starts the program on a demonstration set-up of its own under the build tree,
# unless the caller already chose folders through the environment.
set -euo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
demo="$build/demo"
export VELTRONA_CONFIG_DIR=${VELTRONA_CONFIG_DIR:-$demo/config}
export VELTRONA_SYSTEM_DIR=${VELTRONA_SYSTEM_DIR:-$demo/system}
mkdir -p "$VELTRONA_CONFIG_DIR" "$VELTRONA_SYSTEM_DIR"
exec "$build/veltrona" --demo "$demo"
