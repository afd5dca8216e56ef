#!/usr/bin/env bash
# Configures and builds one preset: build.sh windows | build.sh native
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows}
cmake --preset "$preset" > /dev/null
cmake --build --preset "$preset"
