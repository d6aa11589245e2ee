#!/usr/bin/env bash
# Draws the documentation's pictures from vsmix's own output on the embedded
# reference machine: the percent-to-decibel curve and the reference topology
# with the controls the library holds. Needs Graphviz (dot) and Python 3.
# Usage: tools/pictures/make-pictures.sh [VSMIX] [OUTPUT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
vsmix=${1:-$here/../../build/default/vsmix/vsmix}
output=${2:-$here/../../docs/pictures}
mkdir -p "$output"
python3 "$here/plot_levels.py" "$vsmix" "$output/percent-to-decibels.svg"
"$vsmix" topology --play 5f3e1d2a --mic 3e7a9c12 --line d4b2e8f1 --dot |
  dot -Tsvg -o "$output/reference-topology.svg"
echo "pictures written to $output"
