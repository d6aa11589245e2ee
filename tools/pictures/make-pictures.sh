#!/usr/bin/env bash
# Draws the documentation's pictures from the project's own output: the
# percent-to-decibel curve and the reference topology with the controls the
# library holds (from vsmix on the embedded reference machine), and the cost of
# opening against graph size (from the opening instruction counts under
# callgrind). Needs Graphviz (dot), valgrind and Python 3.
# Usage: tools/pictures/make-pictures.sh [BUILD_DIR] [OUTPUT_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../../build/default}
vsmix=$build/vsmix/vsmix
output=${2:-$here/../../docs/pictures}
mkdir -p "$output"
python3 "$here/plot_levels.py" "$vsmix" "$output/percent-to-decibels.svg"
"$vsmix" topology --play 5f3e1d2a --mic 3e7a9c12 --line d4b2e8f1 --dot |
  dot -Tsvg -o "$output/reference-topology.svg"
python3 "$here/plot_opening.py" --program "$build/benchmarks/velmora_opening_instructions" \
  "$output/opening-cost.svg"
echo "pictures written to $output"
